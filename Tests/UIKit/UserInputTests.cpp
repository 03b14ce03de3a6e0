#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UISlider.hpp"
#include "Platform/UIKit/UIStepper.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Event = UIControl::Event;

namespace {

std::shared_ptr<UIKey> key(const char* characters, std::int64_t code = 4, UIKeyModifierFlags flags = {})
{
    return make<UIKey>(characters, characters, flags, static_cast<UIKeyboardHIDUsage>(code));
}

class Recorder : public UIResponder {
public:
    std::vector<std::string> calls;
    void controlChanged(const std::shared_ptr<Foundation::NSObject>& sender)
    {
        calls.push_back(std::dynamic_pointer_cast<UISwitch>(sender) ? "switch" : "other");
    }

protected:
    friend Foundation::Construct;
    Recorder() = default;
};

class Gatekeeper : public Foundation::NSObject, public UITextFieldDelegate {
public:
    std::vector<std::string> heard;
    bool letEnd = true;
    bool textField(UITextField&, Foundation::NSRange range, const Foundation::String& replacement) override
    {
        heard.push_back("change " + std::to_string(range.location) + "+" + std::to_string(range.length) + " '"
                        + replacement.utf8() + "'");
        return replacement != "!";
    }
    void textFieldDidBeginEditing(UITextField&) override { heard.push_back("began"); }
    bool textFieldShouldEndEditing(UITextField&) override { return letEnd; }
    void textFieldDidEndEditing(UITextField&) override { heard.push_back("ended"); }
    bool textFieldShouldReturn(UITextField&) override
    {
        heard.push_back("return");
        return true;
    }

protected:
    friend Foundation::Construct;
    Gatekeeper() = default;
};

class Input : public testing::Test {
protected:
    void SetUp() override
    {
        window->setFrame({0, 0, 600, 400});
        window->makeKeyAndVisible();
    }
    template <class View>
    std::shared_ptr<View> place(std::shared_ptr<View> view, const CGRect& frame)
    {
        view->setFrame(frame);
        window->addSubview(view);
        return view;
    }
    void tap(const std::shared_ptr<UIView>& view, CGPoint at) { UIEventDriver::tap(window, view->convertTo(at, nullptr)); }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
};

} // namespace

TEST_F(Input, ControlsTrackTheTouchAndSendTheirEvents)
{
    auto button = place(make<UIButton>(), {10, 10, 100, 40});
    std::vector<std::string> events;
    button->addAction([&] { events.push_back("down"); }, Event::touchDown());
    button->addAction([&] { events.push_back("up inside"); }, Event::touchUpInside());
    button->addAction([&] { events.push_back("up outside"); }, Event::touchUpOutside());
    button->addAction([&] { events.push_back("primary"); }, Event::primaryActionTriggered());
    button->addAction([&] { events.push_back("exit"); }, Event::touchDragExit());

    tap(button, {50, 20});
    auto touch = UIEventDriver::touchDown(window, {50, 30});
    EXPECT_TRUE(button->isHighlighted());
    UIEventDriver::touchMove(touch, {300, 300});
    EXPECT_FALSE(button->isHighlighted());
    UIEventDriver::touchUp(touch);
    button->setIsEnabled(false);
    tap(button, {50, 20});
    EXPECT_EQ(events, (std::vector<std::string> {"down", "up inside", "primary", "down", "exit", "up outside"}));
}

TEST_F(Input, SwitchesSegmentsSteppersAndSlidersTakeTheirValueFromTheTap)
{
    auto recorder = make<Recorder>();
    static const bool registered = [] {
        Foundation::MethodTable::add(Foundation::Selector("controlChanged:"), &Recorder::controlChanged);
        return true;
    }();
    ASSERT_TRUE(registered);
    auto toggle = place(make<UISwitch>(), {0, 0, 51, 31});
    toggle->addTarget(recorder, Foundation::Selector("controlChanged:"), Event::valueChanged());
    tap(toggle, {10, 10});
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(toggle->accessibilityValue(), Foundation::String("1"));
    EXPECT_EQ(recorder->calls, std::vector<std::string> {"switch"});

    auto segments = place(make<UISegmentedControl>(std::vector<Foundation::String> {"A", "B", "C"}), {0, 50, 300, 30});
    tap(segments, {250, 10});
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    EXPECT_EQ(segments->accessibilityValue(), Foundation::String("C"));

    auto stepper = place(make<UIStepper>(), {0, 100, 100, 30});
    stepper->setMaximumValue(1);
    tap(stepper, {80, 10});
    tap(stepper, {80, 10});
    EXPECT_EQ(stepper->value(), 1);
    tap(stepper, {10, 10});
    EXPECT_EQ(stepper->value(), 0);

    auto slider = place(make<UISlider>(), {0, 150, 200, 30});
    slider->setMaximumValue(10);
    int changes = 0;
    slider->addAction([&] { ++changes; }, Event::valueChanged());
    auto touch = UIEventDriver::touchDown(window, {50, 160});
    UIEventDriver::touchMove(touch, {150, 160});
    UIEventDriver::touchUp(touch);
    EXPECT_FLOAT_EQ(slider->value(), 7.5f);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(slider->accessibilityValue(), Foundation::String("75%"));
}

