#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/NSEvent.hpp"

#include <gtest/gtest.h>

using namespace AppKit;
using Type = NSEvent::EventType;
using Mask = NSEvent::EventTypeMask;

namespace {

TEST(NSEventMonitors, AGlobalMonitorSeesWhatItsMaskCoversUntilItIsRemoved)
{
    std::vector<Type> seen;
    auto monitor = NSEvent::addGlobalMonitorForEventsMatchingMask(Mask::leftMouseDown() | Mask::rightMouseDown(),
                                                                  [&](const std::shared_ptr<NSEvent>& event) { seen.push_back(event->type()); });
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseDown)), 1u);
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseUp)), 0u);
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::rightMouseDown)), 1u);
    EXPECT_EQ(seen, (std::vector<Type> {Type::leftMouseDown, Type::rightMouseDown}));
    EXPECT_EQ(NSApp()->sendEvent(NSEvent::withType(Type::leftMouseDown))->type(), Type::leftMouseDown)
        << "the application's own events are no global monitor's";
    EXPECT_EQ(seen.size(), 2u);

    NSEvent::removeMonitor(monitor);
    NSEvent::removeMonitor(monitor);
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseDown)), 0u);
    EXPECT_EQ(NSEvent::addGlobalMonitorForEventsMatchingMask(Mask {}, [](const auto&) {}), nullptr) << "an empty mask watches nothing";
}

TEST(NSEventMonitors, AMonitorStaysWhenItsTokenIsDroppedAndOneRemovedByAnotherHandlerSeesNoMore)
{
    int first = 0;
    int second = 0;
    std::shared_ptr<Foundation::NSObject> secondMonitor;
    std::weak_ptr<Foundation::NSObject> dropped = NSEvent::addGlobalMonitorForEventsMatchingMask(Mask::leftMouseDown(), [&](const auto&) {
        ++first;
        NSEvent::removeMonitor(secondMonitor);
    });
    secondMonitor = NSEvent::addGlobalMonitorForEventsMatchingMask(Mask::leftMouseDown(), [&](const auto&) { ++second; });
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseDown)), 1u);
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseDown)), 1u);
    EXPECT_EQ(first, 2) << "the dropped token left its monitor installed";
    EXPECT_EQ(second, 0);
    NSEvent::removeMonitor(dropped.lock());
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::leftMouseDown)), 0u);
}

TEST(NSEventMonitors, LocalMonitorsSeeTheApplicationsEventsInOrderAndMaySwallowOrReplaceThem)
{
    std::vector<std::string> calls;
    auto replacing = NSEvent::addLocalMonitorForEventsMatchingMask(Mask::keyDown(), [&](const std::shared_ptr<NSEvent>&) {
        calls.push_back("replace");
        return NSEvent::withType(Type::keyUp);
    });
    auto swallowing = NSEvent::addLocalMonitorForEventsMatchingMask(Mask::keyDown() | Mask::keyUp(), [&](const std::shared_ptr<NSEvent>& event) {
        calls.push_back(event->type() == Type::keyUp ? "swallow replaced" : "swallow");
        return std::shared_ptr<NSEvent>();
    });
    EXPECT_EQ(NSApp()->sendEvent(NSEvent::withType(Type::keyDown)), nullptr);
    EXPECT_EQ(calls, (std::vector<std::string> {"replace", "swallow replaced"}));
    EXPECT_EQ(NSEvent::deliverToGlobalMonitors(NSEvent::withType(Type::keyDown)), 0u) << "local monitors see no other application's";

    NSEvent::removeMonitor(swallowing);
    EXPECT_EQ(NSApp()->sendEvent(NSEvent::withType(Type::keyDown))->type(), Type::keyUp);
    NSEvent::removeMonitor(replacing);
}

} // namespace
