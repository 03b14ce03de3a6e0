#include "Basalwork/Interface/MultilineTextInput.hpp"
#include "Basalwork/Interface/PreferredContentSizeAutoUpdating.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UIControl.hpp"
#include "Basalwork/Interface/UITextField.hpp"
#include "Basalwork/Interface/UITextViewWithPlaceholder.hpp"

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <any>
#include <array>

using namespace Basalwork;
using Foundation::make;
using Event = UIKit::UIControl::Event;

TEST(TextFieldAdditions, SetTextClearsOnNilAndPlaceholdersSkipBlankText)
{
    auto field = make<UIKit::UITextField>();
    setText(*field, Foundation::String("secret"));
    EXPECT_EQ(field->text(), "secret");
    setText(*field, std::nullopt);
    EXPECT_EQ(field->text(), "");

    auto color = UIKit::UIColor::white();
    setPlaceholderText(*field, Foundation::String("  a  "), color);
    ASSERT_TRUE(field->attributedPlaceholder());
    EXPECT_EQ(field->attributedPlaceholder()->string(), "  a  ");
    const auto& attributes = field->attributedPlaceholder()->attributes(0);
    EXPECT_EQ(std::any_cast<std::shared_ptr<UIKit::UIColor>>(
                  attributes.at(Foundation::NSAttributedString::Key::foregroundColor())),
              color);

    setPlaceholderText(*field, Foundation::String(" \n "), color);
    EXPECT_FALSE(field->attributedPlaceholder());
    setPlaceholderText(*field, Foundation::String("b"), nullptr);
    EXPECT_TRUE(field->attributedPlaceholder()->attributes(0).empty());
}

TEST(TextFieldAdditions, ControlEventsDescribeOnlyNamedValues)
{
    EXPECT_EQ(description(Event::touchUpInside()), ".touchUpInside");
    EXPECT_EQ(description(Event::allTouchEvents()), ".allTouchEvents");
    EXPECT_EQ(description(Event::allEvents()), ".allEvents");
    EXPECT_EQ(description(Event::touchDown() | Event::touchDownRepeat()), "unknown");
    // A real event with no name here is no named group either.
    EXPECT_EQ(description(Event::menuActionTriggered()), "unknown");
}

TEST(TextViewWithPlaceholder, PlaceholderShowsOnlyWhileEmptyAndFollowsTheText)
{
    auto textView = make<UITextViewWithPlaceholder>();
    textView->setPlaceholderText(Foundation::String("Notes"));
    const auto label = textView->placeholderLabel();
    EXPECT_EQ(label->text(), "Notes");
    EXPECT_FALSE(label->isHidden());

    textView->insertText("x");
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(label->isHidden());
    textView->deleteBackward();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(label->isHidden());

    // Set in code there is no notification: the label must follow at once.
    textView->setText("y");
    EXPECT_TRUE(label->isHidden());
    textView->setAttributedText(nullptr);
    EXPECT_FALSE(label->isHidden());

    textView->setTextContainerInset({3, 4, 5, 6});
    textView->textContainer()->setLineFragmentPadding(2);
    textView->setTextContainerInset({3, 4, 5, 6});
    // The placeholder starts where typed text starts.
    for (const auto& constraint : textView->constraints()) {
        if (constraint->firstItem() == label && constraint->firstAttribute() == UIKit::NSLayoutConstraint::Attribute::leading) {
            EXPECT_EQ(constraint->constant(), 6);
        }
    }
    auto font = UIKit::UIFont::systemFont(30);
    textView->setFont(font);
    EXPECT_EQ(label->font(), font);
    textView->setTextAlignment(UIKit::NSTextAlignment::center);
    EXPECT_EQ(label->textAlignment(), UIKit::NSTextAlignment::center);
}