TEST_F(Input, TextFieldsAskTheirDelegateAndTakeReturnAndTab)
{
    auto delegate = make<Gatekeeper>();
    auto first = place(make<UITextField>(), {10, 10, 200, 30});
    auto below = place(make<UITextField>(), {10, 60, 200, 30});
    auto beside = place(make<UITextField>(), {300, 10, 200, 30});
    first->setDelegate(delegate);
    std::vector<std::string> events;
    first->addAction([&] { events.push_back("began"); }, Event::editingDidBegin());
    first->addAction([&] { events.push_back("changed"); }, Event::editingChanged());
    first->addAction([&] { events.push_back("primary"); }, Event::primaryActionTriggered());
    first->addAction([&] { events.push_back("ended"); }, Event::editingDidEnd());

    ASSERT_TRUE(first->becomeFirstResponder());
    UIEventDriver::pressKey(key("h"));
    UIEventDriver::pressKey(key("é"));
    UIEventDriver::pressKey(key("!"));
    UIEventDriver::pressKey(key("\b", 42));
    UIEventDriver::pressKey(key("\r", 40));
    EXPECT_EQ(first->text(), "h");
    EXPECT_EQ(delegate->heard, (std::vector<std::string> {"began", "change 0+0 'h'", "change 1+0 'é'", "change 2+0 '!'",
                                                          "change 1+1 ''", "return"}));

    // The delegate may keep the focus; Tab goes on in reading order, wrapping around.
    delegate->letEnd = false;
    UIEventDriver::pressKey(key("\t", 43));
    EXPECT_TRUE(first->isFirstResponder());
    delegate->letEnd = true;
    UIEventDriver::pressKey(key("\t", 43));
    EXPECT_TRUE(beside->isFirstResponder());
    UIEventDriver::pressKey(key("\t", 43));
    EXPECT_TRUE(below->isFirstResponder());
    UIEventDriver::pressKey(key("\t", 43, UIKeyModifierFlags::shift()));
    EXPECT_TRUE(beside->isFirstResponder());
    EXPECT_EQ(events, (std::vector<std::string> {"began", "changed", "changed", "changed", "primary", "ended"}));

    beside->setIsSecureTextEntry(true);
    beside->insertText("pw");
    EXPECT_EQ(beside->accessibilityValue(), Foundation::String("••"));
}

TEST_F(Input, AChosenAlertActionRunsItsHandlerOnceTheAlertIsGone)
{
    auto root = make<UIViewController>();
    window->setRootViewController(root);
    auto alert = make<UIAlertController>(std::optional<Foundation::String>("Remove Tags"),
                                         std::optional<Foundation::String>("This cannot be undone."),
                                         UIAlertController::Style::alert);
    std::vector<std::string> ran;
    alert->addTextField([](UITextField& field) { field.setPlaceholder(Foundation::String("Tags")); });
    alert->addAction(make<UIAlertAction>(std::optional<Foundation::String>("Cancel"), UIAlertAction::Style::cancel,
                                         [&](const auto&) { ran.push_back("cancel"); }));
    alert->addAction(make<UIAlertAction>(std::optional<Foundation::String>("Remove"), UIAlertAction::Style::destructive,
                                         [&](const auto&) {
                                             ran.push_back(root->presentedViewController() ? "still up" : "gone");
                                         }));
    root->present(alert, true);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(alert->textFields().front()->isFirstResponder());

    std::shared_ptr<UIButton> remove;
    for (const auto& view : alert->view()->subviews())
        if (auto button = std::dynamic_pointer_cast<UIButton>(view); button && button->currentTitle() == Foundation::String("Remove"))
            remove = button;
    ASSERT_NE(remove, nullptr);
    tap(remove, {5, 5});
    tap(remove, {5, 5});
    EXPECT_TRUE(ran.empty());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(ran, std::vector<std::string> {"gone"});
}

TEST_F(Input, AButtonMayOpenItsMenuAndATapAnywhereClosesIt)
{
    auto button = place(make<UIButton>(), {10, 10, 100, 40});
    int sorted = 0;
    button->setMenu(make<UIMenu>("", std::vector<std::shared_ptr<UIMenuElement>> {
                                         make<UIAction>("Sort", [&](const auto&) { ++sorted; })}));
    button->setShowsMenuAsPrimaryAction(true);
    tap(button, {5, 5});
    ASSERT_EQ(window->shownMenu(), button->menu());
    tap(button, {5, 5});
    EXPECT_EQ(window->shownMenu(), nullptr);
    EXPECT_EQ(sorted, 0);
}
