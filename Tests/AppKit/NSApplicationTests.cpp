#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/NSWindow.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>

using namespace AppKit;

namespace {

TEST(NSApplicationAboutPanel, ShowsOnePanelInFrontWhateverTheRequests)
{
    NSApp()->orderFrontStandardAboutPanelWithOptions({});
    auto panel = NSApp()->aboutPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    panel->orderOut(nullptr);
    NSApp()->orderFrontStandardAboutPanelWithOptions({});
    EXPECT_EQ(NSApp()->aboutPanel(), panel);
    EXPECT_TRUE(panel->isVisible());
}

TEST(NSApplicationTermination, IsAnnouncedOnceWhateverTheRequests)
{
    int announcements = 0;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(
        NSApplication::willTerminateNotification(), nullptr, nullptr, [&](const Foundation::Notification&) {
            ++announcements;
            NSApp()->terminate(nullptr);
        });
    EXPECT_FALSE(NSApp()->isTerminating());
    NSApp()->terminate(nullptr);
    NSApp()->terminate(nullptr);
    EXPECT_TRUE(NSApp()->isTerminating());
    EXPECT_EQ(announcements, 1);
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
}

} // namespace
