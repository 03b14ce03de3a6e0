#include "Basalwork/Base/Notification.Name.hpp"
#include "Basalwork/Base/Reachability.hpp"
#include "Basalwork/Base/ReachabilityError.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/SystemConfiguration/SCError.hpp"

#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

using namespace Basalwork;
using Foundation::DispatchQueue;
using Foundation::DispatchSemaphore;
using Foundation::DispatchTime;
using Foundation::DispatchTimeoutResult;
using Foundation::make;
using Connection = Reachability::Connection;
using Flags = SystemConfiguration::SCNetworkReachabilityFlags;
using SystemConfiguration::SCNetworkReachability;
using TestSupport::runMainLoopUntilIdle;

namespace {

class ReachabilityTest : public testing::Test {
protected:
    void SetUp() override { SCNetworkReachability::simulateFlags(Flags::reachable()); }
    void TearDown() override
    {
        SCNetworkReachability::simulateFailure(std::nullopt);
        SCNetworkReachability::simulateFlags(std::nullopt);
        runMainLoopUntilIdle();
    }

    // Closures and notifications arrive on a queue of the test's own; each one signals.
    std::shared_ptr<Reachability> makeWatched()
    {
        auto reachability = make<Reachability>(Foundation::DispatchQoS::QoSClass::default_, nullptr, m_announcements);
        reachability->setNotificationCenter(m_center);
        reachability->setWhenReachable([this](Reachability& r) { record("reachable " + r.currentReachabilityString()); });
        reachability->setWhenUnreachable([this](Reachability& r) { record("unreachable " + r.currentReachabilityString()); });
        m_center->addObserver(reachabilityChanged(), reachability, nullptr, [this](const Foundation::Notification&) {
            std::lock_guard lock(m_mutex);
            m_events.push_back("posted");
            m_announced->signal();
        });
        return reachability;
    }
    // True when the next announcement arrived; the real-time bound only matters when it never does.
    bool nextAnnouncement() { return m_announced->wait(DispatchTime::now() + 10) == DispatchTimeoutResult::success; }
    std::vector<std::string> events()
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

private:
    void record(std::string event)
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }

    std::shared_ptr<DispatchQueue> m_announcements = DispatchQueue::create("announcements");
    std::shared_ptr<Foundation::NotificationCenter> m_center = make<Foundation::NotificationCenter>();
    std::shared_ptr<DispatchSemaphore> m_announced = make<DispatchSemaphore>(0);
    std::mutex m_mutex;
    std::vector<std::string> m_events;
};

Connection connectionFor(Flags flags, bool allowsCellular = true)
{
    SCNetworkReachability::simulateFlags(flags);
    auto reachability = make<Reachability>();
    reachability->setAllowsCellularConnection(allowsCellular);
    return reachability->connection();
}

} // namespace

TEST_F(ReachabilityTest, TheConnectionFollowsTheFlags)
{
    EXPECT_EQ(connectionFor(Flags {}), Connection::unavailable);
    EXPECT_EQ(connectionFor(Flags::reachable()), Connection::wifi);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::isWWAN()), Connection::cellular);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::isWWAN(), false), Connection::unavailable);
    EXPECT_EQ(connectionFor(Flags::isWWAN()), Connection::unavailable);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::connectionRequired()), Connection::unavailable);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::connectionRequired() | Flags::connectionOnDemand()), Connection::wifi);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::connectionRequired() | Flags::connectionOnTraffic()), Connection::wifi);
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::connectionRequired() | Flags::connectionOnDemand() | Flags::interventionRequired()),
              Connection::unavailable);
    // Intervention alone does not matter while no connection is required.
    EXPECT_EQ(connectionFor(Flags::reachable() | Flags::interventionRequired()), Connection::wifi);

    SCNetworkReachability::simulateFlags(Flags::reachable() | Flags::isWWAN());
    auto cellular = make<Reachability>();
    cellular->setAllowsCellularConnection(false);
    EXPECT_FALSE(cellular->isReachable());
    EXPECT_FALSE(cellular->isReachableViaWWAN());
    EXPECT_EQ(cellular->currentReachabilityString(), "No Connection");
}

