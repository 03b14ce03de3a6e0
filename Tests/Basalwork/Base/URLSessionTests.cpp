#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/URLSession.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/HTTPURLResponse.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace Basalwork;
using Foundation::Data;
using Foundation::make;
using Foundation::Result;
using Foundation::URL;
using Foundation::URLRequest;
using TestSupport::runMainLoopUntilIdle;

namespace {

// Answers every load at once with what the test set.
class CannedTransport : public Foundation::URLSessionTransport {
public:
    void load(const URLRequest& request, Completion completion) override
    {
        {
            std::lock_guard lock(m_mutex);
            requests.push_back(request);
        }
        completion(data, response, error);
    }
    std::optional<Data> data;
    std::shared_ptr<Foundation::URLResponse> response;
    Foundation::ErrorPtr error;
    std::vector<URLRequest> requests;

protected:
    friend Foundation::Construct;
    CannedTransport() = default;

private:
    std::mutex m_mutex;
};

URL itemsURL()
{
    return *URL::string("https://example.com/items");
}

class URLSessionTest : public testing::Test {
protected:
    void answer(std::optional<std::int64_t> status, std::optional<Data> body, Foundation::ErrorPtr error = nullptr)
    {
        m_transport->response = status ? make<Foundation::HTTPURLResponse>(itemsURL(), *status) : nullptr;
        m_transport->data = std::move(body);
        m_transport->error = std::move(error);
    }
    Data load() { return performDataTaskSynchronously(*m_session, URLRequest(itemsURL())); }
    std::string failureMessage()
    {
        try {
            load();
        } catch (const GeneralError& error) {
            if (auto failed = error.as<GeneralError::FailedWithMessage>())
                return failed->message.utf8();
        }
        return "(no message)";
    }

    std::shared_ptr<CannedTransport> m_transport = make<CannedTransport>();
    std::shared_ptr<Foundation::URLSession> m_session = make<Foundation::URLSession>(m_transport);
};

} // namespace

TEST_F(URLSessionTest, AnySuccessfulStatusWithABodyGivesTheBody)
{
    answer(204, Data());
    EXPECT_EQ(load(), Data());
    answer(299, Data::fromString("items"));
    EXPECT_EQ(load(), Data::fromString("items"));
}

TEST_F(URLSessionTest, TheKitsOwnFailuresSayWhatWasWrong)
{
    answer(304, Data::fromString("cached"));
    EXPECT_EQ(failureMessage(), "Non-200 http status code received: 304");
    answer(199, Data());
    EXPECT_EQ(failureMessage(), "Non-200 http status code received: 199");
    answer(std::nullopt, Data::fromString("body"));
    EXPECT_EQ(failureMessage(), "Failed to access response as httpResponse");
    m_transport->response = make<Foundation::URLResponse>(itemsURL());
    EXPECT_EQ(failureMessage(), "Failed to access response as httpResponse");
    answer(200, std::nullopt);
    EXPECT_EQ(failureMessage(), "Failed to access data in response.");
}

TEST_F(URLSessionTest, ATransportErrorWinsOverAResponse)
{
    auto offline = std::make_shared<Foundation::NSError>(Foundation::NSURLErrorDomain, Foundation::NSURLErrorNotConnectedToInternet);
    answer(500, Data::fromString("error page"), offline);
    try {
        load();
        FAIL() << "expected the transport's error";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.domain(), Foundation::NSURLErrorDomain);
        EXPECT_EQ(error.code(), Foundation::NSURLErrorNotConnectedToInternet);
    }
}

TEST_F(URLSessionTest, ATaskForAURLWaitsForResumeThenDeliversOnTheHandlersQueue)
{
    answer(200, Data::fromString("items"));
    auto session = make<Foundation::URLSession>(m_transport, Foundation::OperationQueue::main());
    std::vector<Result<Data>> results;
    auto task = dataTask(*session, itemsURL(), ResultHandler<Result<Data>>(Foundation::DispatchQueue::main(), [&](Result<Data> result) {
        results.push_back(std::move(result));
    }));
    runMainLoopUntilIdle();
    EXPECT_TRUE(m_transport->requests.empty());
    EXPECT_TRUE(results.empty());

    task->resume();
    ASSERT_EQ(m_transport->requests.size(), 1u);
    EXPECT_EQ(m_transport->requests[0].timeoutInterval(), 60.0);
    EXPECT_EQ(m_transport->requests[0].cachePolicy(), URLRequest::CachePolicy::useProtocolCachePolicy);
    EXPECT_TRUE(results.empty());
    runMainLoopUntilIdle();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].get(), Data::fromString("items"));
}
