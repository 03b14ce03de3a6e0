#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerVC.hpp"

#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"

#include "Platform/Foundation/Selector.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"

using Corvendale::LargeViewerVC;
using Corvendale::LargeViewerVContent;
using Foundation::Selector;
using Foundation::String;
using Flags = UIKit::UIKeyModifierFlags;

namespace {

class LargeViewer : public CorvendaleTests::MainCoordinatorFixture {
protected:
    std::shared_ptr<LargeViewerVC> viewer() const { return std::dynamic_pointer_cast<LargeViewerVC>(coordinator->presentedViewController()); }
    bool enabled(const char* selector) { return coordinator->canPerformAction(Selector(selector), nullptr); }
};

TEST_F(LargeViewer, ShowsTheSelectedPasswordAndClosesOnEscapeOrAClick)
{
    auto id = add("Alpha", "s3cret!");
    show();
    EXPECT_FALSE(enabled("handleLargePasswordCommand:")) << "nothing selected";
    select({id});
    ASSERT_TRUE(enabled("handleLargePasswordCommand:"));
    EXPECT_FALSE(enabled("handleLargeOneTimePasswordCommand:")) << "the item has no one-time password";
    auto command = Foundation::make<UIKit::UICommand>(String("Show Password in Large Viewer"), Selector("handleLargePasswordCommand:"));
    coordinator->validate(command);
    EXPECT_EQ(command->title(), String("Show Password in Large Viewer"));

    driver.press("L", Flags::command() | Flags::shift());
    settle();
    ASSERT_TRUE(viewer());
    EXPECT_EQ(viewer()->content(), LargeViewerVContent::password("s3cret!"));
    EXPECT_EQ(viewer()->modalPresentationStyle(), UIKit::UIModalPresentationStyle::overFullScreen);
    EXPECT_FALSE(enabled("handleLargePasswordCommand:")) << "not over the viewer itself";

    driver.press("Escape");
    settle();
    EXPECT_FALSE(coordinator->presentedViewController());

    coordinator->presentLargeFirstCopyablePassword(id, true);
    settle();
    ASSERT_TRUE(viewer());
    // Away from the middle, on the dimmed area.
    UIKit::UIEventDriver::tap(viewer()->view()->window(), {20, 20});
    settle();
    EXPECT_FALSE(coordinator->presentedViewController()) << "a click anywhere closes it";
}

TEST_F(LargeViewer, LockingClosesItAndAnOrphanedViewerIgnoresInput)
{
    auto id = add("Alpha", "s3cret!");
    show();
    coordinator->presentLargeViewer(LargeViewerVContent::text("hello"));
    settle();
    ASSERT_TRUE(viewer());
    const auto& services = CorvendaleTests::inMemoryDependencies();
    services.authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
    settle();
    EXPECT_FALSE(coordinator->presentedViewController());
    CorvendaleTests::unlockVault();
    settle();

    auto orphan = Foundation::make<LargeViewerVC>(LargeViewerVContent::text("x"));
    orphan->loadViewIfNeeded();
    orphan->handleEscapeKeyPress();
    orphan->didTapContentOrBackground();
    (void)id;
}

} // namespace
