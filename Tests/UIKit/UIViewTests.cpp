#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;

namespace {

std::vector<std::string> g_log;

class LoggingView : public UIView {
public:
    std::string name;
    int layouts = 0;

    void willMoveToWindow(const std::shared_ptr<UIWindow>& newWindow) override
    {
        g_log.push_back(name + (newWindow ? " will enter" : " will leave"));
    }
    void didMoveToWindow() override { g_log.push_back(name + (window() ? " entered" : " left")); }
    void didMoveToSuperview() override { g_log.push_back(name + " moved"); }
    void layoutSubviews() override { ++layouts; }

protected:
    friend Foundation::Construct;
    LoggingView(std::string name, CGRect frame)
        : UIView(frame)
        , name(std::move(name))
    {
    }
};

class UIViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        window->setFrame({100, 50, 300, 300});
        window->makeKeyAndVisible();
    }
    std::shared_ptr<UIView> view(CGRect frame, const std::shared_ptr<UIView>& parent = nullptr)
    {
        auto made = make<UIView>(frame);
        if (parent)
            parent->addSubview(made);
        return made;
    }
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
};

} // namespace

TEST_F(UIViewTest, FrameBoundsAndCenterStayConsistent)
{
    auto v = view({10, 20, 40, 60});
    EXPECT_EQ(v->center(), (CGPoint {30, 50}));
    EXPECT_EQ(v->bounds(), (CGRect {0, 0, 40, 60}));
    v->setBounds({5, 5, 20, 20}); // a new size grows or shrinks the frame about the center
    EXPECT_EQ(v->frame(), (CGRect {20, 40, 20, 20}));
    v->setCenter({0, 0});
    EXPECT_EQ(v->frame(), (CGRect {-10, -10, 20, 20}));
    EXPECT_EQ(v->bounds().origin, (CGPoint {5, 5}));
}

TEST_F(UIViewTest, ConversionFollowsFramesAndScrolledBounds)
{
    auto container = view({10, 10, 200, 200}, window);
    container->setBounds({0, 30, 200, 200}); // scrolled down by 30
    auto child = view({5, 40, 50, 50}, container);
    auto sibling = view({0, 100, 50, 50}, window);

    EXPECT_EQ(child->convertTo(CGPoint {1, 1}, nullptr), (CGPoint {16, 21}));
    EXPECT_EQ(child->convertTo(CGPoint {1, 1}, window), (CGPoint {16, 21}));
    EXPECT_EQ(child->convertTo(CGPoint {1, 1}, sibling), (CGPoint {16, -79}));
    EXPECT_EQ(sibling->convertFrom(CGPoint {1, 1}, child), (CGPoint {16, -79}));
    EXPECT_EQ(child->convertFrom(CGPoint {16, 21}, nullptr), (CGPoint {1, 1}));
    EXPECT_EQ(child->convertTo(CGRect {1, 1, 7, 8}, sibling), (CGRect {16, -79, 7, 8}));

    // Windows meet through their frames on screen.
    auto other = make<UIWindow>(scene);
    other->setFrame({400, 50, 100, 100});
    EXPECT_EQ(child->convertTo(CGPoint {1, 1}, other), (CGPoint {-284, 21}));

    // Without a window, the topmost superview stands in for it.
    auto loose = view({0, 0, 100, 100});
    auto inner = view({20, 30, 10, 10}, loose);
    EXPECT_EQ(inner->convertTo(CGPoint {1, 1}, nullptr), (CGPoint {21, 31}));
}

TEST_F(UIViewTest, HitTestingTakesTheFrontmostVisibleInteractiveView)
{
    window->setFrame({0, 0, 100, 100});
    auto back = view({0, 0, 100, 100}, window);
    auto front = view({0, 0, 50, 50}, window);
    auto inFront = view({10, 10, 10, 10}, front);

    EXPECT_EQ(window->hitTest({15, 15}, nullptr), inFront);
    EXPECT_EQ(window->hitTest({30, 30}, nullptr), front);
    EXPECT_EQ(window->hitTest({70, 70}, nullptr), back);
    EXPECT_EQ(window->hitTest({150, 10}, nullptr), nullptr);

    front->setIsUserInteractionEnabled(false); // takes its subviews with it
    EXPECT_EQ(window->hitTest({15, 15}, nullptr), back);
    front->setIsUserInteractionEnabled(true);
    front->setAlpha(0.005);
    EXPECT_EQ(window->hitTest({15, 15}, nullptr), back);
    front->setAlpha(1);
    front->setIsHidden(true);
    EXPECT_EQ(window->hitTest({15, 15}, nullptr), back);
    window->setIsHidden(true);
    EXPECT_EQ(window->hitTest({15, 15}, nullptr), nullptr);
}

TEST_F(UIViewTest, HitTestingRespectsBoundsOfSuperviews)
{
    window->setFrame({0, 0, 100, 100});
    auto clip = view({0, 0, 40, 40}, window);
    auto overhang = view({30, 30, 40, 40}, clip); // sticks out of its superview
    EXPECT_EQ(window->hitTest({35, 35}, nullptr), overhang);
    EXPECT_EQ(window->hitTest({50, 50}, nullptr), window);

    clip->setBounds({0, 25, 40, 40}); // scrolled: the overhang moves up
    EXPECT_EQ(window->hitTest({35, 10}, nullptr), overhang);
}