TEST_F(ReachabilityTest, DescriptionSpellsOutTheFlags)
{
    auto reachability = make<Reachability>();
    EXPECT_EQ(reachability->description(), "unavailable flags");
    reachability->connection();
    EXPECT_EQ(reachability->description(), "-R -------");

    SCNetworkReachability::simulateFlags(Flags::reachable() | Flags::isWWAN() | Flags::connectionRequired() | Flags::isDirect());
    auto cellular = make<Reachability>();
    cellular->connection();
    EXPECT_EQ(cellular->description(), "WR c-----d");
}

TEST_F(ReachabilityTest, TheFirstReadAnnouncesEvenWithoutTheNotifier)
{
    auto reachability = makeWatched();
    EXPECT_EQ(reachability->connection(), Connection::wifi);
    ASSERT_TRUE(nextAnnouncement());
    EXPECT_EQ(events(), (std::vector<std::string> {"reachable WiFi", "posted"}));
}

TEST_F(ReachabilityTest, TheNotifierAnnouncesEachChangeOnce)
{
    auto reachability = makeWatched();
    reachability->startNotifier();
    reachability->startNotifier();
    ASSERT_TRUE(nextAnnouncement());

    // The same flags again change nothing; the change after them is the next thing announced.
    SCNetworkReachability::simulateFlags(Flags::reachable());
    SCNetworkReachability::simulateFlags(Flags {});
    ASSERT_TRUE(nextAnnouncement());
    EXPECT_EQ(events(), (std::vector<std::string> {"reachable WiFi", "posted", "unreachable No Connection", "posted"}));

    reachability->stopNotifier();
    SCNetworkReachability::simulateFlags(Flags::reachable());
    reachability->startNotifier();
    ASSERT_TRUE(nextAnnouncement());
    EXPECT_EQ(events().size(), 6u);
    EXPECT_EQ(events()[4], "reachable WiFi");
}

TEST_F(ReachabilityTest, AFailedStartLeavesTheNotifierOffSoItCanStartAgain)
{
    auto reachability = makeWatched();
    SCNetworkReachability::simulateFailure(SystemConfiguration::kSCStatusFailed);
    try {
        reachability->startNotifier();
        FAIL() << "expected unableToGetFlags";
    } catch (const ReachabilityError& error) {
        ASSERT_NE(error.as<ReachabilityError::UnableToGetFlags>(), nullptr);
        EXPECT_EQ(error.as<ReachabilityError::UnableToGetFlags>()->status, SystemConfiguration::kSCStatusFailed);
        EXPECT_EQ(error.code(), 4);
    }
    EXPECT_EQ(reachability->connection(), Connection::unavailable);

    SCNetworkReachability::simulateFailure(std::nullopt);
    reachability->startNotifier();
    ASSERT_TRUE(nextAnnouncement());
    EXPECT_EQ(events().front(), "reachable WiFi");
}

TEST_F(ReachabilityTest, TheServiceDoesNotKeepAWatchedObjectAlive)
{
    std::weak_ptr<Reachability> released;
    {
        auto reachability = make<Reachability>(Foundation::String("example.com"), Foundation::DispatchQoS::QoSClass::default_,
                                               nullptr, nullptr);
        reachability->startNotifier();
        released = reachability;
    }
    EXPECT_TRUE(released.expired());
    SCNetworkReachability::simulateFlags(Flags {});
}

TEST_F(ReachabilityTest, AHostNameTheServiceCannotTakeIsRefused)
{
    for (const auto& hostname : {Foundation::String(""), Foundation::String(std::string("example.com\0.evil", 17))}) {
        try {
            make<Reachability>(hostname);
            FAIL() << "expected failedToCreateWithHostname";
        } catch (const ReachabilityError& error) {
            ASSERT_NE(error.as<ReachabilityError::FailedToCreateWithHostname>(), nullptr);
            EXPECT_EQ(error.as<ReachabilityError::FailedToCreateWithHostname>()->hostname, hostname);
            EXPECT_EQ(error.as<ReachabilityError::FailedToCreateWithHostname>()->status, SystemConfiguration::kSCStatusInvalidArgument);
        }
    }
}
