#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::String;

namespace {

constexpr CGFloat cell = TextGrid::columnWidth;
constexpr CGFloat line = TextGrid::lineHeight;

std::shared_ptr<UIView> constrained()
{
    auto view = make<UIView>();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return view;
}

std::shared_ptr<UILabel> label(const char* text, std::int64_t lines = 1)
{
    auto made = make<UILabel>();
    made->setText(String(text));
    made->setNumberOfLines(lines);
    made->setTranslatesAutoresizingMaskIntoConstraints(false);
    return made;
}

void activate(std::vector<std::shared_ptr<NSLayoutConstraint>> constraints)
{
    NSLayoutConstraint::activate(constraints);
}

// Collects what the layout log says while it lives.
struct LayoutLog {
    LayoutLog()
    {
        previous = Foundation::Logger::setCaptureSink([this](const Foundation::LogRecord& record) {
            if (record.category == "LayoutConstraints")
                messages.push_back(record.message);
        });
    }
    ~LayoutLog() { Foundation::Logger::setCaptureSink(previous); }
    std::vector<std::string> messages;
    Foundation::Logger::Sink previous;
};

} // namespace

TEST(AutoLayout, ClassicLayoutsSolveToTheFramesAPersonWouldDraw)
{
    auto root = make<UIView>(CGRect {0, 0, 400, 300});
    auto centred = constrained();
    auto pinned = constrained();
    auto left = constrained();
    auto right = constrained();
    auto ratio = constrained();
    for (const auto& view : {centred, pinned, left, right, ratio})
        root->addSubview(view);
    auto centredWidth = centred->widthAnchor().constraintEqualToConstant(100);
    activate({
        // Centred, 100 x 50.
        centred->centerXAnchor().constraintEqualTo(root->centerXAnchor()),
        centred->centerYAnchor().constraintEqualTo(root->centerYAnchor()),
        centredWidth,
        centred->heightAnchor().constraintEqualToConstant(50),
        // Pinned 20 in from the top, left and right, 30 high.
        pinned->topAnchor().constraintEqualTo(root->topAnchor(), 20),
        pinned->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 20),
        root->trailingAnchor().constraintEqualTo(pinned->trailingAnchor(), 20),
        pinned->heightAnchor().constraintEqualToConstant(30),
        // Two of equal width side by side along the bottom with 10 between and 10 around.
        left->leadingAnchor().constraintEqualTo(root->leadingAnchor(), 10),
        right->leadingAnchor().constraintEqualTo(left->trailingAnchor(), 10),
        root->trailingAnchor().constraintEqualTo(right->trailingAnchor(), 10),
        left->widthAnchor().constraintEqualTo(right->widthAnchor()),
        left->bottomAnchor().constraintEqualTo(root->bottomAnchor(), -10),
        right->bottomAnchor().constraintEqualTo(left->bottomAnchor()),
        left->heightAnchor().constraintEqualToConstant(40),
        right->heightAnchor().constraintEqualTo(left->heightAnchor()),
        // Half as high as wide, as wide as it may be up to 120, and no wider than the pinned view.
        ratio->heightAnchor().constraintEqualToMultiplier(ratio->widthAnchor(), 0.5),
        ratio->widthAnchor().constraintLessThanOrEqualToConstant(120),
        ratio->topAnchor().constraintEqualTo(pinned->bottomAnchor(), 10),
        ratio->leadingAnchor().constraintEqualTo(pinned->leadingAnchor()),
    });
    auto wide = ratio->widthAnchor().constraintEqualToConstant(1000);
    wide->setPriority(UILayoutPriority::defaultLow());
    wide->setIsActive(true);
    root->layoutIfNeeded();

    EXPECT_EQ(centred->frame(), (CGRect {150, 125, 100, 50}));
    EXPECT_EQ(pinned->frame(), (CGRect {20, 20, 360, 30}));
    EXPECT_EQ(left->frame(), (CGRect {10, 250, 185, 40}));
    EXPECT_EQ(right->frame(), (CGRect {205, 250, 185, 40}));
    EXPECT_EQ(ratio->frame(), (CGRect {20, 60, 120, 60}));

    // One constant changes: only what depends on it moves.
    centredWidth->setConstant(200);
    root->layoutIfNeeded();
    EXPECT_EQ(centred->frame(), (CGRect {100, 125, 200, 50}));
    EXPECT_EQ(pinned->frame(), (CGRect {20, 20, 360, 30}));

    // The root's own size is what it is given; what hangs on it follows.
    root->setFrame({0, 0, 600, 300});
    root->layoutIfNeeded();
    EXPECT_EQ(pinned->frame(), (CGRect {20, 20, 560, 30}));
    EXPECT_EQ(right->frame(), (CGRect {305, 250, 285, 40}));
}

