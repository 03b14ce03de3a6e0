#include "Basalwork/Interface/CATransform3D.hpp"
#include "Basalwork/Interface/CGAffineTransform.hpp"
#include "Basalwork/Interface/CGPoint.hpp"
#include "Basalwork/Interface/CGRect.hpp"
#include "Basalwork/Interface/CGSize.hpp"
#include "Basalwork/Interface/UIEdgeInsets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace Basalwork;
using UIKit::CGPoint;
using UIKit::CGRect;
using UIKit::CGSize;

TEST(Geometry, CentresAndInsetsAreMeasuredWithinTheShape)
{
    EXPECT_EQ(center(CGRect {10, 10, 100, 50}), (CGPoint {50, 25}));
    EXPECT_EQ(center(CGRect {0, 0, -100, 50}), (CGPoint {50, 25})); // normalised
    EXPECT_EQ(inset(CGSize {100, 50}, 10), (CGSize {90, 40}));       // once per dimension, not per side
    EXPECT_TRUE(isWiderThanTall(CGRect {0, 0, 100, 50}));
    EXPECT_FALSE(isWiderThanTall(CGRect {0, 0, -100, 50})); // the stored size, not normalised
    EXPECT_EQ(minDimension(CGRect {0, 0, -100, 50}), -100);

    auto insets = UIEdgeInsetsConstants::withDefault(4, std::nullopt, 2, std::nullopt, std::nullopt);
    EXPECT_EQ(insets, (UIKit::UIEdgeInsets {4, 4, 2, 4}));
    EXPECT_EQ(horizontal(UIEdgeInsetsConstants::withHorizontal(3, 1, 2)), 6);
    EXPECT_EQ(vertical(UIEdgeInsetsConstants::withHorizontal(3, 1, 2)), 3);
}

TEST(Geometry, RotationsTurnTheWayThePlatformDoes)
{
    auto quarter = CGAffineTransforms::withRotationAngleDegrees(90).apply(CGPoint {1, 0});
    EXPECT_NEAR(quarter.x, 0, 1e-12);
    EXPECT_NEAR(quarter.y, 1, 1e-12);

    // About y, x turns away from z: a row vector (1, 0, 0) goes to (cos, 0, -sin).
    auto flip = CATransform3Ds::yRotation(std::numbers::pi / 6);
    EXPECT_NEAR(flip.m11, std::cos(std::numbers::pi / 6), 1e-12);
    EXPECT_NEAR(flip.m13, -0.5, 1e-12);
    EXPECT_NEAR(flip.m31, 0.5, 1e-12);
    EXPECT_EQ(flip.m22, 1);
}
