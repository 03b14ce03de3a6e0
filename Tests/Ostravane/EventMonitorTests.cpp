#include "Ostravane/AppKitPrincipal.hpp"
#include "Ostravane/EventMonitor.hpp"

#include <gtest/gtest.h>

using namespace Ostravane;
using Type = AppKit::NSEvent::EventType;
using Mask = AppKit::NSEvent::EventTypeMask;

namespace {

std::size_t deliver(Type type)
{
    return AppKit::NSEvent::deliverToGlobalMonitors(AppKit::NSEvent::withType(type));
}

TEST(EventMonitor, StartingARunningMonitorReplacesItsMonitorAndReleasingItRemovesIt)
{
    int seen = 0;
    auto monitor = Foundation::make<EventMonitor>(Mask::leftMouseDown(), [&](const auto&) { ++seen; });
    EXPECT_EQ(deliver(Type::leftMouseDown), 0u) << "nothing is watched before start()";
    monitor->start();
    monitor->start();
    EXPECT_EQ(deliver(Type::leftMouseDown), 1u);
    EXPECT_EQ(seen, 1);
    monitor->stop();
    monitor->stop();
    EXPECT_FALSE(monitor->isRunning());
    EXPECT_EQ(deliver(Type::leftMouseDown), 0u);
    monitor->start();
    monitor.reset();
    EXPECT_EQ(deliver(Type::leftMouseDown), 0u);
    EXPECT_EQ(seen, 1);
}

TEST(EventMonitor, ThePrincipalsMonitorWatchesLeftAndRightMouseDownsAndIsSetUpOnce)
{
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    EXPECT_EQ(bridge->eventMonitor(), nullptr);
    bridge->setupEventMonitor();
    auto monitor = bridge->eventMonitor();
    bridge->setupEventMonitor();
    EXPECT_EQ(bridge->eventMonitor(), monitor);
    EXPECT_EQ(monitor->mask().rawValue, 10u);
    EXPECT_EQ(deliver(Type::leftMouseDown), 1u) << "one monitor installed, not two";
    EXPECT_EQ(deliver(Type::rightMouseDown), 1u);
    EXPECT_EQ(deliver(Type::leftMouseUp), 0u);
}

} // namespace