TEST(AutoLayout, InequalitiesGiveWayByPriority)
{
    auto root = make<UIView>(CGRect {0, 0, 300, 100});
    auto view = constrained();
    root->addSubview(view);
    auto atLeast = view->widthAnchor().constraintGreaterThanOrEqualToConstant(200);
    auto atMost = view->widthAnchor().constraintLessThanOrEqualToConstant(150);
    atMost->setPriority(UILayoutPriority::defaultHigh());
    auto wish = view->widthAnchor().constraintEqualToConstant(250);
    wish->setPriority(UILayoutPriority::defaultLow());
    activate({atLeast, atMost, wish, view->heightAnchor().constraintEqualToConstant(10)});
    root->layoutIfNeeded();
    // At least 200 is required; at most 150 (750) outweighs 250 (250).
    EXPECT_EQ(view->frame().size.width, 200);
    atMost->setPriority(UILayoutPriority {200});
    root->layoutIfNeeded();
    EXPECT_EQ(view->frame().size.width, 250);
}

TEST(AutoLayout, AConflictDropsOneRequiredConstraintAndSaysWhich)
{
    LayoutLog log;
    auto root = make<UIView>(CGRect {0, 0, 300, 100});
    auto view = constrained();
    root->addSubview(view);
    auto narrow = view->widthAnchor().constraintEqualToConstant(100);
    auto wide = view->widthAnchor().constraintEqualToConstant(200);
    wide->setIdentifier(String("wide"));
    activate({narrow, view->heightAnchor().constraintEqualToConstant(10)});
    root->layoutIfNeeded();
    wide->setIsActive(true);
    root->layoutIfNeeded();

    EXPECT_EQ(view->frame().size.width, 100);
    EXPECT_EQ(view->frame().size.height, 10);
    ASSERT_EQ(log.messages.size(), 1u);
    const std::string& message = log.messages.front();
    EXPECT_NE(message.find("Unable to simultaneously satisfy constraints."), std::string::npos);
    EXPECT_NE(message.find(narrow->description()), std::string::npos);
    const auto breaking = message.find("Will attempt to recover by breaking constraint");
    ASSERT_NE(breaking, std::string::npos);
    EXPECT_NE(message.find("'wide'", breaking), std::string::npos);
    EXPECT_TRUE(wide->isActive());

    // The broken constraint is not tried again until it changes; when it can hold again, it does.
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(log.messages.size(), 1u);
    narrow->setIsActive(false);
    wide->setConstant(150);
    root->layoutIfNeeded();
    EXPECT_EQ(view->frame().size.width, 150);
}

