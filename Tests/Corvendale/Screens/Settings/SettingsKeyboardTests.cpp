#include "Tests/Corvendale/App/ProgramOnTerminal.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Terminal/Canvas.hpp"
#include "Platform/Terminal/CellStyle.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIFocusItem.hpp"
#include "Platform/UIKit/UIInteractionDriver.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using Foundation::String;
using Items = Shared::Settings::Items;

// Every settings page on a terminal of 100 x 30 cells, driven by the keyboard alone.
class SettingsKeyboard : public CorvendaleTests::ProgramOnTerminal {
protected:
    void SetUp() override
    {
        ProgramOnTerminal::SetUp();
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        terminal(100, 30);
    }
    void TearDown() override
    {
        preferences()->setListStyle(Items::ListStyle::standard);
        preferences()->setMoveToTrashConfirmation(Items::MoveToTrashConfirmation::enabled);
        ProgramOnTerminal::TearDown();
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return Corvendale::dependencies().preferenceStore; }

    std::shared_ptr<Corvendale::SettingsC> settings() const
    {
        return std::dynamic_pointer_cast<Corvendale::SettingsC>(sceneDelegate()->sceneCoordinator()->mainCoordinator()->presentedViewController());
    }
    // The page the settings' row opens, laid out on the terminal.
    std::shared_ptr<Corvendale::SettingsPageV> open(void (Corvendale::SettingsC::*row)(Corvendale::SettingsTVC&))
    {
        if (!settings()) {
            press(",", UIKit::UIKeyModifierFlags::command());
            TestSupport::advanceClock(1);
        }
        auto shown = settings();
        if (!shown)
            return nullptr;
        ((*shown).*row)(*shown->settingsVC()->settingsTVC());
        TestSupport::advanceClock(1);
        screen();
        auto page = shown->presentedViewController();
        return page ? std::dynamic_pointer_cast<Corvendale::SettingsPageV>(page->view()) : nullptr;
    }
    // Escape closes the page alone, wherever on it the focus is.
    void closePage()
    {
        press("Escape");
        TestSupport::advanceClock(1);
        screen();
        ASSERT_NE(settings(), nullptr);
        EXPECT_EQ(settings()->presentedViewController(), nullptr);
    }
    void press(const char* key, UIKit::UIKeyModifierFlags modifiers = {})
    {
        terminal().press({String(key), modifiers});
        settle();
        terminal().frame();
        settle();
    }
    UIKit::UIInteractionDriver& driver() { return terminal().driver(); }

    // The first row of the frame from `from` on that shows the text.
    static std::optional<std::int64_t> rowOf(const Terminal::Canvas& frame, const std::string& text, std::int64_t from = 0)
    {
        for (std::int64_t row = from; row < frame.rows(); ++row)
            if (frame.line(row).find(text) != std::string::npos)
                return row;
        return std::nullopt;
    }
    // The row shows the text in reverse behind the focus's "›".
    static bool marked(const Terminal::Canvas& frame, std::int64_t row, const std::string& text)
    {
        const auto line = frame.line(row);
        const auto at = line.find(text);
        const auto mark = line.find("›");
        if (at == std::string::npos || mark == std::string::npos || mark > at)
            return false;
        auto column = [&line](std::size_t byte) { return static_cast<std::int64_t>(String(line.substr(0, byte)).count()); };
        return Terminal::contains(frame.at(column(at), row).style, Terminal::CellStyle::reverse)
            && Terminal::contains(frame.at(column(mark), row).style, Terminal::CellStyle::reverse);
    }
};

// What the keyboard should reach on a page: each enabled control and text input shown, and each group of
// choices shown (by its identifier).
struct Stops {
    std::set<const UIKit::UIView*> controls;
    std::set<std::string> groups;
};

bool inside(const UIKit::UIView& view, const UIKit::UIView& ancestor)
{
    for (auto at = view.superview(); at; at = at->superview())
        if (at.get() == &ancestor)
            return true;
    return false;
}

void collect(const std::shared_ptr<UIKit::UIView>& view, Stops& stops)
{
    if (view->isHidden() || view->alpha() <= 0 || !view->isUserInteractionEnabled())
        return;
    if (auto control = std::dynamic_pointer_cast<UIKit::UIControl>(view); control && control->isEnabled())
        stops.controls.insert(view.get());
    if (const auto* item = dynamic_cast<const UIKit::UIFocusItem*>(view.get()))
        if (auto group = item->focusGroupIdentifier())
            stops.groups.insert(group->utf8());
    for (const auto& subview : view->subviews())
        collect(subview, stops);
}

