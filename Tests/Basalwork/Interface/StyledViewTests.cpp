#include "Basalwork/Interface/FauxCellSeparatorView.hpp"
#include "Basalwork/Interface/Gradient.hpp"
#include "Basalwork/Interface/HandleView.hpp"
#include "Basalwork/Interface/RoundedGradientControl.hpp"
#include "Basalwork/Interface/RoundedGradientView.hpp"
#include "Basalwork/Interface/RoundedVisualEffectView.hpp"
#include "Basalwork/Interface/SeparatorView.hpp"

#include "Platform/UIKit/UIScreen.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using UIKit::UIColor;

namespace {

UIKit::CGFloat brightness(const std::shared_ptr<UIColor>& color)
{
    return color->hueSaturationBrightness()->brightness;
}

// Restores the shared screen's scale after a test changes it.
struct ScreenScale {
    UIKit::CGFloat saved = UIKit::UIScreen::main()->scale();
    ~ScreenScale() { UIKit::UIScreen::main()->setScale(saved); }
};

} // namespace

TEST(GradientTests, BrightnessStepsClampAndRoundTrip)
{
    auto dim = UIColor::withHue(0.5, 0.5, 0.1, 1);
    EXPECT_EQ(brightness(Gradient::withTop(dim).bottom()), 0.0);

    auto mid = UIColor::withHue(0.5, 0.5, 0.6, 1);
    auto gradient = Gradient::withTop(mid);
    EXPECT_NEAR(brightness(gradient.bottom()), 0.43, 1e-9);
    EXPECT_NEAR(brightness(gradient.withBottomBrightnessAdjusted(0.17).bottom()), 0.6, 1e-9);
    EXPECT_NEAR(brightness(Gradient::withBottom(mid).top()), 0.77, 1e-9);
}

TEST(RoundedGradientTests, PaintsTopToBottomBehindContentAndClips)
{
    ScreenScale restore;
    UIKit::UIScreen::main()->setScale(2);
    auto view = Foundation::make<RoundedGradientView>(UIKit::CGRect {0, 0, 100, 40});
    EXPECT_TRUE(view->layer()->masksToBounds());
    ASSERT_EQ(view->subviews().size(), 1u);
    auto imageView = view->gradientImageView();
    EXPECT_EQ(view->subviews().front(), imageView);
    EXPECT_FALSE(imageView->isUserInteractionEnabled());
    // A new view shows a clear image.
    EXPECT_EQ(imageView->image()->rgba()[3], 0);

    view->setGradient({UIColor::white(), UIColor::black()});
    auto image = imageView->image();
    ASSERT_EQ(image->size(), (UIKit::CGSize {2, 2}));
    const auto& rgba = image->rgba();
    EXPECT_GT(rgba[0], 128); // top row lighter
    EXPECT_LT(rgba[2 * 4 * 2 - 4], 128); // bottom row darker

    // Resizing stretches the same image.
    view->setFrame({0, 0, 300, 90});
    EXPECT_EQ(imageView->image(), image);
    EXPECT_EQ(imageView->frame(), (UIKit::CGRect {0, 0, 300, 90}));

    auto control = Foundation::make<RoundedGradientControl>(UIKit::CGRect {0, 0, 10, 10});
    EXPECT_EQ(control->subviews().size(), 1u);
}

TEST(StyledViewTests, HandleAndSeparatorSizes)
{
    auto handle = Foundation::make<HandleView>(UIKit::CGRect {0, 0, 50, 8});
    handle->layoutIfNeeded();
    EXPECT_EQ(handle->layer()->cornerRadius(), 4);
    EXPECT_EQ(handle->intrinsicContentSize(), (UIKit::CGSize {50, 5}));

    ScreenScale restore;
    UIKit::UIScreen::main()->setScale(3);
    auto separator = Foundation::make<SeparatorView>();
    EXPECT_EQ(separator->intrinsicContentSize().width, UIKit::UIView::noIntrinsicMetric);
    EXPECT_DOUBLE_EQ(separator->intrinsicContentSize().height, 1.0 / 3);
    auto faux = Foundation::make<FauxCellSeparatorView>();
    EXPECT_EQ(faux->backgroundColor(), UIColor::separator());
    faux->setBackgroundColor(UIColor::white());
    faux->awakeFromNib();
    EXPECT_EQ(faux->backgroundColor(), UIColor::separator());

    auto effect = Foundation::make<RoundedVisualEffectView>();
    EXPECT_FALSE(effect->layer()->masksToBounds());
    effect->awakeFromNib();
    EXPECT_TRUE(effect->layer()->masksToBounds());
}