TEST(AutoLayout, ConstraintsReachAcrossTheTreeAndThroughGuides)
{
    auto root = make<UIView>(CGRect {0, 0, 400, 400});
    root->setLayoutMargins({10, 20, 30, 40});
    root->setSafeAreaInsets({50, 0, 0, 0});
    auto outer = constrained();
    auto inner = constrained();
    auto other = constrained();
    root->addSubview(outer);
    outer->addSubview(inner);
    root->addSubview(other);
    auto guide = make<UILayoutGuide>();
    root->addLayoutGuide(guide);
    activate({
        outer->topAnchor().constraintEqualTo(root->safeAreaLayoutGuide()->topAnchor()),
        outer->leadingAnchor().constraintEqualTo(root->layoutMarginsGuide()->leadingAnchor()),
        outer->trailingAnchor().constraintEqualTo(root->layoutMarginsGuide()->trailingAnchor()),
        outer->heightAnchor().constraintEqualToConstant(100),
        inner->centerXAnchor().constraintEqualTo(outer->centerXAnchor()),
        inner->topAnchor().constraintEqualTo(outer->topAnchor(), 5),
        inner->widthAnchor().constraintEqualToConstant(40),
        inner->heightAnchor().constraintEqualToConstant(40),
        // A sibling of `outer` lined up with a view inside it; a guide spans the space below.
        other->leadingAnchor().constraintEqualTo(inner->leadingAnchor()),
        other->topAnchor().constraintEqualTo(inner->bottomAnchor(), 10),
        other->widthAnchor().constraintEqualTo(inner->widthAnchor()),
        other->heightAnchor().constraintEqualToConstant(10),
        guide->topAnchor().constraintEqualTo(other->bottomAnchor()),
        guide->bottomAnchor().constraintEqualTo(root->layoutMarginsGuide()->bottomAnchor()),
        guide->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        guide->widthAnchor().constraintEqualToConstant(1),
    });
    root->layoutIfNeeded();
    EXPECT_EQ(outer->frame(), (CGRect {20, 50, 340, 100}));
    EXPECT_EQ(inner->frame(), (CGRect {150, 5, 40, 40}));
    EXPECT_EQ(other->frame(), (CGRect {170, 105, 40, 10}));

    // A subview's safe area is what its superview's leaves out of it.
    EXPECT_EQ(outer->safeAreaInsets(), (UIEdgeInsets {}));
    auto top = make<UIView>(CGRect {0, 0, 400, 80});
    root->addSubview(top);
    EXPECT_EQ(top->safeAreaInsets(), (UIEdgeInsets {50, 0, 0, 0}));
}

TEST(AutoLayout, AutoresizingMasksBecomeConstraints)
{
    auto root = make<UIView>(CGRect {0, 0, 200, 200});
    auto panel = constrained();
    root->addSubview(panel);
    auto panelWidth = panel->widthAnchor().constraintEqualToConstant(100);
    activate({
        panel->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        panel->topAnchor().constraintEqualTo(root->topAnchor()),
        panelWidth,
        panel->heightAnchor().constraintEqualToConstant(100),
    });
    root->layoutIfNeeded();
    // A translating view keeps its frame and follows its superview's size as its mask says; a
    // constrained view inside it is placed against that.
    auto flexible = make<UIView>(CGRect {10, 10, 80, 80});
    flexible->setAutoresizingMask(UIView::AutoresizingMask::flexibleWidth() | UIView::AutoresizingMask::flexibleBottomMargin());
    panel->addSubview(flexible);
    auto badge = constrained();
    flexible->addSubview(badge);
    activate({
        badge->trailingAnchor().constraintEqualTo(flexible->trailingAnchor()),
        badge->topAnchor().constraintEqualTo(flexible->topAnchor()),
        badge->widthAnchor().constraintEqualToConstant(10),
        badge->heightAnchor().constraintEqualToConstant(10),
    });
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame(), (CGRect {70, 0, 10, 10}));
    panelWidth->setConstant(150);
    root->layoutIfNeeded();
    EXPECT_EQ(panel->frame().size.width, 150);
    EXPECT_EQ(flexible->frame(), (CGRect {10, 10, 130, 80}));
    EXPECT_EQ(badge->frame(), (CGRect {120, 0, 10, 10}));

    // A frame set from outside is where the view then stays.
    flexible->setFrame({0, 0, 50, 50});
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame(), (CGRect {40, 0, 10, 10}));
}

