#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>

using namespace AppKit;

namespace {

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
