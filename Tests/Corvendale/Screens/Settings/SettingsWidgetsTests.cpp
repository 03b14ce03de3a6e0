#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.TextSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV.hpp"

#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Tests/Support/Driver.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

enum class Fruit { apple, banana, cherry };

} // namespace

template <>
struct Shared::Setting<Fruit> {
    static constexpr SettingCase<Fruit> cases[] = {
        {Fruit::apple, "apple", "Apple", "red"},
        {Fruit::banana, "banana", "Banana"},
        {Fruit::cherry, "cherry", "Cherry"},
    };
};

namespace {

using Corvendale::SettingsV;
using Foundation::String;
using OptionList = SettingsV::OptionSettingV<Fruit>;

// Widgets in a window, laid out, so that taps land on them as a person's would.
class SettingsWidgets : public testing::Test {
protected:
    template <class View>
    std::shared_ptr<View> show(std::shared_ptr<View> view)
    {
        window->setFrame({0, 0, 600, 400});
        Basalwork::addSubviewWithEdgeContraints(*window, view);
        window->makeKeyAndVisible();
        layout();
        return view;
    }
    void layout() { window->layoutIfNeeded(); }

    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
};

struct Row {
    std::optional<String> title;
    bool highlighted;
    bool listed;
    bool clearable;
    friend bool operator==(const Row&, const Row&) = default;
};

std::vector<Row> rows(const OptionList& list)
{
    std::vector<Row> shown;
    for (const auto& row : list.optionVs())
        shown.push_back({row->titleText(), row->isHighlighted(), Basalwork::isVisible(*row), row->isClearButtonVisible()});
    return shown;
}

TEST_F(SettingsWidgets, AnOptionListReportsTapsAndMovesItsHighlightOnlyWhenTheOwnerSelects)
{
    auto list = show(Foundation::make<OptionList>());
    std::vector<Fruit> tapped;
    list->onSelection = [&](const Fruit& fruit) { tapped.push_back(fruit); };
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, true, false}, {String("Banana"), false, true, false},
                                              {String("Cherry"), false, true, false}}));
    EXPECT_EQ(list->optionVs()[0]->subtitleLabel()->text(), std::optional(String("red")));

    list->setSelected(Fruit::banana);
    driver.tap(list->optionVs()[2]);
    EXPECT_EQ(tapped, std::vector {Fruit::cherry});
    EXPECT_EQ(list->selected(), std::optional(Fruit::banana)) << "a tap only reports";
    EXPECT_TRUE(list->optionVs()[1]->isHighlighted());
    EXPECT_FALSE(list->optionVs()[2]->isHighlighted());

    list->setSelected(Fruit::cherry);
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, true, false}, {String("Banana"), false, true, false},
                                              {String("Cherry"), true, true, false}}));
}

TEST_F(SettingsWidgets, AClearableOptionListCollapsesToTheSelectionAndStaysCollapsedUntilTheOwnerClears)
{
    auto list = show(Foundation::make<OptionList>());
    int clears = 0;
    list->onClear = [&] { ++clears; };
    EXPECT_EQ(list->selectionMode(), OptionList::SelectionMode::showOnlySelectedOption);
    list->setSelected(std::nullopt);
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, true, false}, {String("Banana"), false, true, false},
                                              {String("Cherry"), false, true, false}}))
        << "nothing selected: every option is offered";

    list->setSelected(Fruit::banana);
    layout();
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, false, false}, {String("Banana"), true, true, true},
                                              {String("Cherry"), false, false, false}}));
    driver.tap(list->optionVs()[1]->clearButton());
    EXPECT_EQ(clears, 1);
    EXPECT_FALSE(Basalwork::isVisible(*list->optionVs()[0])) << "clearing is the owner's";

    list->isAvailableOverride = [](const Fruit& fruit) { return fruit != Fruit::banana; };
    list->setSelected(Fruit::banana);
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, false, false}, {String("Banana"), true, false, true},
                                              {String("Cherry"), false, false, false}}))
        << "an unavailable selection lists nothing";
    list->setSelected(std::nullopt);
    EXPECT_EQ(rows(*list), (std::vector<Row> {{String("Apple"), false, true, false}, {String("Banana"), false, false, false},
                                              {String("Cherry"), false, true, false}}));
}