TEST(AutoLayout, LabelsAreAsLargeAsTheirTextAndWrapInAFixedWidth)
{
    auto root = make<UIView>(CGRect {0, 0, 400, 400});
    auto title = label("Hello, world");
    auto body = label("The quick brown fox jumps over the lazy dog", 0);
    root->addSubview(title);
    root->addSubview(body);
    auto bodyWidth = body->widthAnchor().constraintEqualToConstant(10 * cell);
    activate({
        title->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        title->topAnchor().constraintEqualTo(root->topAnchor()),
        body->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        body->topAnchor().constraintEqualTo(title->bottomAnchor()),
        bodyWidth,
    });
    root->layoutIfNeeded();
    EXPECT_EQ(title->frame(), (CGRect {0, 0, 12 * cell, line}));
    // "The quick" "brown fox" "jumps over" "the lazy" "dog"
    EXPECT_EQ(body->frame(), (CGRect {0, line, 10 * cell, 5 * line}));

    body->setText(String("Short"));
    root->layoutIfNeeded();
    EXPECT_EQ(body->frame().size.height, line);

    // Three lines at most, and wider when the width allows.
    body->setText(String("one two three four five six"));
    body->setNumberOfLines(3);
    bodyWidth->setConstant(8 * cell);
    root->layoutIfNeeded();
    EXPECT_EQ(body->frame().size.height, 3 * line);
    // The last line shows what it can of the rest.
    EXPECT_EQ(TextGrid::lines(*body->text(), 8 * cell, body->lineBreakMode(), 3).back(), String("four fi…"));
}

TEST(AutoLayout, AWrappingLabelHiddenAndShownAgainTakesItsWholeWidthBack)
{
    auto root = make<UIView>(CGRect {0, 0, 400, 400});
    auto stack = make<UIStackView>();
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto value = label("Bank of Nowhere", 0);
    stack->addArrangedSubview(value);
    root->addSubview(stack);
    activate({
        stack->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        stack->trailingAnchor().constraintLessThanOrEqualTo(root->trailingAnchor()),
        stack->topAnchor().constraintEqualTo(root->topAnchor()),
    });
    root->layoutIfNeeded();
    EXPECT_EQ(value->frame().size, (CGSize {15 * cell, line}));

    // Hidden, it has no width; that is no width to wrap its text at once it shows again.
    value->setIsHidden(true);
    root->layoutIfNeeded();
    value->setIsHidden(false);
    root->layoutIfNeeded();
    EXPECT_EQ(value->frame().size, (CGSize {15 * cell, line}));
}

TEST(AutoLayout, StackViewsArrangeLabelsUnderEachDistribution)
{
    using Distribution = UIStackView::Distribution;
    auto arrange = [](Distribution distribution, CGFloat width) {
        auto root = make<UIView>(CGRect {0, 0, 400, 100});
        auto stack = make<UIStackView>();
        stack->setTranslatesAutoresizingMaskIntoConstraints(false);
        stack->setDistribution(distribution);
        stack->setSpacing(10);
        root->addSubview(stack);
        for (const char* text : {"a", "bbb", "cc"})
            stack->addArrangedSubview(label(text));
        activate({
            stack->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
            stack->topAnchor().constraintEqualTo(root->topAnchor()),
            stack->widthAnchor().constraintEqualToConstant(width),
        });
        root->layoutIfNeeded();
        std::vector<CGRect> frames;
        for (const auto& view : stack->arrangedSubviews())
            frames.push_back(view->frame());
        frames.push_back(stack->frame());
        return frames;
    };
    // Labels of 10, 30 and 20 points with 10 between them take 80; the stack is 140.
    auto fill = arrange(Distribution::fill, 140);
    EXPECT_EQ(fill[3], (CGRect {0, 0, 140, line}));
    EXPECT_EQ(fill[0].size.width + fill[1].size.width + fill[2].size.width, 120);
    EXPECT_EQ(fill[2].origin.x + fill[2].size.width, 140);

    auto equally = arrange(Distribution::fillEqually, 140);
    EXPECT_EQ(equally[0], (CGRect {0, 0, 40, line}));
    EXPECT_EQ(equally[1], (CGRect {50, 0, 40, line}));
    EXPECT_EQ(equally[2], (CGRect {100, 0, 40, line}));

    auto proportionally = arrange(Distribution::fillProportionally, 140);
    EXPECT_EQ(proportionally[0].size.width, 20);
    EXPECT_EQ(proportionally[1].size.width, 60);
    EXPECT_EQ(proportionally[2].size.width, 40);

    auto spacing = arrange(Distribution::equalSpacing, 140);
    EXPECT_EQ(spacing[0], (CGRect {0, 0, 10, line}));
    EXPECT_EQ(spacing[1], (CGRect {50, 0, 30, line}));
    EXPECT_EQ(spacing[2], (CGRect {120, 0, 20, line}));

    auto centering = arrange(Distribution::equalCentering, 140);
    const auto middle = [](const CGRect& frame) { return frame.origin.x + frame.size.width / 2; };
    EXPECT_EQ(middle(centering[1]) - middle(centering[0]), middle(centering[2]) - middle(centering[1]));
    EXPECT_EQ(centering[2].origin.x + centering[2].size.width, 140);

    // Too narrow: the labels give up their room by compression resistance, none below zero.
    auto squeezed = arrange(Distribution::fill, 60);
    EXPECT_EQ(squeezed[0].size.width + squeezed[1].size.width + squeezed[2].size.width, 40);
}

