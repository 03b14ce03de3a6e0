#include "Basalwork/Interface/BorderShadowableTextView.hpp"
#include "Basalwork/Interface/BorderShadowableView.hpp"
#include "Basalwork/Interface/UIColor.hpp"

#include "Platform/UIKit/UIBezierPath.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Basalwork;
using UIKit::UIColor;

namespace {

// Counts reads of the stored values, as a subclass of the program's might.
class CountingView : public BorderShadowableView {
public:
    mutable int borderReads = 0;
    Border border() const override
    {
        ++borderReads;
        return BorderShadowableView::border();
    }

protected:
    friend Foundation::Construct;
    CountingView() = default;
};

} // namespace

TEST(BorderShadowableTests, CreationLeavesTheLayerAloneUntilAValueIsWritten)
{
    auto view = Foundation::make<BorderShadowableView>();
    view->layer()->setCornerRadius(9);
    EXPECT_EQ(view->layer()->cornerRadius(), 9);
    EXPECT_EQ(view->shadow().radius, 3);
    EXPECT_EQ(view->shadow().offset, (UIKit::CGSize {0, -3}));
    EXPECT_EQ(view->shadow().color, UIColor::black());

    // One field written applies all three border properties, overwriting what another party set.
    view->layer()->setBorderWidth(7);
    view->setBorderColor(UIColor::white());
    EXPECT_EQ(view->layer()->borderWidth(), 0);
    EXPECT_EQ(view->layer()->cornerRadius(), 0);
    ASSERT_NE(view->layer()->borderColor(), nullptr);
    EXPECT_EQ(view->layer()->borderColor()->red(), 1);

    view->setBorder({2, nullptr, 6});
    EXPECT_EQ(view->layer()->borderColor(), nullptr);
    EXPECT_EQ(view->layer()->borderWidth(), 2);
    EXPECT_EQ(view->layer()->cornerRadius(), 6);
}

TEST(BorderShadowableTests, OneShadowFieldAppliesTheWholeShadowInSinglePrecision)
{
    auto view = Foundation::make<BorderShadowableView>(UIKit::CGRect {0, 0, 10, 10});
    view->layer()->setShadowRadius(20);
    view->setShadowPath(Foundation::make<UIKit::UIBezierPath>(UIKit::CGRect {0, 0, 10, 10})->cgPath());
    view->setShadowOpacity(0.5);
    EXPECT_EQ(view->layer()->shadowOpacity(), 0.5f);
    EXPECT_EQ(view->layer()->shadowRadius(), 3);
    ASSERT_NE(view->layer()->shadowPath(), nullptr);
    EXPECT_EQ(view->layer()->shadowPath()->boundingBox(), (UIKit::CGRect {0, 0, 10, 10}));

    view->setShadowPath(nullptr);
    EXPECT_EQ(view->layer()->shadowPath(), nullptr);
    view->setShadowColor(nullptr);
    EXPECT_EQ(view->layer()->shadowColor(), nullptr);
}

TEST(BorderShadowableTests, AnAbandonedModificationChangesNothing)
{
    auto view = Foundation::make<BorderShadowableView>();
    view->setBorder({1, nullptr, 4});
    EXPECT_THROW(view->modifyBorder([](UIView::Border& border) {
        border.cornerRadius = 30;
        throw std::runtime_error("abandoned");
    }),
                 std::runtime_error);
    EXPECT_EQ(view->cornerRadius(), 4);
    EXPECT_EQ(view->layer()->cornerRadius(), 4);
}

TEST(BorderShadowableTests, UpdateLayerBorderReadsThroughTheOverridableAccessor)
{
    auto view = Foundation::make<CountingView>();
    view->updateLayerBorder();
    EXPECT_GE(view->borderReads, 1);
}

TEST(BorderShadowableTests, ColoursFollowTheAppearanceAfterATraitChange)
{
    auto scene = Foundation::make<UIKit::UIWindowScene>();
    auto window = Foundation::make<UIKit::UIWindow>(scene);
    auto view = Foundation::make<BorderShadowableTextView>();
    window->addSubview(view);
    auto lightDark = UIColors::withLight(UIColor::white(), UIColor::black());
    view->setBorder({1, lightDark, 0});
    EXPECT_EQ(view->layer()->borderColor()->red(), 1);

    window->setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::dark);
    EXPECT_EQ(view->layer()->borderColor()->red(), 0);

    auto light = scene->traitCollection();
    auto dark = light;
    dark.userInterfaceStyle = UIKit::UIUserInterfaceStyle::dark;
    window->setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::unspecified);
    scene->setTraitCollection(dark);
    EXPECT_EQ(view->layer()->borderColor()->red(), 0);
    scene->setTraitCollection(light);
    EXPECT_EQ(view->layer()->borderColor()->red(), 1);
}

TEST(BorderShadowableTests, ATraitChangeAppliesTheInitialValues)
{
    auto scene = Foundation::make<UIKit::UIWindowScene>();
    auto window = Foundation::make<UIKit::UIWindow>(scene);
    auto view = Foundation::make<BorderShadowableView>();
    window->addSubview(view);
    view->layer()->setBorderWidth(5);
    view->layer()->setShadowOpacity(1);
    window->setOverrideUserInterfaceStyle(UIKit::UIUserInterfaceStyle::dark);

    const auto& layer = *view->layer();
    EXPECT_EQ(layer.borderWidth(), 0);
    EXPECT_EQ(layer.borderColor(), nullptr);
    EXPECT_EQ(layer.cornerRadius(), 0);
    EXPECT_EQ(layer.shadowOpacity(), 0);
    EXPECT_EQ(layer.shadowRadius(), 3);
    EXPECT_EQ(layer.shadowOffset(), (UIKit::CGSize {0, -3}));
    EXPECT_EQ(layer.shadowColor()->alpha(), 1);
    EXPECT_EQ(layer.shadowColor()->red(), 0);
    EXPECT_EQ(layer.shadowPath(), nullptr);
    EXPECT_FALSE(layer.masksToBounds());
}