TEST_F(SettingsWidgets, AnUnavailableSelectionIsHiddenButHighlightedUntilItIsAvailableAgain)
{
    auto list = show(Foundation::make<OptionList>());
    bool cherriesAvailable = false;
    list->isAvailableOverride = [&](const Fruit& fruit) { return fruit != Fruit::cherry || cherriesAvailable; };
    list->setSelected(Fruit::cherry);
    EXPECT_EQ(rows(*list).back(), (Row {String("Cherry"), true, false, false}));
    cherriesAvailable = true;
    EXPECT_EQ(rows(*list).back(), (Row {String("Cherry"), true, false, false})) << "a closure change shows at the next assignment";
    list->setSelected(Fruit::cherry);
    EXPECT_EQ(rows(*list).back(), (Row {String("Cherry"), true, true, false}));

    list->updateOptionTitles([](const Fruit& fruit) { return fruit == Fruit::apple ? std::optional(String("Pomme")) : std::nullopt; });
    EXPECT_EQ(rows(*list)[0].title, std::optional(String("Pomme")));
    EXPECT_EQ(rows(*list)[1].title.value_or(String()), String()) << "no title from the closure shows none";
}

TEST_F(SettingsWidgets, TheKeyboardEntersAnOptionListAtItsSelectionMovesWithTheArrowsAndChoosesWithReturnOrSpace)
{
    auto column = Foundation::make<UIKit::UIStackView>();
    column->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    auto before = Foundation::make<UIKit::UIButton>();
    before->setTitle(String("Before"), UIKit::UIControl::State::normal());
    auto list = Foundation::make<OptionList>();
    auto other = Foundation::make<OptionList>();
    for (const std::shared_ptr<UIKit::UIView>& view : std::vector<std::shared_ptr<UIKit::UIView>> {before, list, other})
        column->addArrangedSubview(view);
    show(column);
    std::vector<Fruit> chosen;
    list->onSelection = [&](const Fruit& fruit) { chosen.push_back(fruit); };
    list->setSelected(Fruit::banana);
    auto& core = driver.core();
    auto focusedRow = [&]() -> std::optional<std::pair<int, Fruit>> {
        auto row = std::dynamic_pointer_cast<OptionList::OptionV>(core.focusedView());
        if (!row)
            return std::nullopt;
        for (int index : {0, 1})
            for (const auto& each : (index == 0 ? list : other)->optionVs())
                if (each == row)
                    return std::pair {index, row->option()};
        return std::nullopt;
    };

    // A list is one stop, entered at its selection (or at its first option without one).
    ASSERT_TRUE(core.focus(before));
    EXPECT_TRUE(core.pressNavigating(String("Tab")));
    EXPECT_EQ(focusedRow(), std::pair(0, Fruit::banana));
    EXPECT_TRUE(core.pressNavigating(String("Tab")));
    EXPECT_EQ(focusedRow(), std::pair(1, Fruit::apple)) << "the next list, not the next option";
    EXPECT_TRUE(core.pressNavigating(String("Tab"), UIKit::UIKeyModifierFlags::shift()));
    EXPECT_EQ(focusedRow(), std::pair(0, Fruit::banana));

    // The arrows move among the options, as far as the ends; Return and Space choose.
    EXPECT_TRUE(core.pressNavigating(String("Down")));
    EXPECT_TRUE(core.pressNavigating(String("Down")));
    EXPECT_EQ(focusedRow(), std::pair(0, Fruit::cherry)) << "the last option is as far as it goes";
    EXPECT_TRUE(core.pressNavigating(String("Return")));
    EXPECT_TRUE(core.pressNavigating(String("Up")));
    EXPECT_TRUE(core.pressNavigating(String("Up")));
    EXPECT_TRUE(core.pressNavigating(String("Space")));
    EXPECT_EQ(chosen, (std::vector {Fruit::cherry, Fruit::apple}));
    EXPECT_EQ(list->selected(), std::optional(Fruit::banana)) << "a key only reports, as a tap does";

    // Options the list hides are passed over.
    list->isAvailableOverride = [](const Fruit& fruit) { return fruit != Fruit::banana; };
    list->setSelected(Fruit::cherry);
    layout();
    EXPECT_TRUE(core.pressNavigating(String("Tab"), UIKit::UIKeyModifierFlags::shift()));
    EXPECT_TRUE(core.pressNavigating(String("Tab")));
    EXPECT_EQ(focusedRow(), std::pair(0, Fruit::cherry)) << "entered at the new selection";
    EXPECT_TRUE(core.pressNavigating(String("Up")));
    EXPECT_EQ(focusedRow(), std::pair(0, Fruit::apple));
}