TEST(TextInputControls, StartWithTheirInsetsAndFocusTheInnerViewOnATap)
{
    auto scene = make<UIKit::UIWindowScene>();
    auto window = make<UIKit::UIWindow>(scene);
    window->makeKeyAndVisible();

    auto input = make<TextInput>();
    window->addSubview(input);
    const auto insets = input->insets();
    EXPECT_EQ((std::array {insets.leading(), insets.trailing(), insets.top(), insets.bottom()}),
              (std::array<UIKit::CGFloat, 4> {8, 8, 6, 4}));
    input->sendActions(Event::touchUpInside());
    EXPECT_TRUE(input->textField()->isFirstResponder());
    input->setText(Foundation::String("abc"));
    EXPECT_TRUE(input->becomeFirstResponder());
    EXPECT_TRUE(input->textField()->isFirstResponder());

    auto multiline = make<MultilineTextInput>();
    window->addSubview(multiline);
    EXPECT_EQ(multiline->insets().top(), 6);
    EXPECT_EQ(multiline->textView()->accessibilityIdentifier(), "MultilineTextInput.textView");
    multiline->sendActions(Event::touchUpInside());
    EXPECT_TRUE(multiline->textView()->isFirstResponder());
    multiline->setPlaceholder(Foundation::String("Notes"));
    EXPECT_EQ(multiline->textView()->placeholderLabel()->text(), "Notes");
}

TEST(TextInputControls, TheFrameAnswersForItsInnerView)
{
    auto window = make<UIKit::UIWindow>(make<UIKit::UIWindowScene>());
    window->makeKeyAndVisible();
    auto input = make<TextInput>();
    auto multiline = make<MultilineTextInput>();
    window->addSubview(input);
    window->addSubview(multiline);

    EXPECT_FALSE(input->isFirstResponder());
    ASSERT_TRUE(input->textField()->becomeFirstResponder());
    EXPECT_TRUE(input->isFirstResponder()); // the field is, so the frame counts as it
    ASSERT_TRUE(multiline->textView()->becomeFirstResponder());
    EXPECT_TRUE(multiline->isFirstResponder());
    EXPECT_FALSE(input->isFirstResponder());

    using Axis = UIKit::NSLayoutConstraint::Axis;
    input->setContentHuggingPriority(UIKit::UILayoutPriority {251}, Axis::vertical);
    input->setContentCompressionResistancePriority(UIKit::UILayoutPriority {760}, Axis::horizontal);
    EXPECT_EQ(input->contentHuggingPriority(Axis::vertical).rawValue, 251);
    EXPECT_EQ(input->textField()->contentHuggingPriority(Axis::vertical).rawValue, 251);
    EXPECT_EQ(input->textField()->contentCompressionResistancePriority(Axis::horizontal).rawValue, 760);
    multiline->setContentHuggingPriority(UIKit::UILayoutPriority {252}, Axis::horizontal);
    EXPECT_EQ(multiline->textView()->contentHuggingPriority(Axis::horizontal).rawValue, 252);

    EXPECT_EQ(input->forFirstBaselineLayout(), input->textField());
    EXPECT_EQ(input->forLastBaselineLayout(), input->textField());
    EXPECT_EQ(multiline->forLastBaselineLayout(), multiline->textView());
    EXPECT_NE(multiline->forFirstBaselineLayout(), multiline);

    // The tint is the inner view's; views inside it still find it without asking the frame back.
    input->setTintColor(UIKit::UIColor::black());
    EXPECT_EQ(input->textField()->tintColor(), UIKit::UIColor::black());
    EXPECT_EQ(input->tintColor(), UIKit::UIColor::black());
    multiline->setTintColor(UIKit::UIColor::white());
    EXPECT_EQ(multiline->textView()->placeholderLabel()->tintColor(), UIKit::UIColor::white());

    input->setKeyboardType(UIKit::UIKeyboardType::emailAddress);
    input->setAutocorrectionType(UIKit::UITextAutocorrectionType::no);
    input->setAutocapitalizationType(UIKit::UITextAutocapitalizationType::none);
    input->setTextContentType(UIKit::UITextContentType::username());
    input->setReturnKeyType(UIKit::UIReturnKeyType::next);
    EXPECT_EQ(input->textField()->keyboardType(), UIKit::UIKeyboardType::emailAddress);
    EXPECT_EQ(input->textField()->autocorrectionType(), UIKit::UITextAutocorrectionType::no);
    EXPECT_EQ(input->textField()->autocapitalizationType(), UIKit::UITextAutocapitalizationType::none);
    EXPECT_EQ(input->textField()->textContentType(), UIKit::UITextContentType::username());
    EXPECT_EQ(input->textField()->returnKeyType(), UIKit::UIReturnKeyType::next);
    multiline->setSpellCheckingType(UIKit::UITextSpellCheckingType::no);
    multiline->setDataDetectorTypes(UIKit::UIDataDetectorTypes::link());
    EXPECT_EQ(multiline->textView()->spellCheckingType(), UIKit::UITextSpellCheckingType::no);
    EXPECT_EQ(multiline->textView()->dataDetectorTypes(), UIKit::UIDataDetectorTypes::link());
}

