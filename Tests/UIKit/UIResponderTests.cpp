#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

namespace {

class FocusableView : public UIView {
public:
    bool canBecomeFirstResponder() const override { return acceptsFocus; }
    bool canResignFirstResponder() const override { return releasesFocus; }
    bool acceptsFocus = true;
    bool releasesFocus = true;

protected:
    friend Foundation::Construct;
    FocusableView() = default;
};

class FirstResponder : public testing::Test {
protected:
    std::shared_ptr<FocusableView> focusable(const std::shared_ptr<UIView>& parent)
    {
        auto view = make<FocusableView>();
        if (parent)
            parent->addSubview(view);
        return view;
    }
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
};

} // namespace

TEST_F(FirstResponder, NeedsAWindowAndAWillingResponder)
{
    auto loose = focusable(nullptr);
    EXPECT_FALSE(loose->becomeFirstResponder());
    EXPECT_FALSE(loose->isFirstResponder());

    auto unwilling = focusable(window);
    unwilling->acceptsFocus = false;
    EXPECT_FALSE(unwilling->becomeFirstResponder());
    EXPECT_FALSE(make<UIView>()->canBecomeFirstResponder());

    auto willing = focusable(window);
    EXPECT_TRUE(willing->becomeFirstResponder());
    EXPECT_TRUE(willing->isFirstResponder());
    EXPECT_EQ(window->firstResponder(), willing);
    EXPECT_TRUE(willing->becomeFirstResponder()); // again: still true, nothing changes
    EXPECT_TRUE(willing->resignFirstResponder());
    EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST_F(FirstResponder, TakingOverAsksTheCurrentOneToResign)
{
    auto first = focusable(window);
    auto second = focusable(window);
    ASSERT_TRUE(first->becomeFirstResponder());
    EXPECT_TRUE(second->becomeFirstResponder());
    EXPECT_FALSE(first->isFirstResponder());

    second->releasesFocus = false;
    EXPECT_FALSE(first->becomeFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());
}

TEST_F(FirstResponder, EachWindowKeepsItsOwn)
{
    auto otherWindow = make<UIWindow>(scene);
    auto here = focusable(window);
    auto there = focusable(otherWindow);
    ASSERT_TRUE(here->becomeFirstResponder());
    ASSERT_TRUE(there->becomeFirstResponder());
    EXPECT_TRUE(here->isFirstResponder());
    EXPECT_TRUE(there->isFirstResponder());
}

TEST_F(FirstResponder, LeavingTheWindowEndsIt)
{
    auto container = make<UIView>();
    window->addSubview(container);
    auto inside = focusable(container);
    inside->releasesFocus = false; // even one that would rather stay
    ASSERT_TRUE(inside->becomeFirstResponder());
    container->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_FALSE(inside->isFirstResponder());
}

TEST_F(FirstResponder, TheChainRunsUpThroughViewsWindowSceneAndApplication)
{
    auto parent = make<UIView>();
    window->addSubview(parent);
    auto child = focusable(parent);
    EXPECT_EQ(child->next(), parent);
    EXPECT_EQ(parent->next(), window);
    EXPECT_EQ(window->next(), scene);
    EXPECT_NE(scene->next(), nullptr);
    EXPECT_EQ(scene->next()->next(), nullptr);
}
