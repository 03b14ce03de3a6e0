#include "Ostravane/AppKitPrincipal.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/NSViewController.hpp"
#include "Platform/AppKit/NSWindow.hpp"
#include "Platform/AppKit/SPRoundedWindow.hpp"
#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/AnyClass.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>

// The bundle's entry point, linked in with the plug-in's code.
extern "C" const std::type_info* FoundationBundlePrincipalClass(const char* className);

using namespace Ostravane;
using AppKit::NSWindow;

namespace {

// A window of a class that merely sounds like one.
class UINSWindowLookalike : public NSWindow {
protected:
    friend Foundation::Construct;
    UINSWindowLookalike() = default;
};
class SomeViewController : public AppKit::NSViewController {
protected:
    friend Foundation::Construct;
    SomeViewController() = default;
};

std::shared_ptr<NSWindow> hostWindow()
{
    return Foundation::make<AppKit::UINSWindow>();
}

TEST(AppKitPrincipal, IsOneSharedBridgeThatTheLoaderFindsByNameAndThatAnswersEveryMessage)
{
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    EXPECT_EQ(AppKitPrincipal::sharedAppKitBridge(), bridge);

    EXPECT_EQ(FoundationBundlePrincipalClass("Nothing"), nullptr);
    const std::type_info* type = FoundationBundlePrincipalClass("AppKitPrincipal");
    ASSERT_NE(type, nullptr);
    Foundation::AnyClass principalClass(*type);
    auto answer = std::any_cast<std::shared_ptr<Foundation::NSObject>>(principalClass.perform(Foundation::Selector("sharedAppKitBridge")));
    EXPECT_EQ(answer, bridge);
    for (const char* selector : {"setupEventMonitor", "openAboutPanel", "quitApplication", "isMainWindowPinned",
                                 "setIsMainWindowPinned:", "setupWindowManagement"})
        EXPECT_TRUE(bridge->respondsToSelector(Foundation::Selector(selector))) << selector;
}

TEST(AppKitPrincipal, WithoutAHostWindowReadsUnpinnedAndPinningChangesNoWindow)
{
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    auto other = Foundation::make<NSWindow>();
    auto lookalike = Foundation::make<UINSWindowLookalike>();
    other->setLevel(NSWindow::Level::floating());
    EXPECT_FALSE(bridge->isMainWindowPinned()) << "only a host window is the main window";
    bridge->setIsMainWindowPinned(true);
    bridge->setIsMainWindowPinned(false);
    EXPECT_EQ(other->level(), NSWindow::Level::floating());
    EXPECT_EQ(lookalike->level(), NSWindow::Level::normal());
}

TEST(AppKitPrincipal, PinsAndUnpinsOnlyTheFirstHostWindowThroughItsMessages)
{
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    auto panel = Foundation::make<NSWindow>();
    auto main = hostWindow();
    auto second = hostWindow();
    auto send = [&](const char* selector, Foundation::MethodTable::Arguments arguments = {}) {
        return Foundation::MethodTable::perform(*bridge, Foundation::Selector(selector), arguments);
    };
    send("setIsMainWindowPinned:", {true});
    EXPECT_TRUE(std::any_cast<bool>(send("isMainWindowPinned")));
    EXPECT_EQ(main->level().rawValue, 3);
    EXPECT_EQ(second->level(), NSWindow::Level::normal());
    EXPECT_EQ(panel->level(), NSWindow::Level::normal());

    send("setIsMainWindowPinned:", {false});
    EXPECT_FALSE(bridge->isMainWindowPinned());
    EXPECT_EQ(main->level().rawValue, 0);

    main->setLevel({5});
    EXPECT_FALSE(bridge->isMainWindowPinned()) << "only the floating level is pinned";
    main->close();
    bridge->setIsMainWindowPinned(true);
    EXPECT_EQ(second->level(), NSWindow::Level::floating()) << "the next host window is the main window once the first closed";
}

TEST(AppKitPrincipal, KeepsEveryCompletionPopUpHiddenEachTimeItIsAboutToShowAndNoOtherWindow)
{
    std::vector<Foundation::LogRecord> records;
    auto previous = Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) {
        if (record.category == "AppKitPrincipal")
            records.push_back(record);
    });
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    auto before = AppKit::SPRoundedWindow::showCompletionList();
    EXPECT_EQ(before->alphaValue(), 1.0) << "hidden only once window management is set up";
    bridge->setupWindowManagement();

    auto completions = AppKit::SPRoundedWindow::showCompletionList();
    EXPECT_TRUE(completions->isVisible());
    EXPECT_EQ(completions->alphaValue(), 0.0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, "Prevented SPRoundedWindow with windowNumber: " + std::to_string(completions->windowNumber())
                                      + " from becoming visible.");
    EXPECT_EQ(records[0].type, Foundation::OSLogType::debug);
    EXPECT_TRUE(records[0].subsystem.ends_with(".AppKitPrincipal")) << records[0].subsystem;

    // The system shows the same pop-up again for the next word, drawn in full.
    completions->orderOut(nullptr);
    completions->setAlphaValue(1);
    completions->orderFront(nullptr);
    EXPECT_EQ(completions->alphaValue(), 0.0);

    auto plain = Foundation::make<NSWindow>();
    auto other = Foundation::make<NSWindow>();
    other->setContentViewController(Foundation::make<SomeViewController>());
    plain->orderFront(nullptr);
    other->orderFront(nullptr);
    Foundation::NotificationCenter::defaultCenter()->post(NSWindow::willBecomeVisibleNotification(), Foundation::make<SomeViewController>());
    EXPECT_EQ(plain->alphaValue(), 1.0);
    EXPECT_EQ(other->alphaValue(), 1.0);
    Foundation::Logger::setCaptureSink(previous);
}

TEST(AppKitPrincipal, QuitsThroughTheApplicationAndShowsItsAboutPanel)
{
    auto bridge = AppKitPrincipal::sharedAppKitBridge();
    bridge->openAboutPanel();
    ASSERT_NE(AppKit::NSApp()->aboutPanel(), nullptr);
    EXPECT_TRUE(AppKit::NSApp()->aboutPanel()->isVisible());
    int announcements = 0;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(
        AppKit::NSApplication::willTerminateNotification(), AppKit::NSApp(), nullptr, [&](const Foundation::Notification&) { ++announcements; });
    bridge->quitApplication();
    EXPECT_TRUE(AppKit::NSApp()->isTerminating());
    EXPECT_EQ(announcements, 1);
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
}

} // namespace