TEST_F(UIViewTest, SubviewOrderOperations)
{
    auto parent = view({0, 0, 10, 10});
    auto a = view({}, parent);
    auto b = view({}, parent);
    auto c = view({}, parent);
    using Views = std::vector<std::shared_ptr<UIView>>;

    parent->bringSubviewToFront(a);
    EXPECT_EQ(parent->subviews(), (Views {b, c, a}));
    parent->sendSubviewToBack(c);
    EXPECT_EQ(parent->subviews(), (Views {c, b, a}));
    parent->insertSubviewAbove(c, b);
    EXPECT_EQ(parent->subviews(), (Views {b, c, a}));
    parent->insertSubviewBelow(a, b);
    EXPECT_EQ(parent->subviews(), (Views {a, b, c}));
    parent->insertSubview(c, 0);
    EXPECT_EQ(parent->subviews(), (Views {c, a, b}));
    parent->addSubview(c); // already here: moves to the front
    EXPECT_EQ(parent->subviews(), (Views {a, b, c}));
    auto d = view({});
    parent->insertSubview(d, 99);
    EXPECT_EQ(parent->subviews().back(), d);

    auto other = view({});
    other->addSubview(b); // a view has one superview
    EXPECT_EQ(parent->subviews(), (Views {a, c, d}));
    EXPECT_EQ(b->superview(), other);
    b->removeFromSuperview();
    EXPECT_EQ(b->superview(), nullptr);
    EXPECT_TRUE(other->subviews().empty());
}

TEST_F(UIViewTest, AddingAViewIntoItsOwnSubtreeStops)
{
    auto parent = view({});
    auto child = view({}, parent);
    EXPECT_DEATH(child->addSubview(parent), "subview of itself");
    EXPECT_DEATH(parent->addSubview(parent), "subview of itself");
}

TEST_F(UIViewTest, MovesAnnounceWindowChangesToTheWholeSubtree)
{
    auto outer = make<LoggingView>("outer", CGRect {});
    auto inner = make<LoggingView>("inner", CGRect {});
    outer->addSubview(inner);
    g_log.clear();

    window->addSubview(outer);
    EXPECT_EQ(g_log, (std::vector<std::string> {"outer will enter", "inner will enter", "outer entered",
                                                "inner entered", "outer moved"}));
    EXPECT_EQ(inner->window(), window);

    // Within the same window only the superview changes.
    auto holder = view({}, window);
    g_log.clear();
    holder->addSubview(outer);
    EXPECT_EQ(g_log, (std::vector<std::string> {"outer moved"}));

    g_log.clear();
    outer->removeFromSuperview();
    EXPECT_EQ(g_log, (std::vector<std::string> {"outer will leave", "inner will leave", "outer left", "inner left",
                                                "outer moved"}));
    EXPECT_EQ(inner->window(), nullptr);
}

TEST_F(UIViewTest, LayoutRunsOnceForMarkedViewsOnly)
{
    auto outer = make<LoggingView>("outer", CGRect {0, 0, 100, 100});
    auto inner = make<LoggingView>("inner", CGRect {0, 0, 10, 10});
    outer->addSubview(inner);
    outer->layoutIfNeeded();
    EXPECT_EQ(outer->layouts, 1);
    EXPECT_EQ(inner->layouts, 1);
    outer->layoutIfNeeded();
    EXPECT_EQ(outer->layouts, 1);

    inner->setFrame({0, 0, 20, 20}); // a new size needs a new layout
    outer->setNeedsLayout();
    inner->layoutIfNeeded(); // reaches up to the marked superview
    EXPECT_EQ(outer->layouts, 2);
    EXPECT_EQ(inner->layouts, 2);

    inner->setCenter({50, 50}); // moving does not
    outer->layoutIfNeeded();
    EXPECT_EQ(inner->layouts, 2);
}

TEST_F(UIViewTest, ViewsTakeTheirWindowsTraits)
{
    auto child = view({}, window);
    auto grandchild = view({}, child);
    EXPECT_EQ(grandchild->traitCollection().userInterfaceStyle, UIUserInterfaceStyle::light);
    EXPECT_EQ(grandchild->traitCollection().preferredContentSizeCategory, UIContentSizeCategory::large());

    auto traits = scene->traitCollection();
    traits.userInterfaceStyle = UIUserInterfaceStyle::dark;
    traits.horizontalSizeClass = UIUserInterfaceSizeClass::compact;
    scene->setTraitCollection(traits);
    EXPECT_EQ(grandchild->traitCollection(), traits);

    child->removeFromSuperview();
    EXPECT_EQ(grandchild->traitCollection(), UITraitCollection {});
}

TEST(UIViewDeathTest, ViewsBelongToTheMainThread)
{
    EXPECT_DEATH(
        {
            auto done = Foundation::make<Foundation::DispatchSemaphore>(0);
            Foundation::DispatchQueue::global()->async([done] {
                make<UIView>();
                done->signal();
            });
            done->wait();
        },
        "UIView must be used from the main thread only");
}
