#include "Basalwork/Interface/UIView.FrameConversion.Error.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::CGRect;
using UIKit::CGSize;

namespace {

// Counts the writes to `isHidden`, as a stack view would notice them; can be first responder; lays out
// and snapshots on request.
class ProbeView : public UIKit::UIView {
public:
    int hiddenWrites = 0;
    int layouts = 0;
    bool snapshotsAfterUpdates = true;
    CGSize intrinsic {noIntrinsicMetric, noIntrinsicMetric};

    void setIsHidden(bool isHidden) override
    {
        ++hiddenWrites;
        UIView::setIsHidden(isHidden);
    }
    bool canBecomeFirstResponder() const override { return true; }
    void layoutSubviews() override { ++layouts; }
    std::shared_ptr<UIView> snapshotView(bool afterScreenUpdates) override
    {
        return afterScreenUpdates && !snapshotsAfterUpdates ? nullptr : UIView::snapshotView(afterScreenUpdates);
    }
    CGSize intrinsicContentSize() const override { return intrinsic; }

protected:
    friend Foundation::Construct;
    using UIView::UIView;
};

std::shared_ptr<ProbeView> probe(CGRect frame = {}, const std::shared_ptr<UIKit::UIView>& parent = nullptr)
{
    auto view = make<ProbeView>(frame);
    if (parent)
        parent->addSubview(view);
    return view;
}

std::vector<const UIKit::UIView*> pointers(const std::vector<std::shared_ptr<UIKit::UIView>>& views)
{
    std::vector<const UIKit::UIView*> result;
    for (const auto& view : views)
        result.push_back(view.get());
    return result;
}

} // namespace

TEST(ViewVisibility, OnlyChangesAreWrittenButAlphaAlwaysIs)
{
    auto view = probe();
    setIsVisible(*view, true);
    EXPECT_EQ(view->hiddenWrites, 0);
    setIsVisible(*view, false);
    setIsVisible(*view, false);
    EXPECT_EQ(view->hiddenWrites, 1);
    EXPECT_FALSE(isVisible(*view));

    view->setAlpha(0.5);
    setVisibilityAndAlpha(*view, false);
    EXPECT_EQ(view->hiddenWrites, 1);
    EXPECT_EQ(view->alpha(), 0.0);
    setVisibilityAndAlpha(*view, true);
    EXPECT_TRUE(isVisible(*view));
    EXPECT_EQ(view->alpha(), 1.0);
}

TEST(ViewSearch, DescendantsComeInPreOrderWithoutTheViewItself)
{
    auto a = make<UIKit::UIView>();
    auto b = make<UIKit::UIView>();
    auto c = probe({}, b);
    auto d = probe({}, a);
    a->insertSubview(b, 0);
    EXPECT_EQ(pointers(findSubviewsRecursively(*a, [](const UIKit::UIView&) { return true; })),
              (std::vector<const UIKit::UIView*> {b.get(), c.get(), d.get()}));
    auto probes = findSubviewsRecursively<ProbeView>(*a);
    ASSERT_EQ(probes.size(), 2u);
    EXPECT_EQ(probes[0], c);

    EXPECT_TRUE(isOrContains(*a, *a));
    EXPECT_TRUE(isOrContains(*a, *c));
    EXPECT_FALSE(isOrContains(*b, *d)); // a sibling
    EXPECT_TRUE(isDescendant<ProbeView>(*c));
    EXPECT_FALSE(isDescendant<ProbeView>(*b));
    auto insideProbe = make<UIKit::UIView>();
    c->addSubview(insideProbe);
    EXPECT_TRUE(isDescendant<ProbeView>(*insideProbe));
}

TEST(ViewSearch, FirstResponderIsFoundDepthFirst)
{
    auto scene = make<UIKit::UIWindowScene>();
    auto window = make<UIKit::UIWindow>(scene);
    window->makeKeyAndVisible();
    auto branch = make<UIKit::UIView>();
    auto other = make<UIKit::UIView>();
    window->addSubview(branch);
    window->addSubview(other);
    auto field = probe({}, branch);
    EXPECT_EQ(findFirstResponder(*window), nullptr);
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(findFirstResponder(*window), field);
    EXPECT_TRUE(isOrContainsFirstResponder(*branch));
    EXPECT_FALSE(isOrContainsFirstResponder(*other));
    EXPECT_TRUE(isCurrentlyInViewHierarchy(*field));
    EXPECT_FALSE(isCurrentlyInViewHierarchy(*make<UIKit::UIView>()));
}

TEST(ViewFrameConversion, TheSuperviewConvertsOrTheConversionFails)
{
    auto root = make<UIKit::UIView>(CGRect {0, 0, 400, 400});
    auto container = make<UIKit::UIView>(CGRect {10, 20, 200, 200});
    auto view = make<UIKit::UIView>(CGRect {5, 5, 30, 40});
    auto elsewhere = make<UIKit::UIView>(CGRect {100, 100, 50, 50});
    root->addSubview(container);
    container->addSubview(view);
    root->addSubview(elsewhere);

    using System = UIView::FrameConversion::CoordinateSystem;
    EXPECT_EQ(frame(*view, System::windowBase()), (CGRect {15, 25, 30, 40}));
    EXPECT_EQ(frame(*view, System::otherView(elsewhere)), (CGRect {-85, -75, 30, 40}));

    try {
        frame(*root, System::windowBase());
        FAIL() << "a view without a superview has no frame to convert";
    } catch (const UIView::FrameConversion::Error& error) {
        const auto& failed = std::get<0>(error.value());
        EXPECT_EQ(failed.view, root);
        EXPECT_NE(failed.coordinateSystem.as<System::WindowBase>(), nullptr);
        EXPECT_EQ(error.domain(), "Basalwork.UIView.FrameConversion.Error");
        EXPECT_EQ(error.code(), 0);
    }
}

