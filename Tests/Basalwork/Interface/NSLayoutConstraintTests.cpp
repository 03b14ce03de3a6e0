#include "Basalwork/Interface/Constrained.hpp"
#include "Basalwork/Interface/NSLayoutConstraint.hpp"
#include "Basalwork/Interface/UILayoutPriority.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <gtest/gtest.h>
#include <ostream>

using namespace Basalwork;
using Foundation::make;
using UIKit::NSLayoutConstraint;
using Attribute = UIKit::NSLayoutConstraint::Attribute;
using Relation = UIKit::NSLayoutConstraint::Relation;

namespace {

// Everything a constraint records, so that one comparison checks a constraint whole.
struct Shape {
    const void* first;
    Attribute firstAttribute;
    Relation relation;
    const void* second;
    Attribute secondAttribute;
    double multiplier;
    double constant;
    float priority;

    friend bool operator==(const Shape&, const Shape&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Shape& s)
    {
        return out << s.first << "." << static_cast<int>(s.firstAttribute) << " " << static_cast<int>(s.relation) << " "
                   << s.second << "." << static_cast<int>(s.secondAttribute) << " x" << s.multiplier << " + "
                   << s.constant << " @" << s.priority;
    }
};

Shape shape(const std::shared_ptr<NSLayoutConstraint>& c)
{
    return {c->firstItem().get(), c->firstAttribute(),  c->relation(), c->secondItem().get(), c->secondAttribute(),
            c->multiplier(),      c->constant(),        c->priority().rawValue};
}

// Restores the application-wide priority however the test ends.
struct HighestPriority {
    explicit HighestPriority(float value) { UILayoutPriorities::setHighest({value}); }
    ~HighestPriority() { UILayoutPriorities::setHighest({999}); }
};

class LayoutHelpers : public testing::Test {
protected:
    std::shared_ptr<UIKit::UIView> container = make<UIKit::UIView>(UIKit::CGRect {0, 0, 320, 480});
    std::shared_ptr<UIKit::UIView> subview = make<UIKit::UIView>();
    const UIKit::UIView* c = container.get();
    const UIKit::UIView* s = subview.get();
    const UIKit::UILayoutGuide* margins = container->layoutMarginsGuide().get();
};

} // namespace

TEST_F(LayoutHelpers, EdgeConstraintsPinEverySideInwardsAtTheHighestPriority)
{
    int completions = 0;
    addSubviewWithEdgeContraints(*container, subview, LayoutInsets::withAll(8), [&](const EdgeConstraints& edges) {
        ++completions;
        EXPECT_TRUE(edges.leading()->isActive() && edges.trailing()->isActive() && edges.top()->isActive()
                    && edges.bottom()->isActive());
        EXPECT_EQ(shape(edges.leading()), (Shape {s, Attribute::leading, Relation::equal, c, Attribute::leading, 1, 8, 999}));
        EXPECT_EQ(shape(edges.trailing()), (Shape {c, Attribute::trailing, Relation::equal, s, Attribute::trailing, 1, 8, 999}));
        EXPECT_EQ(shape(edges.top()), (Shape {s, Attribute::top, Relation::equal, c, Attribute::top, 1, 8, 999}));
        EXPECT_EQ(shape(edges.bottom()), (Shape {c, Attribute::bottom, Relation::equal, s, Attribute::bottom, 1, 8, 999}));
    });
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(subview->superview(), container);
    EXPECT_FALSE(subview->translatesAutoresizingMaskIntoConstraints());
    EXPECT_EQ(container->constraints().size(), 4u);

    // Without a completion the constraints are made and activated all the same; margins pin to the guide.
    auto other = make<UIKit::UIView>();
    addSubviewWithMarginContraints(*container, other, LayoutInsets::withHorizontal(16, 4));
    ASSERT_EQ(container->constraints().size(), 8u);
    EXPECT_EQ(shape(container->constraints()[5]),
              (Shape {margins, Attribute::trailing, Relation::equal, other.get(), Attribute::trailing, 1, 16, 999}));
    EXPECT_EQ(shape(container->constraints()[6]),
              (Shape {other.get(), Attribute::top, Relation::equal, margins, Attribute::top, 1, 4, 999}));
}

TEST_F(LayoutHelpers, AChangedHighestPriorityReachesOnlyConstraintsMadeAfterwards)
{
    addSubviewWithSizeAndCenterConstraints(*container, subview);
    auto before = container->constraints();
    std::optional<SizeAndCenterConstraints> after;
    {
        HighestPriority lowered(500);
        auto second = make<UIKit::UIView>();
        addSubviewWithSizeAndCenterConstraints(*container, second, [&](const auto& made) { after = made; });
    }
    for (const auto& constraint : before)
        EXPECT_EQ(constraint->priority().rawValue, 999);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width()->priority().rawValue, 500);
    EXPECT_EQ(shape(after->height()).first, c); // other.height = view.height
    EXPECT_EQ(shape(after->centerY()).first, c);
}

