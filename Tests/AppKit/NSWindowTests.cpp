#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/NSWindow.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <algorithm>
#include <gtest/gtest.h>

using namespace AppKit;

namespace {

bool isOpen(const std::shared_ptr<NSWindow>& window)
{
    auto windows = NSApp()->windows();
    return std::ranges::find(windows, window) != windows.end();
}

TEST(NSWindow, IsAnnouncedBeforeItShowsEachTimeItWasHidden)
{
    auto window = Foundation::make<NSWindow>();
    std::vector<bool> visibleWhenAnnounced;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(
        NSWindow::willBecomeVisibleNotification(), window, nullptr,
        [&](const Foundation::Notification& notification) {
            EXPECT_EQ(notification.object(), window);
            visibleWhenAnnounced.push_back(window->isVisible());
        });
    window->orderFront(nullptr);
    window->orderFront(nullptr);
    EXPECT_EQ(visibleWhenAnnounced, std::vector<bool> {false}) << "a visible window is not announced again";
    window->orderOut(nullptr);
    window->orderFront(nullptr);
    EXPECT_EQ(visibleWhenAnnounced, (std::vector<bool> {false, false}));
    EXPECT_TRUE(window->isVisible());
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
}

TEST(NSWindow, BelongsToTheApplicationUntilClosedOrReleasedInTheOrderTheyWereMade)
{
    auto first = Foundation::make<NSWindow>();
    auto second = Foundation::make<NSWindow>();
    auto third = Foundation::make<NSWindow>();
    EXPECT_NE(first->windowNumber(), second->windowNumber());
    auto windows = NSApp()->windows();
    auto at = [&](const std::shared_ptr<NSWindow>& window) { return std::ranges::find(windows, window) - windows.begin(); };
    EXPECT_LT(at(first), at(second));
    EXPECT_LT(at(second), at(third));
    EXPECT_TRUE(isOpen(first)) << "hidden windows are the application's too";
    windows.clear();

    second->orderFront(nullptr);
    second->close();
    EXPECT_FALSE(isOpen(second));
    EXPECT_FALSE(second->isVisible());
    const NSWindow* released = third.get();
    third.reset();
    EXPECT_TRUE(std::ranges::none_of(NSApp()->windows(), [&](const auto& window) { return window.get() == released; }));
}

} // namespace