TEST(ViewRendering, ImagesAndFittingSizesComeFromTheViewItself)
{
    auto view = make<UIKit::UIView>(CGRect {0, 0, 4, 2});
    view->setBounds({10, 0, 4, 2}); // scrolled: the subview at x 12 shows at x 2
    view->setBackgroundColor(make<UIKit::UIColor>(1.0, 0.0, 0.0, 1.0));
    auto inner = make<UIKit::UIView>(CGRect {12, 0, 1, 1});
    inner->setBackgroundColor(make<UIKit::UIColor>(0.0, 0.0, 1.0, 1.0));
    view->addSubview(inner);

    auto image = drawToImage(*view, false);
    ASSERT_EQ(image->size(), (CGSize {4, 2}));
    const auto& px = image->rgba();
    EXPECT_EQ(px[0], 255);            // (0, 0): red
    EXPECT_EQ(px[2 * 4 + 2], 255);    // (2, 0): blue
    EXPECT_EQ(px[(4 + 2) * 4 + 0], 255); // (2, 1): red again

    auto sized = probe({0, 0, 50, 60});
    sized->setBounds({5, 5, 50, 60});
    sized->intrinsic = {UIKit::UIView::noIntrinsicMetric, 20};
    // The width nothing decides follows the target; the height is the intrinsic one.
    resize(*sized, {300, 0});
    EXPECT_EQ(sized->bounds(), (CGRect {5, 5, 300, 20}));
}

class AnimatedLayoutUpdate : public testing::Test {
protected:
    void SetUp() override
    {
        superview->addSubview(view);
        root->addSubview(superview);
        TestSupport::runMainLoopUntilIdle();
    }
    std::shared_ptr<UIKit::UIView> root = make<UIKit::UIView>(CGRect {0, 0, 400, 400});
    std::shared_ptr<ProbeView> superview = probe({0, 100, 300, 300});
    std::shared_ptr<ProbeView> view = probe({10, 20, 100, 50});
};

TEST_F(AnimatedLayoutUpdate, NewContentSlidesDownFromAboveWhileTheOldLeaves)
{
    performAnimatedLayoutUpdate(*view, UIView::AnimationDirection::fromTop, root);
    ASSERT_EQ(root->subviews().size(), 3u);
    auto oldPicture = root->subviews()[1];
    auto newPicture = root->subviews()[2];
    // End state of the slide; the view itself is hidden behind the pictures until it completes.
    EXPECT_EQ(oldPicture->frame(), (CGRect {10, 170, 100, 50}));
    EXPECT_EQ(oldPicture->alpha(), 0.0);
    EXPECT_EQ(newPicture->frame(), (CGRect {10, 120, 100, 50}));
    EXPECT_EQ(newPicture->alpha(), 1.0);
    EXPECT_EQ(view->alpha(), 0.0);
    EXPECT_GE(view->layouts, 1);

    TestSupport::advanceClock(0.29);
    EXPECT_EQ(view->alpha(), 0.0);
    TestSupport::advanceClock(0.01);
    EXPECT_EQ(root->subviews().size(), 1u);
    EXPECT_EQ(view->alpha(), 1.0);
}

TEST_F(AnimatedLayoutUpdate, FromBelowTheOldContentLeavesUpwards)
{
    performAnimatedLayoutUpdate(*view, UIView::AnimationDirection::fromBottom);
    ASSERT_EQ(superview->subviews().size(), 3u);
    EXPECT_EQ(superview->subviews()[1]->frame(), (CGRect {10, -30, 100, 50}));
    EXPECT_EQ(superview->subviews()[2]->frame(), (CGRect {10, 20, 100, 50}));
    TestSupport::advanceClock(0.3);
    EXPECT_EQ(superview->subviews().size(), 1u);
}

TEST_F(AnimatedLayoutUpdate, NothingHappensWithoutADirectionOrAPlaceToAnimateIn)
{
    int layouts = view->layouts;
    performAnimatedLayoutUpdate(*view, UIView::AnimationDirection::none, root);
    auto loose = probe({0, 0, 10, 10});
    performAnimatedLayoutUpdate(*loose, UIView::AnimationDirection::fromTop);
    EXPECT_EQ(view->layouts, layouts);
    EXPECT_EQ(loose->layouts, 0);
    EXPECT_EQ(superview->subviews().size(), 1u);

    // With a container but no superview there is no frame to slide from: the container only lays out.
    auto container = probe({0, 0, 10, 10});
    performAnimatedLayoutUpdate(*loose, UIView::AnimationDirection::fromTop, container);
    EXPECT_EQ(container->layouts, 1);
    EXPECT_TRUE(container->subviews().empty());
    EXPECT_EQ(loose->alpha(), 1.0);
}

TEST_F(AnimatedLayoutUpdate, WithoutANewPictureTheOldOneIsTakenAway)
{
    view->snapshotsAfterUpdates = false;
    performAnimatedLayoutUpdate(*view, UIView::AnimationDirection::fromTop);
    EXPECT_EQ(superview->subviews().size(), 1u);
    EXPECT_EQ(view->alpha(), 1.0);
}