TEST_F(SettingsKeyboard, TabReachesEveryControlAndOptionListOfEveryPageInReadingOrderAndBringsItIntoSight)
{
    using C = Corvendale::SettingsC;
    const std::vector<std::pair<std::string, void (C::*)(Corvendale::SettingsTVC&)>> pages {
        {"Authentication & Security", &C::didSelectAuthentication}, {"Appearance", &C::didSelectAppearance},
        {"Item List & Search", &C::didSelectItemList},              {"Item Details", &C::didSelectItemDetails},
        {"AutoFill", &C::didSelectAutoFill},                       {"Safe for Inspection", &C::didSelectSafeForInspection},
        {"Reset", &C::didSelectReset},                             {"Import", &C::didSelectImportItems},
        {"Export", &C::didSelectExportItems},                      {"Backup", &C::didSelectBackupRestore},
    };
    for (const auto& [name, row] : pages) {
        SCOPED_TRACE(name);
        auto page = open(row);
        ASSERT_NE(page, nullptr);
        Stops expected;
        collect(page, expected);
        ASSERT_FALSE(expected.controls.empty()) << "Done at least";

        // From the page's first stop round to it again.
        ASSERT_TRUE(driver().focus(driver().focusableViews().front()));
        const auto start = driver().focusedView();
        Stops reached;
        std::optional<UIKit::CGFloat> lastTop;
        for (int step = 0; step < 200; ++step) {
            auto focused = driver().focusedView();
            ASSERT_NE(focused, nullptr) << "the focus left the page";
            collect(focused, reached);
            if (inside(*focused, *page->contentContainer())) {
                const auto& scrollView = *page->scrollView();
                const auto shown = focused->convertTo(focused->bounds(), page->scrollView());
                EXPECT_TRUE(scrollView.bounds().intersection(shown) == shown) << "a stop out of sight";
                // Down the page: measured in the page's own column, which does not scroll.
                const auto top = focused->convertTo(UIKit::CGPoint {}, page->contentContainer()).y;
                if (lastTop) {
                    EXPECT_GE(top, *lastTop) << "out of reading order";
                }
                lastTop = top;
            }
            press("Tab");
            if (driver().focusedView() == start)
                break;
        }
        EXPECT_EQ(driver().focusedView(), start) << "Tab never came back round";
        if (!expected.groups.empty())
            press("Tab", UIKit::UIKeyModifierFlags::shift());
        for (const auto* control : expected.controls)
            EXPECT_TRUE(reached.controls.contains(control)) << "a control Tab never reached: " << control->accessibilityLabel().value_or(String("?")).utf8();
        EXPECT_EQ(reached.groups, expected.groups) << "option lists Tab never reached";
        if (name == "Item List & Search") {
            EXPECT_EQ(expected.groups.size(), 5U);
        }
        closePage();
    }
}

TEST_F(SettingsKeyboard, OnTheItemListPageTheArrowsMarkTheChoiceAndReturnChoosesItAlsoBelowTheFirstScreen)
{
    ASSERT_NE(open(&Corvendale::SettingsC::didSelectItemList), nullptr);
    auto frame = terminal().frame();
    EXPECT_FALSE(rowOf(frame, "Ask before moving items to trash?")) << "the last list is below the first screen";

    // The page's first stop is Done, then the list styles, entered at the one chosen.
    press("Tab");
    press("Tab");
    frame = terminal().frame();
    auto standard = rowOf(frame, "Standard  ");
    ASSERT_TRUE(standard);
    EXPECT_TRUE(marked(frame, *standard, "Standard")) << frame.text();
    press("Down");
    frame = terminal().frame();
    auto withoutSubtitle = rowOf(frame, "Standard without Subtitle");
    ASSERT_TRUE(withoutSubtitle);
    EXPECT_TRUE(marked(frame, *withoutSubtitle, "Standard without Subtitle")) << frame.text();
    EXPECT_FALSE(marked(frame, *standard, "Standard"));
    press("Return");
    TestSupport::advanceClock(1);
    EXPECT_EQ(preferences()->listStyle(), Items::ListStyle::standardWithoutSubtitle);

    // The rows stand evenly, a blank line between each two.
    std::vector<std::int64_t> rows;
    for (const char* title : {"Standard without Subtitle", "Compact with Subtitle", "Compact without Subtitle", "Title and Tags",
                              "Title, Subtitle and Tags", "Title, Subtitle, Username and Tags", "Title, Subtitle, Username, Websites and Tags",
                              "Title, Subtitle, Username, Websites, Tags and"})
        if (auto at = rowOf(frame, title))
            rows.push_back(*at);
    ASSERT_EQ(rows.size(), 8U) << frame.text();
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (i != 3) {
            EXPECT_EQ(rows[i] - rows[i - 1], 2) << frame.text();
        }

    // Four lists on, the last one comes into sight; its second choice is taken with Space.
    for (int i = 0; i < 4; ++i)
        press("Tab");
    press("Down");
    frame = terminal().frame();
    auto question = rowOf(frame, "Ask before moving items to trash?");
    ASSERT_TRUE(question) << frame.text();
    auto disabled = rowOf(frame, "Disabled", *question);
    ASSERT_TRUE(disabled) << frame.text();
    EXPECT_TRUE(marked(frame, *disabled, "Disabled")) << frame.text();
    press("Space");
    TestSupport::advanceClock(1);
    EXPECT_EQ(preferences()->moveToTrashConfirmation(), Items::MoveToTrashConfirmation::disabled);
    EXPECT_EQ(preferences()->listStyle(), Items::ListStyle::standardWithoutSubtitle) << "the other lists' keys stay theirs";
    closePage();
}

} // namespace
