#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;

TEST(UIControl, ActionsRunForTheirEventsInTheOrderAdded)
{
    auto control = make<UIButton>();
    std::vector<std::string> ran;
    control->addAction([&] { ran.push_back("tap"); }, UIControl::Event::touchUpInside());
    control->addAction([&] {
        ran.push_back("any touch");
        // Added while the event is delivered: waits for the next one.
        control->addAction([&] { ran.push_back("late"); }, UIControl::Event::allTouchEvents());
    }, UIControl::Event::allTouchEvents());
    control->addAction([&] { ran.push_back("changed"); }, UIControl::Event::valueChanged());

    control->sendActions(UIControl::Event::touchUpInside());
    EXPECT_EQ(ran, (std::vector<std::string> {"tap", "any touch"}));
    ran.clear();
    control->sendActions(UIControl::Event::valueChanged());
    EXPECT_EQ(ran, (std::vector<std::string> {"changed"}));
}

TEST(UIButton, TitlesFallBackToTheNormalStateOnes)
{
    auto button = make<UIButton>();
    button->setTitle("Save", UIControl::State::normal());
    button->setTitle("Saving", UIControl::State::disabled());
    EXPECT_EQ(button->currentTitle(), Foundation::String("Save"));
    EXPECT_EQ(button->title(UIControl::State::highlighted()), Foundation::String("Save"));

    button->setIsEnabled(false);
    EXPECT_EQ(button->state(), UIControl::State::disabled());
    EXPECT_EQ(button->currentTitle(), Foundation::String("Saving"));

    button->setTitle(std::nullopt, UIControl::State::disabled());
    EXPECT_EQ(button->currentTitle(), Foundation::String("Save"));
}

TEST(UIStackView, AViewTakenOutOfTheStackIsNoLongerArranged)
{
    auto stack = make<UIStackView>();
    auto first = make<UIView>();
    auto second = make<UIView>();
    stack->addArrangedSubview(first);
    stack->addArrangedSubview(second);
    stack->addArrangedSubview(first); // moves to the end
    EXPECT_EQ(stack->arrangedSubviews(), (std::vector<std::shared_ptr<UIView>> {second, first}));

    second->removeFromSuperview();
    EXPECT_EQ(stack->arrangedSubviews(), (std::vector<std::shared_ptr<UIView>> {first}));

    // Unarranged, it stays a subview.
    stack->removeArrangedSubview(first);
    EXPECT_TRUE(stack->arrangedSubviews().empty());
    EXPECT_EQ(first->superview(), stack);
}
