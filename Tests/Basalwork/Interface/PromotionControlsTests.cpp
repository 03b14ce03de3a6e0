#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Basalwork/Interface/BubbleView.hpp"
#include "Basalwork/Interface/PromotionButton.hpp"

#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIColor;
using UIKit::UIControl;

namespace {

std::shared_ptr<UIKit::UIView> subviewIdentified(const UIKit::UIView& view, const char* identifier)
{
    for (const auto& subview : view.subviews())
        if (subview->accessibilityIdentifier() == Foundation::String(identifier))
            return subview;
    return nullptr;
}

std::shared_ptr<UIKit::UIStackView> contentStack(const PromotionButton& button)
{
    for (const auto& subview : button.subviews())
        if (auto stack = std::dynamic_pointer_cast<UIKit::UIStackView>(subview))
            return stack;
    return nullptr;
}

std::shared_ptr<UIKit::UILabel> label(const PromotionButton& button, std::size_t index)
{
    return std::dynamic_pointer_cast<UIKit::UILabel>(contentStack(button)->arrangedSubviews().at(index));
}

} // namespace

TEST(BubbleView, CollapsingLetsTheHeadingBottomOutrankTheBody)
{
    auto heading = make<UIKit::UIView>();
    auto body = make<UIKit::UIView>();
    auto bubble = make<BubbleView>(heading, LayoutInsets::zero(), body, LayoutInsets(4, 4, 6, 8));
    EXPECT_FALSE(bubble->isCollapsed());
    EXPECT_TRUE(bubble->isExpanded());

    auto constraints = bubble->bodyViewConstraints();
    EXPECT_TRUE(constraints.top()->isActive());
    EXPECT_EQ(constraints.top()->constant(), 6);
    EXPECT_EQ(constraints.top()->secondItem(), subviewIdentified(*bubble, "headingContainer"));
    EXPECT_EQ(constraints.bottom()->priority().rawValue, 500);
    EXPECT_TRUE(constraints.bottom()->isActive());

    bubble->setIsExpanded(false);
    EXPECT_TRUE(bubble->isCollapsed());
    bubble->setIsCollapsed(false);
    EXPECT_TRUE(bubble->isExpanded());
}

TEST(BubbleView, OnlyTheHeadingSendsControlEvents)
{
    auto heading = make<UIKit::UIView>();
    auto body = make<UIKit::UIView>();
    auto bubble = make<BubbleView>(heading, LayoutInsets::zero(), body, LayoutInsets::zero());
    int taps = 0;
    static_cast<UIControl&>(*bubble).addAction([&] { ++taps; }, UIControl::Event::touchUpInside());

    auto container = std::dynamic_pointer_cast<UIControl>(subviewIdentified(*bubble, "headingContainer"));
    ASSERT_TRUE(container);
    EXPECT_EQ(heading->superview(), container);
    EXPECT_EQ(body->superview(), bubble);

    bubble->sendActions(UIControl::Event::touchUpInside());
    EXPECT_EQ(taps, 0);
    container->sendActions(UIControl::Event::touchUpInside());
    EXPECT_EQ(taps, 1);
}

TEST(BubbleViewDeathTest, CannotBeMadeFromAnArchive)
{
    EXPECT_DEATH(
        {
            struct Archive : Foundation::NSCoder {};
            auto archive = make<Archive>();
            make<BubbleView>(static_cast<const Foundation::NSCoder&>(*archive));
        },
        "Fatal error");
}

TEST(PromotionButton, FillFollowsEnabledAndHighlightedState)
{
    UIKit::UIView::AnimationRecorder recorder;
    auto button = make<PromotionButton>();
    button->setTintColor(UIColor::white());
    button->setIsEnabled(true);
    EXPECT_EQ(button->backgroundColor(), UIColor::white());

    button->setIsHighlighted(true);
    EXPECT_EQ(button->backgroundColor()->alpha(), 0.75);
    EXPECT_EQ(recorder.last().duration, 0.0);
    EXPECT_EQ(recorder.last().options.rawValue, 0x500002u);
    EXPECT_EQ(recorder.last().transitionView.lock(), button);

    button->setIsHighlighted(false);
    EXPECT_EQ(button->backgroundColor()->alpha(), 1.0);
    EXPECT_EQ(recorder.last().duration, 0.35);

    // An unchanged highlight starts no transition.
    auto transitions = recorder.animations().size();
    button->setIsHighlighted(false);
    EXPECT_EQ(recorder.animations().size(), transitions);

    button->setIsEnabled(false);
    EXPECT_EQ(button->backgroundColor(), UIColor::placeholderText());
    button->setIsHighlighted(true);
    EXPECT_EQ(button->backgroundColor(), UIColor::placeholderText());
}

TEST(PromotionButton, SubtitleRowHidesOnlyWhenTheTextIsAbsent)
{
    auto button = make<PromotionButton>();
    auto subtitle = label(*button, 1);
    EXPECT_FALSE(subtitle->isHidden());
    button->setSubtitleText(std::nullopt);
    EXPECT_TRUE(subtitle->isHidden());
    button->setSubtitleText(Foundation::String(""));
    EXPECT_FALSE(subtitle->isHidden());
    EXPECT_EQ(button->subtitleText(), Foundation::String(""));
}

TEST(PromotionButton, WritingFewerFontsResetsTheRestToTheDefault)
{
    auto button = make<PromotionButton>();
    auto big = UIKit::UIFont::systemFont(30);
    button->setUpdateableFonts({big});
    EXPECT_EQ(button->titleFont(), big);
    EXPECT_EQ(button->subtitleFont()->pointSize(), UIKit::UILabel::defaultFont()->pointSize());
    EXPECT_EQ(button->updateableFonts().size(), 2u);
}

TEST(PromotionButton, SetupRunAgainKeepsTheLabelOrder)
{
    auto button = make<PromotionButton>();
    auto title = label(*button, 0);
    auto constraintCount = button->constraints().size();
    button->awakeFromNib();
    EXPECT_EQ(button->constraints().size(), 2 * constraintCount);
    ASSERT_EQ(contentStack(*button)->arrangedSubviews().size(), 2u);
    EXPECT_EQ(label(*button, 0), title);
}
