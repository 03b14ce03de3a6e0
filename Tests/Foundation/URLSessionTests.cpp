#include "Platform/Foundation/HTTPURLResponse.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/URLSession.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace Foundation;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;

namespace {

// Keeps every load until the test answers it.
class HeldTransport : public URLSessionTransport {
public:
    void load(const URLRequest& request, Completion completion) override
    {
        std::lock_guard lock(m_mutex);
        requests.push_back(request);
        completions.push_back(std::move(completion));
    }
    std::vector<URLRequest> requests;
    std::vector<Completion> completions;

protected:
    friend Construct;
    HeldTransport() = default;

private:
    std::mutex m_mutex;
};

struct Answer {
    std::optional<Data> data;
    std::shared_ptr<URLResponse> response;
    ErrorPtr error;
};

URL exampleURL()
{
    return *URL::string("https://example.com/items");
}

} // namespace

TEST(URLSession, ATaskLoadsOnceItIsResumedAndOnlyOnce)
{
    auto transport = make<HeldTransport>();
    auto session = make<URLSession>(transport, OperationQueue::main());
    std::vector<Answer> answers;
    auto record = [&](std::optional<Data> data, std::shared_ptr<URLResponse> response, ErrorPtr error) {
        answers.push_back({std::move(data), std::move(response), std::move(error)});
    };
    auto task = session->dataTask(URLRequest(exampleURL()), record);
    EXPECT_TRUE(transport->requests.empty());

    task->resume();
    task->resume();
    ASSERT_EQ(transport->requests.size(), 1u);
    EXPECT_EQ(transport->requests[0].timeoutInterval(), 60.0);

    auto response = make<HTTPURLResponse>(exampleURL(), 200);
    transport->completions[0](Data::fromString("body"), response, nullptr);
    transport->completions[0](Data::fromString("again"), response, nullptr); // a second answer is dropped
    EXPECT_TRUE(answers.empty());
    runMainLoopUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].data, Data::fromString("body"));
    EXPECT_EQ(answers[0].response, response);
}

TEST(URLSession, ALoadWithoutAnAnswerTimesOutAndALateAnswerIsDropped)
{
    auto transport = make<HeldTransport>();
    auto session = make<URLSession>(transport, OperationQueue::main());
    std::vector<Answer> answers;
    auto task = session->dataTask(URLRequest(exampleURL(), URLRequest::CachePolicy::useProtocolCachePolicy, 5),
                                  [&](std::optional<Data> data, std::shared_ptr<URLResponse> response, ErrorPtr error) {
                                      answers.push_back({std::move(data), std::move(response), std::move(error)});
                                  });
    task->resume();
    advanceClock(4.9);
    EXPECT_TRUE(answers.empty());
    advanceClock(0.1);
    runMainLoopUntilIdle();
    ASSERT_EQ(answers.size(), 1u);
    ASSERT_NE(answers[0].error, nullptr);
    EXPECT_EQ(answers[0].error->domain(), NSURLErrorDomain);
    EXPECT_EQ(answers[0].error->code(), NSURLErrorTimedOut);

    transport->completions[0](Data::fromString("late"), make<HTTPURLResponse>(exampleURL(), 200), nullptr);
    runMainLoopUntilIdle();
    EXPECT_EQ(answers.size(), 1u);
}
