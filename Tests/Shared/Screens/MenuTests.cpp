#include "Shared/Model/Entry.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Screens/Menu.Source.hpp"

#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIMenu.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace Shared;
using Foundation::String;

namespace {

// The menu as lines of titles, one indent per level; "| " marks an inline section, "*" a marked
// entry, "~" a mixed one, "(n)" a subtitle.
void outline(const UIKit::UIMenuElement& element, int depth, std::vector<std::string>& lines)
{
    std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (auto menu = dynamic_cast<const UIKit::UIMenu*>(&element)) {
        bool isInline = menu->options().contains(UIKit::UIMenu::Options::displayInline());
        if (depth > 0)
            lines.push_back(indent + (isInline ? "| " : "> ") + menu->title().utf8());
        for (const auto& child : menu->children())
            outline(*child, depth + 1, lines);
        return;
    }
    auto action = dynamic_cast<const UIKit::UIAction*>(&element);
    std::string mark = action->state() == UIKit::UIMenuElement::State::on ? "*" : action->state() == UIKit::UIMenuElement::State::mixed ? "~" : "";
    std::string subtitle = element.subtitle() ? " (" + element.subtitle()->utf8() + ")" : "";
    lines.push_back(indent + mark + element.title().utf8() + subtitle);
}

std::vector<std::string> outline(const UIKit::UIMenu& menu)
{
    std::vector<std::string> lines;
    outline(menu, 0, lines);
    return lines;
}

std::shared_ptr<UIKit::UIAction> find(const UIKit::UIMenu& menu, const std::string& title)
{
    for (const auto& child : menu.children()) {
        if (auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child)) {
            if (auto found = find(*submenu, title))
                return found;
        } else if (child->title().utf8() == title) {
            return std::static_pointer_cast<UIKit::UIAction>(child);
        }
    }
    return nullptr;
}

} // namespace

TEST(MenuTests, EachAddIsASectionAndChoicesReachTheHandler)
{
    std::vector<Menu::Builder::Element> chosen;
    Menu::Builder builder([&](const Menu::Builder::Element& element) { chosen.push_back(element); });
    builder.add(Menu::Action::Kind::copy);
    builder.add(Menu::Action::Kind::edit, false);
    builder.addGroup([](auto&) {});
    builder.addGroup([](auto& actions) {
        actions.push_back(Menu::Action::Kind::showInLargeType);
        actions.push_back(Menu::Action::hideHistory("Password"));
    });
    builder.addRow({Menu::Action::Kind::favorite, Menu::Action::Kind::moveToTrash});
    builder.addSubmenus({{"Add Section Below", {{Menu::Action::addSectionBelow(0, EntrySectionTemplate::blank)}}}, {"Empty", {{}}}});
    auto menu = builder.build();
    EXPECT_EQ(outline(*menu), (std::vector<std::string> {"  | ", "    Copy", "  | ", "    Show in Large Type", "    Hide History", "  | ",
                                                         "    Favorite", "    Move to Trash", "  | ", "    > Add Section Below", "      | ",
                                                         "        Blank Section"}));
    EXPECT_TRUE(find(*menu, "Move to Trash")->attributes().contains(UIKit::UIMenuElement::Attributes::destructive()));

    find(*menu, "Hide History")->performWithSender(nullptr);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], Menu::Builder::Element(Menu::Action::hideHistory("Password")));
}

TEST(MenuTests, CategoryFilterAndSortElementsShowTheirState)
{
    std::vector<Menu::Builder::Element> chosen;
    Menu::Builder builder([&](const auto& element) { chosen.push_back(element); });
    builder.addEntryCategorySubmenu({EntryCategory::login, EntryCategory::server});
    builder.addGroup([](auto& elements) {
        elements.push_back(Menu::Builder::Element::filter(Entry::Filter::allItems(), 12, true));
        elements.push_back(Menu::Builder::Element::filter(Entry::Filter::trash(), std::nullopt, false));
        elements.push_back(Menu::Builder::Element::sort(Settings::Items::SortMethod::createdAt, true));
    });
    auto lines = outline(*builder.build());
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("        ~Login")) << "several items' categories are mixed";
    EXPECT_TRUE(has("        ~Server"));
    EXPECT_TRUE(has("        Password"));
    EXPECT_TRUE(has("    *All Items (12)"));
    EXPECT_TRUE(has("    Trash"));

    Menu::Builder single([&](const auto& element) { chosen.push_back(element); });
    single.addEntryCategoryMenu(EntryCategory::secureNote);
    auto menu = single.build();
    auto note = find(*menu, "Secure Note");
    EXPECT_EQ(note->state(), UIKit::UIMenuElement::State::on);
    note->performWithSender(nullptr);
    EXPECT_EQ(chosen.back(), Menu::Builder::Element(Menu::Builder::Element::Action {Menu::Action::changeItemCategory(EntryCategory::secureNote), true}));
}

TEST(MenuTests, SourcesNameTheirHistorySecretAndQuickAction)
{
    auto password = Menu::Source::systemField(Entry::SystemField::ID::password);
    auto previous = Menu::Source::previousPassword("p1");
    EXPECT_EQ(password.historyVisibilityID(), String("Password"));
    EXPECT_EQ(previous.historyVisibilityID(), password.historyVisibilityID()) << "a previous value belongs to its field's history";
    EXPECT_NE(previous.revealConcealID(), password.revealConcealID()) << "each value is revealed on its own";
    EXPECT_TRUE(previous.isSensitive());

    Entry::Field::ID position {1, 2};
    auto pin = Menu::Source::customField(position, Entry::Field::Category::pin);
    auto note = Menu::Source::customField(position, Entry::Field::Category::text);
    EXPECT_TRUE(pin.revealConcealID().has_value());
    EXPECT_FALSE(note.revealConcealID().has_value());
    EXPECT_EQ(pin.historyVisibilityID(), Menu::Source::previousFieldValue(position, Entry::Field::Category::pin, "h").historyVisibilityID());
    EXPECT_FALSE(Menu::Source::customFieldTitle(position, Entry::Field::Category::pin).historyVisibilityID());
    EXPECT_NE(pin, Menu::Source::customFieldTitle(position, Entry::Field::Category::pin));

    EXPECT_EQ(note.quickAction(), Menu::Action(Menu::Action::Kind::copy));
    EXPECT_EQ(Menu::Source::customField(position, Entry::Field::Category::attachment).quickAction(), Menu::Action(Menu::Action::Kind::quickLook));
    EXPECT_FALSE(Menu::Source::header(Menu::Source::HeaderItem::archive).quickAction());
    EXPECT_DEATH(Menu::Action(Menu::Action::Kind::showHistory), "needs a value");
}
