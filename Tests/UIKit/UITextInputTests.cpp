#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::Notification;
using Foundation::NotificationCenter;

namespace {

std::shared_ptr<UIKey> key(const char* characters, UIKeyboardHIDUsage code = UIKeyboardHIDUsage {4},
                           UIKeyModifierFlags flags = {})
{
    return make<UIKey>(characters, characters, flags, code);
}

const auto backspace = [] { return key("\b", UIKeyboardHIDUsage::keyboardDeleteOrBackspace); };
const auto returnKey = [] { return key("\r", UIKeyboardHIDUsage::keyboardReturnOrEnter); };

// Counts the text-change notifications of both kinds and who sent them.
class TextInputTest : public testing::Test {
protected:
    void SetUp() override
    {
        window->makeKeyAndVisible();
        for (const auto& name : {UITextField::textDidChangeNotification(), UITextView::textDidChangeNotification()})
            tokens.push_back(NotificationCenter::defaultCenter()->addObserver(
                name, nullptr, nullptr, [this](const Notification& n) { senders.push_back(n.object()); }));
    }
    void TearDown() override
    {
        for (const auto& token : tokens)
            NotificationCenter::defaultCenter()->removeObserver(token);
    }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::vector<std::shared_ptr<Foundation::NSObject>> tokens;
    std::vector<std::shared_ptr<Foundation::NSObject>> senders;
};

} // namespace

TEST_F(TextInputTest, NotificationNames)
{
    EXPECT_EQ(UITextField::textDidChangeNotification().rawValue(), "UITextFieldTextDidChangeNotification");
    EXPECT_EQ(UITextView::textDidChangeNotification().rawValue(), "UITextViewTextDidChangeNotification");
}

TEST_F(TextInputTest, TypingIntoAFocusedFieldEditsAndAnnouncesIt)
{
    auto field = make<UITextField>();
    window->addSubview(field);
    EXPECT_FALSE(field->isEditing());
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->isEditing());

    UIEventDriver::pressKey(key("h"));
    UIEventDriver::pressKey(key("é"));
    EXPECT_EQ(field->text(), "hé");
    EXPECT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders.front(), field);

    UIEventDriver::pressKey(backspace());
    EXPECT_EQ(field->text(), "h");
    UIEventDriver::pressKey(returnKey()); // one line only
    UIEventDriver::pressKey(key("v", UIKeyboardHIDUsage {25}, UIKeyModifierFlags::command())); // a shortcut
    EXPECT_EQ(field->text(), "h");
    EXPECT_EQ(senders.size(), 3u);

    EXPECT_TRUE(field->resignFirstResponder());
    EXPECT_FALSE(field->isEditing());
}

TEST_F(TextInputTest, OnlyRealChangesAreAnnounced)
{
    auto field = make<UITextField>();
    field->setText("set in code");
    field->insertText("");
    EXPECT_TRUE(senders.empty());

    field->setText("");
    field->deleteBackward();
    EXPECT_TRUE(senders.empty());
    EXPECT_FALSE(field->hasText());

    // Typing announces itself also where no key event was seen.
    field->insertText("pasted");
    EXPECT_EQ(senders.size(), 1u);
}

TEST_F(TextInputTest, ATextViewTakesLineBreaksAndDeletesWholeCharacters)
{
    auto view = make<UITextView>();
    window->addSubview(view);
    ASSERT_TRUE(view->becomeFirstResponder());
    UIEventDriver::pressKey(key("a"));
    UIEventDriver::pressKey(returnKey());
    view->insertText("👍🏽");
    EXPECT_EQ(view->text(), "a\n👍🏽");
    UIEventDriver::pressKey(backspace());
    EXPECT_EQ(view->text(), "a\n");
    EXPECT_EQ(senders.size(), 4u);
    EXPECT_EQ(senders.back(), view);
}

TEST_F(TextInputTest, ADisabledFieldCannotBeFocused)
{
    auto field = make<UITextField>();
    window->addSubview(field);
    field->setIsEnabled(false);
    EXPECT_FALSE(field->becomeFirstResponder());
    UIEventDriver::pressKey(key("x"));
    EXPECT_EQ(field->text(), "");
}

TEST_F(TextInputTest, AFieldSendsItsEditingEvents)
{
    auto field = make<UITextField>();
    window->addSubview(field);
    std::vector<std::string> events;
    field->addAction([&] { events.push_back("begin"); }, UIControl::Event::editingDidBegin());
    field->addAction([&] { events.push_back("changed"); }, UIControl::Event::editingChanged());
    field->addAction([&] { events.push_back("end"); }, UIControl::Event::editingDidEnd());

    ASSERT_TRUE(field->becomeFirstResponder());
    ASSERT_TRUE(field->becomeFirstResponder()); // already editing
    UIEventDriver::pressKey(key("a"));
    field->setText("in code");
    ASSERT_TRUE(field->resignFirstResponder());
    ASSERT_TRUE(field->resignFirstResponder()); // no longer editing
    EXPECT_EQ(events, (std::vector<std::string> {"begin", "changed", "end"}));
}
