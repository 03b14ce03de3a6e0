#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Thread.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <vector>

using namespace Foundation;
using TestSupport::runMainLoopUntilIdle;

namespace {

const Notification::Name ping("ping");
const Notification::Name pong("pong");

class Sender : public NSObject {
protected:
    friend Construct;
    Sender() = default;
};

class Listener : public NSObject {
public:
    void heard(const Notification& notification) { names.push_back(notification.name().rawValue()); }
    void poked() { ++pokes; }
    std::vector<String> names;
    int pokes = 0;

protected:
    friend Construct;
    Listener() = default;
};

class NotificationCenterTest : public testing::Test {
protected:
    std::shared_ptr<NotificationCenter> center = make<NotificationCenter>();
};

} // namespace

TEST_F(NotificationCenterTest, BlockObserversWithoutAQueueOrOnTheCurrentQueueAreCalledInsidePost)
{
    std::vector<String> order;
    center->addObserver(ping, nullptr, nullptr, [&](const Notification&) { order.push_back("plain"); });
    center->addObserver(ping, nullptr, OperationQueue::main(), [&](const Notification&) { order.push_back("main"); });
    center->addObserver(std::nullopt, nullptr, nullptr, [&](const Notification& n) { order.push_back(n.name().rawValue()); });

    center->post(ping);
    EXPECT_EQ(order, (std::vector<String> {"plain", "main", "ping"}));
    center->post(pong);
    EXPECT_EQ(order.back(), "pong");
    EXPECT_EQ(order.size(), 4u);
}

TEST_F(NotificationCenterTest, PostingFromAnotherThreadQueuesDeliveryOnTheObserversQueue)
{
    std::atomic<int> delivered {0};
    bool onMainThread = false;
    center->addObserver(ping, nullptr, OperationQueue::main(), [&](const Notification&) {
        onMainThread = Thread::isMainThread();
        ++delivered;
    });
    auto posted = make<DispatchSemaphore>(0);
    DispatchQueue::global()->async([&] {
        center->post(ping);
        posted->signal();
    });
    posted->wait();
    EXPECT_EQ(delivered, 0);
    runMainLoopUntilIdle();
    EXPECT_EQ(delivered, 1);
    EXPECT_TRUE(onMainThread);
}

TEST_F(NotificationCenterTest, AnObserverOnAnotherQueueIsCalledThere)
{
    auto queue = make<OperationQueue>();
    auto delivered = make<DispatchSemaphore>(0);
    std::atomic<bool> onMainThread {true};
    center->addObserver(ping, nullptr, queue, [&](const Notification&) {
        onMainThread = Thread::isMainThread();
        delivered->signal();
    });
    center->post(ping);
    delivered->wait();
    EXPECT_FALSE(onMainThread);
}

TEST_F(NotificationCenterTest, ObjectFilterMatchesOnlyThatObjectAndCarriesUserInfo)
{
    auto sender = make<Sender>();
    auto other = make<Sender>();
    std::vector<std::shared_ptr<NSObject>> seen;
    std::optional<int> answer;
    center->addObserver(ping, sender, nullptr, [&](const Notification& n) {
        seen.push_back(n.object());
        if (n.userInfo())
            answer = std::any_cast<int>(n.userInfo()->at("answer"));
    });

    center->post(ping, other);
    center->post(ping);
    EXPECT_TRUE(seen.empty());
    center->post(ping, sender, Notification::UserInfo {{"answer", 42}});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], sender);
    EXPECT_EQ(answer, 42);
}

TEST_F(NotificationCenterTest, AFilterForAnObjectThatIsGoneMatchesNothing)
{
    auto sender = make<Sender>();
    int calls = 0;
    center->addObserver(ping, sender, nullptr, [&](const Notification&) { ++calls; });
    sender.reset();
    // A new object may take the old one's address; it is still another object.
    for (int i = 0; i < 8; ++i)
        center->post(ping, make<Sender>());
    EXPECT_EQ(calls, 0);
}

TEST_F(NotificationCenterTest, RemovingATokenStopsItsBlockAndDropsQueuedDeliveries)
{
    int calls = 0;
    auto token = center->addObserver(ping, nullptr, OperationQueue::main(), [&](const Notification&) { ++calls; });
    auto posted = make<DispatchSemaphore>(0);
    DispatchQueue::global()->async([&] {
        center->post(ping);
        posted->signal();
    });
    posted->wait();
    center->removeObserver(token);
    runMainLoopUntilIdle();
    center->post(ping);
    EXPECT_EQ(calls, 0);
}

TEST_F(NotificationCenterTest, DroppingATokenDoesNotRemoveTheObserver)
{
    int calls = 0;
    center->addObserver(ping, nullptr, nullptr, [&](const Notification&) { ++calls; });
    center->post(ping);
    center->post(ping);
    EXPECT_EQ(calls, 2);
}

TEST_F(NotificationCenterTest, RemovingALaterTokenLeavesAnObserverWhoseTokenWasDropped)
{
    // A dropped token's memory may be handed to the next one made; removing that one must not take the
    // dropped token's observer with it.
    int kept = 0;
    center->addObserver(ping, nullptr, nullptr, [&](const Notification&) { ++kept; });
    for (int i = 0; i < 8; ++i)
        center->removeObserver(center->addObserver(ping, nullptr, nullptr, [](const Notification&) {}));
    center->post(ping);
    EXPECT_EQ(kept, 1);
}

TEST_F(NotificationCenterTest, ObjectObserversAreHeldWeaklyAndRemovedTogether)
{
    auto listener = make<Listener>();
    center->addObserver(listener, &Listener::heard, ping, nullptr);
    center->addObserver(listener, &Listener::poked, pong, nullptr);
    EXPECT_EQ(listener.use_count(), 1);

    center->post(ping);
    center->post(pong);
    EXPECT_EQ(listener->names, (std::vector<String> {"ping"}));
    EXPECT_EQ(listener->pokes, 1);

    center->removeObserver(listener);
    center->post(ping);
    center->post(pong);
    EXPECT_EQ(listener->names.size(), 1u);
    EXPECT_EQ(listener->pokes, 1);

    center->addObserver(listener, &Listener::poked, pong, nullptr);
    listener.reset();
    center->post(pong); // the observer is gone: nothing to call, nothing to crash
}

TEST_F(NotificationCenterTest, ObserversMayChangeTheCentreWhileBeingCalled)
{
    std::vector<int> calls;
    std::shared_ptr<NSObject> second;
    center->addObserver(ping, nullptr, nullptr, [&](const Notification&) {
        calls.push_back(1);
        center->removeObserver(second);
        center->addObserver(ping, nullptr, nullptr, [&](const Notification&) { calls.push_back(3); });
    });
    second = center->addObserver(ping, nullptr, nullptr, [&](const Notification&) { calls.push_back(2); });

    center->post(ping);
    // The removed observer is skipped at once; the added one hears only later posts.
    EXPECT_EQ(calls, (std::vector<int> {1}));
}
