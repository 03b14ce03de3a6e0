#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Terminal/CellRect.hpp"
#include "Platform/UIKit/UIMenuElement.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace UIKit {
class UIInteractionDriver;
class UIMenu;
} // namespace UIKit

namespace Terminal {

class Canvas;

// The menus on the terminal: the menu bar on the top row (opened with F10 or a click on a title) and
// the menu a window shows (a context menu, a button's menu), each entry as it shows now, validated as
// the platform validates it. Up and Down move among the entries, Right and Return open a submenu, Left
// and Escape close one, Left and Right on the bar's first level go to the next menu, Return chooses an
// entry. Choosing goes through the interaction driver, as a person's click on the entry would.
class MenuBar {
public:
    struct Entry {
        Foundation::String title;
        Foundation::String shortcut;
        bool isEnabled = true;
        bool isSubmenu = false;
        // A line before the entry: it starts an inline group.
        bool startsGroup = false;
        // Shown as a check mark (on) or a dash (mixed) before the title.
        UIKit::UIMenuElement::State state = UIKit::UIMenuElement::State::off;
    };
    // The entries of a menu as they show now, inline groups flattened.
    static std::vector<Entry> entries(const std::shared_ptr<UIKit::UIMenu>& menu);

    bool isOpen() const { return !m_levels.empty(); }
    // Opens the bar's menu at `index` (F10 opens the first).
    void openMenuBar(std::int64_t index = 0);
    // Takes over a menu the key window shows.
    void openShownMenu(std::shared_ptr<UIKit::UIMenu> menu);
    bool isShowingShownMenu() const { return isOpen() && m_isShownMenu; }
    void close() { m_levels.clear(); }

    // A key while a menu is open; false when it is no key for menus (the menu stays open).
    bool handle(const std::string& keyName, UIKit::UIInteractionDriver& driver);
    // A click at the cell: a title on the bar opens its menu, an entry is chosen, elsewhere closes.
    // False when the click is not the menus' (nothing open and not on the bar).
    bool click(std::int64_t column, std::int64_t row, UIKit::UIInteractionDriver& driver);

    // The bar's row, with the window's state (`status`) at its end where the titles leave room, and the
    // open menus as framed lists.
    void render(Canvas& canvas, const Foundation::String& status = {}) const;

private:
    struct Level {
        std::vector<Foundation::String> path;
        std::int64_t highlighted = 0;
    };
    std::shared_ptr<UIKit::UIMenu> menu(const std::vector<Foundation::String>& path) const;
    std::vector<Foundation::String> barTitles() const;
    std::vector<CellRect> boxes(std::int64_t canvasColumns, std::int64_t canvasRows) const;
    void move(std::int64_t by);
    bool activate(UIKit::UIInteractionDriver& driver);

    bool m_isShownMenu = false;
    std::int64_t m_barIndex = 0;
    std::vector<Level> m_levels;
    std::shared_ptr<UIKit::UIMenu> m_shownMenu;
    // The canvas last drawn on, where clicks land.
    mutable std::int64_t m_columns = 80;
    mutable std::int64_t m_rows = 24;
};

} // namespace Terminal