TEST(TextInputControls, FullTextGuideFollowsTheTextAndKeepsItsPlaceWhenEmpty)
{
    auto input = make<TextInput>();
    input->setFont(UIKit::UIFont::systemFont(10));
    input->setText(Foundation::String("abcd"));
    input->layoutIfNeeded();
    const auto widthOf = [&] {
        for (const auto& constraint : input->constraints()) {
            if (constraint->firstItem() == input->fullTextGuide() &&
                constraint->firstAttribute() == UIKit::NSLayoutConstraint::Attribute::width)
                return constraint->constant();
        }
        return -1.0;
    };
    EXPECT_EQ(widthOf(), 4 * UIKit::TextGrid::columnWidth);
    // The empty text has only the null rectangle, whose zero size must not collapse the guide.
    input->setText(std::nullopt);
    input->layoutIfNeeded();
    EXPECT_EQ(widthOf(), 4 * UIKit::TextGrid::columnWidth);
}

TEST(TextInputControls, TextFieldsAndButtonsFollowDynamicType)
{
    auto field = make<UIKit::UITextField>();
    field->setFont(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::body()));
    registerForPreferredContentSizeCategoryChanges(field);
    UIKit::UIApplication::shared()->setPreferredContentSizeCategory(UIKit::UIContentSizeCategory::accessibilityExtraExtraExtraLarge());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(field->font()->pointSize(), 53);

    // Without a title the button has no label, and nothing is made for it.
    auto button = make<UIKit::UIButton>();
    registerForPreferredContentSizeCategoryChanges(button);
    EXPECT_FALSE(button->titleLabel());
    button->setTitle(Foundation::String("Go"), UIKit::UIControl::State::normal());
    button->titleLabel()->setFont(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::body()));
    updateFontsForPreferredContentSizeCategory(*button);
    EXPECT_EQ(button->titleLabel()->font()->pointSize(), 53);

    UIKit::UIApplication::shared()->setPreferredContentSizeCategory(UIKit::UIContentSizeCategory::large());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(field->font()->pointSize(), 17);
}

namespace {

class PopoverList : public UIKit::UITableViewController, public PreferredContentSizeAutoUpdating {
protected:
    friend Foundation::Construct;
    PopoverList()
        : UITableViewController(UIKit::UITableView::Style::plain)
    {
    }
};

} // namespace

TEST(PreferredContentSizeAutoUpdating, FollowsTheContentHeightUpToTheMaximum)
{
    auto controller = make<PopoverList>();
    controller->tableView()->setContentSize({300, 400});
    PreferredContentSizeAutoUpdating::setupPreferredContentSizeUpdater(controller);
    // Only later sizes count.
    EXPECT_EQ(controller->preferredContentSize().height, 0);

    controller->tableView()->setContentSize({300, 1400});
    EXPECT_EQ(controller->preferredContentSize().height, 1000);
    EXPECT_EQ(controller->preferredContentSize().width, UIKit::UIView::noIntrinsicMetric);

    controller->removePreferredContentSizeUpdater();
    controller->tableView()->setContentSize({300, 200});
    EXPECT_EQ(controller->preferredContentSize().height, 1000);
}