TEST_F(SettingsWidgets, ACollapsedOptionListIsItsSelectionAndThenItsClearButtonToTheKeyboard)
{
    auto list = show(Foundation::make<OptionList>());
    int clears = 0;
    list->onClear = [&] { ++clears; };
    list->setSelected(Fruit::cherry);
    layout();
    auto& core = driver.core();
    EXPECT_TRUE(core.pressNavigating(String("Tab")));
    EXPECT_EQ(core.focusedView(), list->optionVs()[2]);
    EXPECT_TRUE(core.pressNavigating(String("Tab")));
    EXPECT_EQ(core.focusedView(), list->optionVs()[2]->clearButton());
    EXPECT_TRUE(core.pressNavigating(String("Return")));
    EXPECT_EQ(clears, 1);
}

TEST_F(SettingsWidgets, AnActionRowShowsOnlyLabelsWithVisibleTextAndReportsEachPress)
{
    auto row = show(Foundation::make<SettingsV::ActionV>());
    EXPECT_FALSE(Basalwork::isVisible(*row->titleAndSubtitleContainer())) << "a row without texts shows only its button";
    row->setTitleText(String("  \n"));
    EXPECT_FALSE(Basalwork::isVisible(*row->titleAndSubtitleContainer()));
    row->setSubtitleText(String("Removes the data on this device."));
    EXPECT_TRUE(Basalwork::isVisible(*row->titleAndSubtitleContainer()));
    EXPECT_FALSE(Basalwork::isVisible(*row->titleLabel()));
    EXPECT_TRUE(Basalwork::isVisible(*row->subtitleLabel()));
    row->setTitleText(String("Clear Local Cache"));
    row->setSubtitleText(std::nullopt);
    EXPECT_TRUE(Basalwork::isVisible(*row->titleLabel()));
    EXPECT_FALSE(Basalwork::isVisible(*row->subtitleLabel()));

    row->setActionTitleText(String("Clear"));
    layout();
    driver.tap(row->actionButton()); // nothing installed: nothing happens
    int presses = 0;
    row->onSelection = [&] { ++presses; };
    driver.tap(row->actionButton());
    driver.tap(row->actionButton());
    EXPECT_EQ(presses, 2);
}

TEST_F(SettingsWidgets, ATextRowReportsTheTrimmedTextOfEveryEditAndNothingItsOwnerWrites)
{
    auto row = show(Foundation::make<SettingsV::TextSettingV>());
    std::vector<std::optional<String>> reported;
    row->onUpdate = [&](const std::optional<String>& text) { reported.push_back(text); };
    row->setValueText(String("alice"));
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(row->valueText(), std::optional(String("alice")));

    auto field = row->valueTextInput()->textField();
    ASSERT_TRUE(field->becomeFirstResponder());
    driver.type(String(" "));
    EXPECT_EQ(field->text(), String("alice")) << "a space after the value goes at once";
    EXPECT_EQ(reported, (std::vector<std::optional<String>> {String("alice")}));

    field->clear();
    EXPECT_EQ(reported.back(), std::nullopt) << "the clear button reports none";
    reported.clear();
    driver.type(String("  "));
    EXPECT_EQ(field->text(), String());
    EXPECT_EQ(reported, (std::vector<std::optional<String>> {std::nullopt, std::nullopt})) << "spaces alone are nothing";
    driver.type(String("bob"));
    EXPECT_EQ(reported.back(), std::optional(String("bob")));
}

class DoneCounter : public Corvendale::SettingsV_HeaderV_Delegate {
public:
    void didSelectDone(Corvendale::SettingsVHeaderV&) override { ++dones; }
    int dones = 0;
};

TEST_F(SettingsWidgets, TheHeadersDoneAndEscapeBothReachItsDelegate)
{
    auto header = show(Foundation::make<SettingsV::HeaderV>());
    header->setTitle(String("Appearance"));
    auto delegate = std::make_shared<DoneCounter>();
    header->setDelegate(delegate);
    EXPECT_TRUE(header->isFirstResponder()) << "it takes the keyboard as it arrives in its window";
    driver.tap(String("Done"));
    driver.press(String("Escape"));
    EXPECT_EQ(delegate->dones, 2);
    EXPECT_EQ(header->title(), std::optional(String("Appearance")));
}

} // namespace
