#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIView.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

namespace {

struct Tree {
    std::shared_ptr<UIView> root = make<UIView>(CGRect {0, 0, 300, 300});
    std::shared_ptr<UIView> left = make<UIView>(CGRect {0, 0, 100, 100});
    std::shared_ptr<UIView> leftChild = make<UIView>(CGRect {0, 0, 50, 50});
    std::shared_ptr<UIView> right = make<UIView>(CGRect {100, 0, 100, 100});

    Tree()
    {
        root->addSubview(left);
        left->addSubview(leftChild);
        root->addSubview(right);
    }
};

} // namespace

TEST(NSLayoutConstraint, ActiveConstraintsLiveOnTheClosestCommonAncestor)
{
    Tree tree;
    auto cousins = tree.leftChild->leadingAnchor().constraintEqualTo(tree.right->trailingAnchor(), 8);
    auto inside = tree.leftChild->topAnchor().constraintEqualTo(tree.left->layoutMarginsGuide()->topAnchor());
    auto width = tree.leftChild->widthAnchor().constraintEqualToConstant(20);
    EXPECT_FALSE(cousins->isActive());
    NSLayoutConstraint::activate({cousins, inside, width});

    EXPECT_EQ(cousins->installedOn(), tree.root);
    EXPECT_EQ(inside->installedOn(), tree.left); // a guide counts as its owning view
    EXPECT_EQ(width->installedOn(), tree.leftChild);
    EXPECT_EQ(tree.root->constraints(), (std::vector {cousins}));
    EXPECT_EQ(cousins->firstItem(), tree.leftChild);
    EXPECT_EQ(cousins->secondAttribute(), NSLayoutConstraint::Attribute::trailing);
    EXPECT_EQ(cousins->constant(), 8);
    EXPECT_EQ(width->secondItem(), nullptr);
    EXPECT_EQ(width->secondAttribute(), NSLayoutConstraint::Attribute::notAnAttribute);

    NSLayoutConstraint::deactivate({cousins, width});
    EXPECT_FALSE(cousins->isActive());
    EXPECT_TRUE(tree.root->constraints().empty());
    EXPECT_TRUE(tree.leftChild->constraints().empty());
    EXPECT_TRUE(inside->isActive());
}

TEST(NSLayoutConstraint, ALeavingViewTakesTheConstraintsReachingIntoItFromOutside)
{
    Tree tree;
    auto intoSubtree = tree.leftChild->leadingAnchor().constraintEqualTo(tree.right->leadingAnchor());
    auto toParent = tree.left->topAnchor().constraintEqualTo(tree.root->topAnchor());
    auto withinSubtree = tree.leftChild->topAnchor().constraintEqualTo(tree.left->topAnchor());
    auto unrelated = tree.right->widthAnchor().constraintEqualTo(tree.root->widthAnchor());
    NSLayoutConstraint::activate({intoSubtree, toParent, withinSubtree, unrelated});

    tree.left->removeFromSuperview();
    EXPECT_FALSE(intoSubtree->isActive());
    EXPECT_FALSE(toParent->isActive());
    EXPECT_TRUE(withinSubtree->isActive()); // it moves with the subtree
    EXPECT_TRUE(unrelated->isActive());

    // Moving a view to another superview breaks its outside constraints just the same.
    auto again = tree.right->topAnchor().constraintEqualTo(tree.root->topAnchor());
    again->setIsActive(true);
    tree.root->addSubview(tree.left);
    tree.left->addSubview(tree.right);
    EXPECT_FALSE(again->isActive());
    EXPECT_FALSE(unrelated->isActive());
}

TEST(NSLayoutConstraintDeathTest, ConstraintsTheEngineCannotTakeStopTheProgram)
{
    auto loose = make<UIView>();
    auto other = make<UIView>();
    EXPECT_DEATH(loose->topAnchor().constraintEqualTo(other->topAnchor())->setIsActive(true), "no common ancestor");

    Tree tree;
    auto required = tree.left->topAnchor().constraintEqualTo(tree.root->topAnchor());
    required->setPriority({999}); // inactive: any change is fine
    required->setPriority(UILayoutPriority::required());
    required->setIsActive(true);
    EXPECT_DEATH(required->setPriority({999}), "between required and optional");
    EXPECT_DEATH(required->setPriority({0}), "greater than 0");
    EXPECT_DEATH(tree.left->heightAnchor().constraintEqualToMultiplier(tree.left->widthAnchor(), 1.0 / 0.0), "finite");
}

TEST(UIViewAnimation, EndStateAppliesAtOnceAndCompletionFollowsOnTheClock)
{
    auto view = make<UIView>(CGRect {0, 0, 10, 10});
    std::vector<bool> completions;
    UIView::animate(0.3, [&] { view->setAlpha(0); }, [&](bool finished) { completions.push_back(finished); });
    EXPECT_EQ(view->alpha(), 0);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(completions.empty());
    TestSupport::advanceClock(0.29);
    EXPECT_TRUE(completions.empty());
    TestSupport::advanceClock(0.01);
    EXPECT_EQ(completions, (std::vector {true}));

    // Without animation the completion still waits for the next turn of the main loop, not for the clock.
    UIView::performWithoutAnimation([&] {
        UIView::animate(5, [&] { view->setAlpha(1); }, [&](bool finished) { completions.push_back(finished); });
    });
    EXPECT_EQ(completions.size(), 1u);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(completions.size(), 2u);
    EXPECT_TRUE(UIView::areAnimationsEnabled());
}

TEST(UIGraphicsImageRenderer, FillsItsBoundsInWholePixels)
{
    auto renderer = make<UIGraphicsImageRenderer>(CGRect {10, 10, 3.5, 2});
    auto red = make<UIColor>(1.0, 0.0, 0.0, 1.0);
    auto halfBlue = make<UIColor>(0.0, 0.0, 1.0, 0.5);
    auto image = renderer->image([&](UIGraphicsImageRendererContext& context) {
        context.setFillColor(*red);
        context.fill({10, 10, 1, 2}); // bounds coordinates: the first column
        context.setFillColor(*halfBlue);
        context.fill({10, 10, 2, 1}); // half over red, half over nothing
    });
    ASSERT_EQ(image->size(), (CGSize {4, 2}));
    const auto& px = image->rgba();
    auto pixel = [&](std::size_t x, std::size_t y) {
        const std::uint8_t* p = &px[(y * 4 + x) * 4];
        return std::vector<int> {p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(pixel(0, 1), (std::vector {255, 0, 0, 255}));
    EXPECT_EQ(pixel(0, 0), (std::vector {128, 0, 128, 255}));
    EXPECT_EQ(pixel(1, 0), (std::vector {0, 0, 255, 128}));
    EXPECT_EQ(pixel(3, 1), (std::vector {0, 0, 0, 0}));

    EXPECT_EQ(make<UIGraphicsImageRenderer>(CGSize {1e9, 1e9})->image(nullptr)->size(), CGSize::zero());
    EXPECT_EQ(UIGraphicsImageRendererContext::current(), nullptr);
}
