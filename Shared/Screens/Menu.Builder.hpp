#pragma once

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace UIKit {
class UIMenu;
class UIMenuElement;
}

namespace Shared {

// Turns actions, filters and sort methods into a menu (Menu::Builder). Every add makes one section of
// the menu, between separators, unless its condition is false or it has nothing to add; choosing an
// entry hands its element to the selection handler.
class MenuBuilder {
public:
    class Element : public Foundation::Enumeration<Element> {
    public:
        // An action; `isSelected` marks a category the item or items already have.
        struct Action {
            MenuAction action;
            bool isSelected = false;
            bool isMixed = false;
            friend bool operator==(const Action&, const Action&) = default;
        };
        // A filter of the list with how many items it shows (none when they could not be counted).
        struct Filter {
            EntryFilter filter;
            std::optional<std::int64_t> count;
            bool isSelected = false;
            friend bool operator==(const Filter&, const Filter&) = default;
        };
        struct Sort {
            Settings::Items::SortMethod sortMethod;
            bool isSelected = false;
            friend bool operator==(const Sort&, const Sort&) = default;
        };
        using Case = std::variant<Action, Filter, Sort>;

        Element(MenuAction action); // NOLINT(google-explicit-constructor): an action is an element
        Element(MenuAction::Kind kind); // NOLINT(google-explicit-constructor)
        static Element action(MenuAction action, bool isSelected = false) { return Element(Action {std::move(action), isSelected}); }
        explicit Element(Case value)
            : m_case(std::move(value))
        {
        }
        static Element filter(EntryFilter filter, std::optional<std::int64_t> count, bool isSelected)
        {
            return Element(Filter {std::move(filter), count, isSelected});
        }
        static Element sort(Settings::Items::SortMethod sortMethod, bool isSelected) { return Element(Sort {sortMethod, isSelected}); }

        const Case& value() const { return m_case; }

        friend bool operator==(const Element&, const Element&) = default;

    private:
        Case m_case;
    };

    using Row = std::vector<Element>;
    struct Submenu {
        Foundation::String title;
        std::vector<Row> rows;
    };
    using OnSelection = std::function<void(const Element&)>;

    explicit MenuBuilder(OnSelection onSelection);

    // Actions of these kinds, added from now on, show dimmed: what they would open is not there.
    void setUnavailable(std::set<MenuAction::Kind> kinds) { m_unavailable = std::move(kinds); }

    void add(const Element& element, bool condition = true);
    // Shown side by side, as one row.
    void addRow(const Row& elements, bool condition = true);
    // The closure appends the section's elements; none adds nothing.
    void addGroup(const std::function<void(std::vector<Element>&)>& elements, bool condition = true);
    // Titled submenus, each of rows of elements; a submenu without elements is left out.
    void addSubmenus(const std::vector<Submenu>& submenus, bool condition = true);
    // Every category, by group, the current one marked; choosing one yields changeItemCategory.
    void addEntryCategoryMenu(EntryCategory currentlySelectedCategory);
    // The same inside a submenu titled "Category"; several items' categories are marked as mixed.
    void addEntryCategorySubmenu(const std::set<EntryCategory>& currentlySelectedCategories);

    std::shared_ptr<UIKit::UIMenu> build(const Foundation::String& title = {}) const;

    // "Title", "Date Last Edited", "Date Added".
    static Foundation::String titleText(Settings::Items::SortMethodGroup::Case group);

private:
    std::shared_ptr<UIKit::UIMenuElement> makeElement(const Element& element) const;
    std::vector<std::shared_ptr<UIKit::UIMenuElement>> categorySections(const std::set<EntryCategory>& selected) const;

    OnSelection m_onSelection;
    std::set<MenuAction::Kind> m_unavailable;
    std::vector<std::shared_ptr<UIKit::UIMenuElement>> m_sections;
};

} // namespace Shared