TEST(AutoLayout, StackViewsAlignAcrossAndSkipHiddenViews)
{
    auto root = make<UIView>(CGRect {0, 0, 400, 400});
    auto stack = make<UIStackView>();
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    stack->setAxis(NSLayoutConstraint::Axis::vertical);
    stack->setAlignment(UIStackView::Alignment::center);
    stack->setSpacing(5);
    root->addSubview(stack);
    auto first = label("first");
    auto hidden = label("hidden");
    auto wide = label("a wider one");
    for (const auto& view : {first, hidden, wide})
        stack->addArrangedSubview(view);
    hidden->setIsHidden(true);
    activate({stack->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
              stack->topAnchor().constraintEqualTo(root->topAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(stack->frame(), (CGRect {0, 0, 11 * cell, 2 * line + 5}));
    EXPECT_EQ(first->frame(), (CGRect {30, 0, 5 * cell, line}));
    EXPECT_EQ(wide->frame(), (CGRect {0, line + 5, 11 * cell, line}));
    EXPECT_EQ(hidden->frame().size.height, 0);

    hidden->setIsHidden(false);
    root->layoutIfNeeded();
    EXPECT_EQ(stack->frame().size.height, 3 * line + 10);
    EXPECT_EQ(hidden->frame(), (CGRect {25, line + 5, 6 * cell, line}));
}

TEST(AutoLayout, ScrollViewsTakeTheirContentSizeFromTheirContent)
{
    auto root = make<UIView>(CGRect {0, 0, 300, 200});
    auto scroll = make<UIScrollView>();
    scroll->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(scroll);
    auto content = constrained();
    scroll->addSubview(content);
    activate({
        scroll->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
        scroll->trailingAnchor().constraintEqualTo(root->trailingAnchor()),
        scroll->topAnchor().constraintEqualTo(root->topAnchor()),
        scroll->bottomAnchor().constraintEqualTo(root->bottomAnchor()),
        content->leadingAnchor().constraintEqualTo(scroll->contentLayoutGuide()->leadingAnchor()),
        content->trailingAnchor().constraintEqualTo(scroll->contentLayoutGuide()->trailingAnchor()),
        content->topAnchor().constraintEqualTo(scroll->topAnchor(), 10),
        content->bottomAnchor().constraintEqualTo(scroll->bottomAnchor(), -10),
        content->widthAnchor().constraintEqualTo(scroll->frameLayoutGuide()->widthAnchor()),
        content->heightAnchor().constraintEqualToConstant(1000),
    });
    root->layoutIfNeeded();
    EXPECT_EQ(scroll->frame(), (CGRect {0, 0, 300, 200}));
    EXPECT_EQ(content->frame(), (CGRect {0, 10, 300, 1000}));
    EXPECT_EQ(scroll->contentSize(), (CGSize {300, 1020}));

    // Scrolling moves the view over the content, not the content.
    scroll->setContentOffset({0, 400});
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), (CGRect {0, 10, 300, 1000}));
}

namespace {

class Recorded : public UIView {
public:
    std::vector<std::string>* calls = nullptr;
    std::string name;
    std::function<void()> onLayout;

    void updateConstraints() override
    {
        calls->push_back("update " + name);
        UIView::updateConstraints();
    }
    void layoutSubviews() override
    {
        UIView::layoutSubviews();
        calls->push_back("layout " + name);
        if (onLayout)
            onLayout();
    }

protected:
    friend Foundation::Construct;
    Recorded() = default;
};

} // namespace

TEST(AutoLayout, TheLayoutPassUpdatesConstraintsUpwardsAndLaysOutDownwards)
{
    std::vector<std::string> calls;
    auto root = make<Recorded>();
    root->setFrame({0, 0, 100, 100});
    root->calls = &calls;
    root->name = "root";
    auto child = make<Recorded>();
    child->calls = &calls;
    child->name = "child";
    child->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(child);
    auto height = child->heightAnchor().constraintEqualToConstant(10);
    activate({child->topAnchor().constraintEqualTo(root->topAnchor()), child->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
              child->widthAnchor().constraintEqualToConstant(10), height});
    root->layoutIfNeeded();
    EXPECT_EQ(calls, (std::vector<std::string> {"update child", "update root", "layout root", "layout child"}));

    // A constraint changed while laying out is laid out in the same call.
    calls.clear();
    root->onLayout = [&] {
        if (height->constant() == 10)
            height->setConstant(30);
    };
    child->setNeedsUpdateConstraints();
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame().size.height, 30);
    EXPECT_EQ(calls.front(), "update child");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "update root"), 0);

    // A layout that keeps changing its own constraints stops after a few rounds.
    root->onLayout = [&] { height->setConstant(height->constant() + 1); };
    root->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_LT(height->constant(), 50);
}

