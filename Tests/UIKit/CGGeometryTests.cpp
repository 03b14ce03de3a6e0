#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace UIKit;

namespace {

void expectNear(CGPoint actual, CGPoint expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
}

} // namespace

TEST(CGRect, NegativeSizesAreStandardizedForEdgesAndEquality)
{
    CGRect flipped {10, 20, -4, -6};
    EXPECT_EQ(flipped.minX(), 6);
    EXPECT_EQ(flipped.maxX(), 10);
    EXPECT_EQ(flipped.minY(), 14);
    EXPECT_EQ(flipped.midY(), 17);
    EXPECT_EQ(flipped.width(), 4);
    EXPECT_EQ(flipped, (CGRect {6, 14, 4, 6}));
    EXPECT_EQ(flipped.standardized(), (CGRect {6, 14, 4, 6}));
    EXPECT_EQ(flipped.offsetBy(1, 1), (CGRect {7, 15, 4, 6}));
}

TEST(CGRect, ContainmentIsHalfOpen)
{
    CGRect rect {0, 0, 10, 10};
    EXPECT_TRUE(rect.contains({0, 0}));
    EXPECT_TRUE(rect.contains({9.999, 9.999}));
    EXPECT_FALSE(rect.contains({10, 5}));
    EXPECT_FALSE(rect.contains({5, 10}));
    EXPECT_FALSE(CGRect::null().contains({0, 0}));
}

TEST(CGRect, IntersectionAndUnion)
{
    CGRect a {0, 0, 10, 10};
    EXPECT_EQ(a.intersection({5, 5, 10, 10}), (CGRect {5, 5, 5, 5}));
    EXPECT_TRUE(a.intersection({20, 0, 5, 5}).isNull());
    EXPECT_FALSE(a.intersects({20, 0, 5, 5}));
    // Touching edges meet in a rectangle without area.
    EXPECT_EQ(a.intersection({10, 0, 5, 5}), (CGRect {10, 0, 0, 5}));
    EXPECT_TRUE(a.intersection({10, 0, 5, 5}).isEmpty());
    // ...and so do not intersect, along an edge or at a corner.
    EXPECT_FALSE(a.intersects({10, 0, 5, 5}));
    EXPECT_FALSE(a.intersects({0, 10, 5, 5}));
    EXPECT_FALSE(a.intersects({10, 10, 5, 5}));
    EXPECT_TRUE(a.intersects({9.5, 9.5, 5, 5}));

    EXPECT_EQ(a.union_({20, -5, 5, 5}), (CGRect {0, -5, 25, 15}));
    EXPECT_EQ(a.union_(CGRect::null()), a);
    EXPECT_EQ(CGRect::null().union_(a), a);
    EXPECT_TRUE(CGRect::null().intersection(a).isNull());
}

TEST(CGRect, InsetsThatLeaveNothingGiveTheNullRectangle)
{
    CGRect a {0, 0, 10, 4};
    EXPECT_EQ(a.insetBy(1, 1), (CGRect {1, 1, 8, 2}));
    EXPECT_EQ(a.insetBy(-1, -1), (CGRect {-1, -1, 12, 6}));
    EXPECT_EQ(a.insetBy(2, 2), (CGRect {2, 2, 6, 0}));
    EXPECT_TRUE(a.insetBy(1, 3).isNull());
    EXPECT_TRUE(CGRect::null().offsetBy(1, 1).isNull());
    EXPECT_TRUE(CGRect::zero().isEmpty());
    EXPECT_FALSE(CGRect::zero().isNull());
}

TEST(CGAffineTransform, ConcatenationAppliesTheReceiverFirst)
{
    auto moveThenDouble = CGAffineTransform::translation(1, 2).concatenating(CGAffineTransform::scale(2, 2));
    auto doubleThenMove = CGAffineTransform::scale(2, 2).concatenating(CGAffineTransform::translation(1, 2));
    EXPECT_EQ(moveThenDouble.apply(CGPoint {1, 1}), (CGPoint {4, 6}));
    EXPECT_EQ(doubleThenMove.apply(CGPoint {1, 1}), (CGPoint {3, 4}));
    // Sizes do not move.
    EXPECT_EQ(moveThenDouble.apply(CGSize {3, 4}), (CGSize {6, 8}));
    EXPECT_TRUE(CGAffineTransform::identity().concatenating(CGAffineTransform::identity()).isIdentity());
}

TEST(CGAffineTransform, RotationTurnsXTowardsY)
{
    auto quarter = CGAffineTransform::rotation(std::numbers::pi / 2);
    expectNear(quarter.apply(CGPoint {1, 0}), {0, 1});
    expectNear(quarter.apply(CGPoint {0, 1}), {-1, 0});

    CGRect turned = quarter.apply(CGRect {0, 0, 4, 2});
    EXPECT_NEAR(turned.minX(), -2, 1e-12);
    EXPECT_NEAR(turned.minY(), 0, 1e-12);
    EXPECT_NEAR(turned.width(), 2, 1e-12);
    EXPECT_NEAR(turned.height(), 4, 1e-12);
    EXPECT_TRUE(quarter.apply(CGRect::null()).isNull());
}

TEST(CGAffineTransform, InversionUndoesAndLeavesSingularTransformsAlone)
{
    auto transform = CGAffineTransform::rotation(0.3)
                         .concatenating(CGAffineTransform::scale(2, 3))
                         .concatenating(CGAffineTransform::translation(5, -7));
    expectNear(transform.inverted().apply(transform.apply(CGPoint {1.5, -2})), {1.5, -2});
    auto roundTrip = transform.concatenating(transform.inverted());
    EXPECT_NEAR(roundTrip.a, 1, 1e-12);
    EXPECT_NEAR(roundTrip.tx, 0, 1e-12);

    auto flat = CGAffineTransform::scale(0, 1);
    EXPECT_EQ(flat.inverted(), flat);
}
