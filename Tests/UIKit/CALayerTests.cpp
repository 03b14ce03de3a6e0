#include "Platform/UIKit/CAGradientLayer.hpp"
#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace UIKit;

namespace {

class TraitRecordingView : public UIView {
public:
    std::vector<UIUserInterfaceStyle> changes;
    void traitCollectionDidChange(const std::optional<UITraitCollection>& previous) override
    {
        ASSERT_TRUE(previous.has_value());
        EXPECT_NE(*previous, traitCollection());
        changes.push_back(traitCollection().userInterfaceStyle);
    }

protected:
    friend Foundation::Construct;
    TraitRecordingView() = default;
};

} // namespace

TEST(CALayerTests, ViewLayerSharesTheViewsGeometry)
{
    auto view = Foundation::make<UIView>(CGRect {10, 20, 30, 40});
    EXPECT_EQ(view->layer(), view->layer());
    EXPECT_EQ(view->layer()->delegate(), view);
    EXPECT_EQ(view->layer()->frame(), (CGRect {10, 20, 30, 40}));
    view->layer()->setBounds({0, 0, 8, 8});
    EXPECT_EQ(view->bounds(), (CGRect {0, 0, 8, 8}));

    auto sublayer = Foundation::make<CALayer>();
    auto other = Foundation::make<CALayer>();
    view->layer()->addSublayer(sublayer);
    other->addSublayer(sublayer);
    EXPECT_TRUE(view->layer()->sublayers().empty());
    EXPECT_EQ(sublayer->superlayer(), other);
}

TEST(CALayerTests, TraitChangesReachOnlyViewsWhoseTraitsChanged)
{
    auto scene = Foundation::make<UIWindowScene>();
    auto window = Foundation::make<UIWindow>(scene);
    auto outer = Foundation::make<TraitRecordingView>();
    auto pinned = Foundation::make<TraitRecordingView>();
    pinned->setOverrideUserInterfaceStyle(UIUserInterfaceStyle::light);
    outer->addSubview(pinned);
    window->addSubview(outer); // both take the scene's traits
    EXPECT_EQ(outer->changes, (std::vector {UIUserInterfaceStyle::light}));
    EXPECT_EQ(pinned->changes.size(), 2u); // its own override, then the scene

    // The nearer override keeps `pinned` light.
    window->setOverrideUserInterfaceStyle(UIUserInterfaceStyle::dark);
    EXPECT_EQ(outer->changes.back(), UIUserInterfaceStyle::dark);
    EXPECT_EQ(pinned->changes.size(), 2u); // its own override, then the scene

    outer->removeFromSuperview();
    EXPECT_EQ(outer->changes.back(), UIUserInterfaceStyle::unspecified);
}

TEST(CALayerTests, AutoresizingFollowsTheSuperviewsSize)
{
    auto parent = Foundation::make<UIView>(CGRect {0, 0, 100, 100});
    auto stretched = Foundation::make<UIView>(CGRect {10, 10, 80, 80});
    stretched->setAutoresizingMask(UIView::AutoresizingMask::flexibleWidth() | UIView::AutoresizingMask::flexibleHeight());
    auto pinnedRight = Foundation::make<UIView>(CGRect {90, 0, 10, 10});
    pinnedRight->setAutoresizingMask(UIView::AutoresizingMask::flexibleLeftMargin());
    auto fixed = Foundation::make<UIView>(CGRect {0, 0, 10, 10});
    parent->addSubview(stretched);
    parent->addSubview(pinnedRight);
    parent->addSubview(fixed);
    parent->setFrame({0, 0, 150, 60});
    EXPECT_EQ(stretched->frame(), (CGRect {10, 10, 130, 40}));
    EXPECT_EQ(pinnedRight->frame(), (CGRect {140, 0, 10, 10}));
    EXPECT_EQ(fixed->frame(), (CGRect {0, 0, 10, 10}));
}

TEST(CALayerTests, GradientPaintsAlongItsAxisWithStops)
{
    auto renderer = Foundation::make<UIGraphicsImageRenderer>(CGSize {1, 4});
    auto image = renderer->image([&](UIGraphicsImageRendererContext& context) {
        auto layer = Foundation::make<CAGradientLayer>();
        layer->setBounds(renderer->bounds());
        layer->setColors({Foundation::make<CGColor>(0.0, 0.0, 0.0, 1.0), Foundation::make<CGColor>(1.0, 1.0, 1.0, 1.0)});
        layer->setLocations(std::vector {0.5, 1.0});
        layer->render(context);
    });
    const auto& rgba = image->rgba();
    EXPECT_EQ(rgba[0 * 4], 0);   // centre 0.125: before the first stop
    EXPECT_EQ(rgba[1 * 4], 0);   // 0.375
    EXPECT_EQ(rgba[2 * 4], 64);  // 0.625: a quarter of the way
    EXPECT_EQ(rgba[3 * 4], 191); // 0.875
    EXPECT_EQ(rgba[3], 255);
}