TEST(AutoLayout, FittingSizesComeFromTheViewsOwnConstraints)
{
    auto card = make<UIView>(CGRect {0, 0, 10, 10});
    auto title = label("Title");
    auto body = label("one two three four five six seven", 0);
    card->addSubview(title);
    card->addSubview(body);
    activate({
        title->topAnchor().constraintEqualTo(card->topAnchor(), 8),
        title->leadingAnchor().constraintEqualTo(card->leadingAnchor(), 8),
        card->trailingAnchor().constraintGreaterThanOrEqualTo(title->trailingAnchor(), 8),
        body->topAnchor().constraintEqualTo(title->bottomAnchor(), 4),
        body->leadingAnchor().constraintEqualTo(card->leadingAnchor(), 8),
        card->trailingAnchor().constraintEqualTo(body->trailingAnchor(), 8),
        card->bottomAnchor().constraintEqualTo(body->bottomAnchor(), 8),
    });
    // As narrow as it gets: the body keeps its one line.
    EXPECT_EQ(card->systemLayoutSizeFitting(UIView::layoutFittingCompressedSize()), (CGSize {16 + 33 * cell, 20 + 2 * line}));
    // 116 wide leaves 100 for text: "one two" "three four" "five six" "seven".
    EXPECT_EQ(card->systemLayoutSizeFitting({116, 0}, UILayoutPriority::required(), UILayoutPriority::fittingSizeLevel()),
              (CGSize {116, 20 + 5 * line}));
    // Fitting neither moves nor resizes the view.
    EXPECT_EQ(card->frame(), (CGRect {0, 0, 10, 10}));
    EXPECT_EQ(title->sizeThatFits({}), (CGSize {5 * cell, line}));
}
