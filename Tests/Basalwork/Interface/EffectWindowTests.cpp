#include "Basalwork/Interface/BlurrableWindow.hpp"
#include "Basalwork/Interface/PassthroughStackView.hpp"
#include "Basalwork/Interface/PassthroughView.hpp"
#include "Basalwork/Interface/PassthroughWindow.hpp"

#include "Platform/UIKit/UIBlurEffect.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;

namespace {

std::shared_ptr<UIKit::UIBlurEffect> blur()
{
    return Foundation::make<UIKit::UIBlurEffect>(UIKit::UIBlurEffect::Style::regular);
}

} // namespace

TEST(PercentAppliedVisualEffectViewTests, ShowsTheEffectInPartAndHoldsAtFull)
{
    auto effect = blur();
    auto view = Foundation::make<PercentAppliedVisualEffectView>(effect);
    EXPECT_EQ(view->animator()->fractionComplete(), 0);
    EXPECT_EQ(view->effect(), effect);
    EXPECT_EQ(view->UIVisualEffectView::effect(), effect);

    view->setPercentApplied(1.0);
    EXPECT_EQ(view->animator()->fractionComplete(), 1.0);
    EXPECT_EQ(view->animator()->state(), UIKit::UIViewAnimatingState::active);

    auto delayed = Foundation::make<PercentAppliedVisualEffectView>(effect, 0.5);
    EXPECT_EQ(delayed->animator()->fractionComplete(), 0);
    delayed->layoutIfNeeded();
    EXPECT_EQ(delayed->animator()->fractionComplete(), 0.5);
}

TEST(BlurrableWindowTests, BlurComesAndGoesWithoutBlockingTouches)
{
    auto window = Foundation::make<BlurrableWindow>(UIKit::CGRect {200, 100, 400, 300});
    auto button = Foundation::make<UIKit::UIView>(UIKit::CGRect {10, 10, 50, 50});
    window->addSubview(button);
    auto blurView = window->blurredContentView();
    // Covers the whole window, wherever it is on screen, and follows its size.
    EXPECT_EQ(blurView->frame(), (UIKit::CGRect {0, 0, 400, 300}));
    window->setFrame({200, 100, 500, 320});
    EXPECT_EQ(blurView->frame(), (UIKit::CGRect {0, 0, 500, 320}));

    window->enabledBlur();
    window->enabledBlur();
    EXPECT_EQ(window->subviews().size(), 2u);
    EXPECT_EQ(window->subviews().back(), blurView);
    EXPECT_DOUBLE_EQ(blurView->animator()->fractionComplete(), 0.17);
    window->setIsHidden(false);
    EXPECT_EQ(window->hitTest({20, 20}, nullptr), button);

    window->disableBlur();
    EXPECT_EQ(window->subviews().front(), blurView);
    EXPECT_EQ(blurView->animator()->fractionComplete(), 0);
}

TEST(PassthroughTests, EmptyAreasLetTouchesThroughButSubviewsKeepTheirs)
{
    auto root = Foundation::make<UIKit::UIView>(UIKit::CGRect {0, 0, 200, 200});
    auto overlay = Foundation::make<PassthroughView>(UIKit::CGRect {0, 0, 200, 200});
    auto child = Foundation::make<UIKit::UIView>(UIKit::CGRect {0, 0, 20, 20});
    overlay->addSubview(child);
    root->addSubview(overlay);
    EXPECT_EQ(root->hitTest({100, 100}, nullptr), root);
    EXPECT_EQ(root->hitTest({5, 5}, nullptr), child);

    auto stack = Foundation::make<PassthroughStackView>(UIKit::CGRect {0, 0, 50, 50});
    EXPECT_EQ(stack->hitTest({5, 5}, nullptr), nullptr);
    auto window = Foundation::make<PassthroughWindow>(UIKit::CGRect {0, 0, 50, 50});
    window->setIsHidden(false);
    window->addSubview(Foundation::make<UIKit::UIView>(UIKit::CGRect {0, 0, 10, 10}));
    EXPECT_NE(window->hitTest({5, 5}, nullptr), nullptr);
    EXPECT_EQ(window->hitTest({30, 30}, nullptr), nullptr);
}