TEST_F(LayoutHelpers, CentringKeepsTheSubviewBetweenEdgesWithInsetsCountedInwards)
{
    std::optional<CenterInConstraints> made;
    addSubviewCentered(*container, subview, LayoutInsets(4, 6, 8, 10), 200, [&](const auto& m) { made = m; });
    ASSERT_TRUE(made);
    EXPECT_EQ(shape(made->centerX()), (Shape {s, Attribute::centerX, Relation::equal, c, Attribute::centerX, 1, 0, 999}));
    EXPECT_EQ(shape(made->maxWidth()),
              (Shape {s, Attribute::width, Relation::lessThanOrEqual, nullptr, Attribute::notAnAttribute, 1, 200, 999}));
    EXPECT_EQ(shape(made->leading()),
              (Shape {s, Attribute::leading, Relation::greaterThanOrEqual, c, Attribute::leading, 1, 4, 999}));
    EXPECT_EQ(shape(made->trailing()),
              (Shape {s, Attribute::trailing, Relation::lessThanOrEqual, c, Attribute::trailing, 1, -6, 999}));
    EXPECT_EQ(shape(made->bottom()),
              (Shape {s, Attribute::bottom, Relation::lessThanOrEqual, c, Attribute::bottom, 1, -10, 999}));
    EXPECT_EQ(container->constraints().size(), 6u);
    EXPECT_EQ(subview->constraints(), (std::vector {made->maxWidth()})); // a constant needs no other view

    auto inMargins = make<UIKit::UIView>();
    addSubviewCenteredVerticallyInMargins(*container, inMargins, LayoutInsets::zero(), 200, [&](const auto& m) { made = m; });
    EXPECT_EQ(shape(made->centerY()),
              (Shape {inMargins.get(), Attribute::centerY, Relation::equal, margins, Attribute::centerY, 1, 0, 999}));
    EXPECT_EQ(shape(made->leading()),
              (Shape {inMargins.get(), Attribute::leading, Relation::equal, margins, Attribute::leading, 1, 0, 999}));
    EXPECT_EQ(shape(made->top()).relation, Relation::greaterThanOrEqual);
}

TEST_F(LayoutHelpers, HorizontallyLimitedCentringYieldsToTheWidthLimitAndLeavesCentreYOff)
{
    std::optional<CenterInConstraints> made;
    addSubviewCenteredHorizontallyLimitedToMargins(*container, subview, LayoutInsets(4, 6, 8, 10), 300,
                                                   [&](const auto& m) { made = m; });
    ASSERT_TRUE(made);
    EXPECT_EQ(shape(made->centerY()), (Shape {s, Attribute::centerY, Relation::equal, c, Attribute::centerY, 1, 0, 1}));
    EXPECT_FALSE(made->centerY()->isActive());
    EXPECT_EQ(made->maxWidth()->priority().rawValue, 999);
    EXPECT_EQ(shape(made->leading()),
              (Shape {s, Attribute::leading, Relation::equal, margins, Attribute::leading, 1, 4, 998}));
    EXPECT_EQ(shape(made->trailing()),
              (Shape {margins, Attribute::trailing, Relation::equal, s, Attribute::trailing, 1, 6, 998}));
    EXPECT_EQ(shape(made->bottom()),
              (Shape {margins, Attribute::bottom, Relation::equal, s, Attribute::bottom, 1, 10, 999}));
    EXPECT_EQ(container->constraints().size(), 5u);
}

TEST_F(LayoutHelpers, AspectRatiosScaleTheHeightFromTheWidth)
{
    container->addSubview(subview);
    auto ratio = constrain(*subview, 4, 3, UIKit::UILayoutPriority::defaultHigh());
    EXPECT_EQ(ratio.width(), nullptr);
    EXPECT_FALSE(isActive(ratio.width()));
    EXPECT_TRUE(isInactive(ratio.width()));
    EXPECT_EQ(shape(ratio.height()), (Shape {s, Attribute::height, Relation::equal, s, Attribute::width, 0.75, 0, 750}));
    EXPECT_TRUE(isActive(ratio.height()));
    EXPECT_FALSE(subview->translatesAutoresizingMaskIntoConstraints());

    auto sized = constrain(*subview, 120, {900}, 0.5, {250});
    EXPECT_EQ(shape(sized.width()),
              (Shape {s, Attribute::width, Relation::equal, nullptr, Attribute::notAnAttribute, 1, 120, 900}));
    EXPECT_EQ(shape(sized.height()), (Shape {s, Attribute::height, Relation::equal, s, Attribute::width, 0.5, 0, 250}));
    EXPECT_EQ(subview->constraints().size(), 3u);
}

TEST_F(LayoutHelpers, ConstrainedKeepsAViewInsideAGuideFromAboveAndBelow)
{
    container->addSubview(subview);
    auto constrained = Constrained<UIKit::UIView>::constrain(subview, *container->safeAreaLayoutGuide(), 12);
    const void* guide = container->safeAreaLayoutGuide().get();
    EXPECT_EQ(shape(constrained.topConstraint()),
              (Shape {s, Attribute::top, Relation::greaterThanOrEqual, guide, Attribute::top, 1, 12, 1}));
    EXPECT_EQ(shape(constrained.bottomConstraint()),
              (Shape {guide, Attribute::bottom, Relation::greaterThanOrEqual, s, Attribute::bottom, 1, 12, 1}));
    EXPECT_TRUE(constrained.topConstraint()->isActive() && constrained.bottomConstraint()->isActive());
    EXPECT_TRUE(subview->translatesAutoresizingMaskIntoConstraints());

    constrained.set(UIKit::UILayoutPriority::defaultLow());
    for (const auto& constraint : constrained.topBottomConstraints())
        EXPECT_EQ(constraint->priority(), UIKit::UILayoutPriority::defaultLow());
}
