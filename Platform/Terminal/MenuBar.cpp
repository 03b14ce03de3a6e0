#include "Platform/Terminal/MenuBar.hpp"

#include "Platform/Terminal/Canvas.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIInteractionDriver.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string_view>

namespace Terminal {
namespace {

using Foundation::String;
using namespace UIKit;

// The names of the keys that are not characters.
const std::map<std::string, std::string>& keyNames()
{
    static const std::map<std::string, std::string> names {
        {"\r", "Return"}, {"\b", "Delete"}, {"\t", "Tab"}, {" ", "Space"},
        {UIKeyCommand::inputEscape().utf8(), "Esc"}, {UIKeyCommand::inputUpArrow().utf8(), "Up"},
        {UIKeyCommand::inputDownArrow().utf8(), "Down"}, {UIKeyCommand::inputLeftArrow().utf8(), "Left"},
        {UIKeyCommand::inputRightArrow().utf8(), "Right"}, {UIKeyCommand::inputPageUp().utf8(), "PageUp"},
        {UIKeyCommand::inputPageDown().utf8(), "PageDown"}, {UIKeyCommand::inputHome().utf8(), "Home"},
        {UIKeyCommand::inputEnd().utf8(), "End"},
    };
    return names;
}

// The keys to type for a key command, as the terminal's keyboard (`Keyboard`) gives them: Ctrl with a
// letter is Command, Alt with any key is Command, Ctrl and Alt with a letter are Command-Option. Terminals
// pass no Control as such, and no Shift with Ctrl, so the commands that need those show no keys (the menu
// still reaches them).
String shortcut(const UIMenuElement& element)
{
    const auto* command = dynamic_cast<const UIKeyCommand*>(&element);
    if (!command || command->input().isEmpty())
        return {};
    const auto flags = command->modifierFlags();
    if (!flags.contains(UIKeyModifierFlags::command()) || flags.contains(UIKeyModifierFlags::control()))
        return {};
    const auto& input = command->input().utf8();
    const auto named = keyNames().find(input);
    const bool isLetter = input.size() == 1 && std::isalpha(static_cast<unsigned char>(input[0]));
    if (named == keyNames().end() && command->input().count() != 1)
        return {};
    const bool shift = flags.contains(UIKeyModifierFlags::shift());
    const bool alternate = flags.contains(UIKeyModifierFlags::alternate());
    // Ctrl-H, I, J and M are Backspace, Tab and Return.
    const bool ctrlTypes = isLetter && std::string_view("hijm").find(static_cast<char>(std::tolower(input[0]))) == std::string_view::npos;
    String text;
    if (alternate) {
        if (!ctrlTypes || shift)
            return {};
        text.append("Ctrl-Alt-");
    } else if (ctrlTypes && !shift) {
        text.append("Ctrl-");
    } else {
        text.append(shift ? "Alt-Shift-" : "Alt-");
    }
    text.append(named != keyNames().end() ? named->second : command->input().uppercased().utf8());
    return text;
}

void collect(const UIMenu& menu, std::vector<MenuBar::Entry>& into, bool group)
{
    bool first = true;
    for (const auto& element : menu.children()) {
        auto submenu = std::dynamic_pointer_cast<UIMenu>(element);
        if (submenu && submenu->options().contains(UIMenu::Options::displayInline())) {
            collect(*submenu, into, !into.empty());
            continue;
        }
        auto state = UIMenuElement::State::off;
        if (const auto* command = dynamic_cast<const UICommand*>(element.get()))
            state = command->state();
        else if (const auto* action = dynamic_cast<const UIAction*>(element.get()))
            state = action->state();
        into.push_back({element->title(), shortcut(*element), UIMenuSystem::isEnabled(*element), submenu != nullptr, group && first, state});
        first = false;
    }
}

std::shared_ptr<UIWindow> keyWindow(const UIInteractionDriver& driver)
{
    if (auto window = driver.scene()->keyWindow())
        return window;
    auto windows = driver.scene()->windows();
    return windows.empty() ? nullptr : windows.back();
}

} // namespace

std::vector<MenuBar::Entry> MenuBar::entries(const std::shared_ptr<UIMenu>& menu)
{
    std::vector<Entry> result;
    if (menu)
        collect(*UIMenuSystem::main()->validated(menu), result, false);
    return result;
}

std::vector<String> MenuBar::barTitles() const
{
    std::vector<String> titles;
    if (auto main = UIMenuSystem::main()->mainMenu())
        for (const auto& element : main->children())
            titles.push_back(element->title());
    return titles;
}

std::shared_ptr<UIMenu> MenuBar::menu(const std::vector<String>& path) const
{
    auto current = m_isShownMenu ? m_shownMenu : UIMenuSystem::main()->mainMenu();
    for (const auto& title : path) {
        if (!current)
            return nullptr;
        std::shared_ptr<UIMenu> next;
        std::function<void(const UIMenu&)> find = [&](const UIMenu& menu) {
            for (const auto& element : menu.children()) {
                auto submenu = std::dynamic_pointer_cast<UIMenu>(element);
                if (submenu && submenu->options().contains(UIMenu::Options::displayInline()))
                    find(*submenu);
                else if (submenu && !next && submenu->title() == title)
                    next = submenu;
            }
        };
        find(*current);
        current = next;
    }
    return current;
}

void MenuBar::openMenuBar(std::int64_t index)
{
    const auto titles = barTitles();
    m_isShownMenu = false;
    m_levels.clear();
    if (titles.empty())
        return;
    m_barIndex = std::clamp<std::int64_t>(index, 0, static_cast<std::int64_t>(titles.size()) - 1);
    m_levels.push_back({{titles[static_cast<std::size_t>(m_barIndex)]}, 0});
}

void MenuBar::openShownMenu(std::shared_ptr<UIMenu> menu)
{
    m_levels.clear();
    m_isShownMenu = true;
    m_shownMenu = std::move(menu);
    m_levels.push_back({{}, 0});
}

void MenuBar::move(std::int64_t by)
{
    auto& level = m_levels.back();
    const auto shown = entries(menu(level.path));
    if (shown.empty())
        return;
    const auto count = static_cast<std::int64_t>(shown.size());
    level.highlighted = ((level.highlighted + by) % count + count) % count;
}

bool MenuBar::activate(UIInteractionDriver& driver)
{
    const auto& level = m_levels.back();
    const auto shown = entries(menu(level.path));
    if (level.highlighted >= static_cast<std::int64_t>(shown.size()))
        return true;
    const auto& entry = shown[static_cast<std::size_t>(level.highlighted)];
    auto path = level.path;
    path.push_back(entry.title);
    if (entry.isSubmenu) {
        m_levels.push_back({path, 0});
        return true;
    }
    if (!entry.isEnabled)
        return true;
    const bool shownMenu = m_isShownMenu;
    close();
    if (shownMenu)
        driver.chooseShownMenuItem(path);
    else
        driver.chooseMenuBarItem(path);
    return true;
}

bool MenuBar::handle(const std::string& keyName, UIInteractionDriver& driver)
{
    if (!isOpen())
        return false;
    if (m_isShownMenu) {
        auto window = keyWindow(driver);
        m_shownMenu = window ? window->shownMenu() : nullptr;
        if (!m_shownMenu) {
            close();
            return false;
        }
    }
    if (keyName == "Up" || keyName == "Down") {
        move(keyName == "Up" ? -1 : 1);
    } else if (keyName == "Return" || keyName == "Space") {
        return activate(driver);
    } else if (keyName == "Right") {
        const auto shown = entries(menu(m_levels.back().path));
        const auto highlighted = static_cast<std::size_t>(m_levels.back().highlighted);
        if (highlighted < shown.size() && shown[highlighted].isSubmenu)
            return activate(driver);
        if (!m_isShownMenu)
            openMenuBar(m_barIndex + 1 < static_cast<std::int64_t>(barTitles().size()) ? m_barIndex + 1 : 0);
    } else if (keyName == "Left") {
        if (m_levels.size() > 1)
            m_levels.pop_back();
        else if (!m_isShownMenu)
            openMenuBar(m_barIndex > 0 ? m_barIndex - 1 : static_cast<std::int64_t>(barTitles().size()) - 1);
    } else if (keyName == "Escape") {
        m_levels.pop_back();
        if (m_levels.empty() && m_isShownMenu)
            if (auto window = keyWindow(driver))
                window->dismissMenu();
    } else if (keyName == "F10") {
        close();
    }
    return true;
}

std::vector<CellRect> MenuBar::boxes(std::int64_t canvasColumns, std::int64_t canvasRows) const
{
    std::vector<CellRect> result;
    std::int64_t column = 0;
    std::int64_t row = 1;
    if (m_isShownMenu) {
        column = canvasColumns / 3;
        row = canvasRows / 4;
    } else {
        const auto titles = barTitles();
        for (std::int64_t i = 0; i < m_barIndex && i < static_cast<std::int64_t>(titles.size()); ++i)
            column += UIKit::TextGrid::columns(titles[static_cast<std::size_t>(i)]) + 2;
    }
    std::optional<CellRect> parent;
    std::int64_t entryRow = 0;
    for (const auto& level : m_levels) {
        const auto shown = entries(menu(level.path));
        std::int64_t width = 8;
        for (const auto& entry : shown)
            width = std::max(width, UIKit::TextGrid::columns(entry.title) + UIKit::TextGrid::columns(entry.shortcut) + 6);
        std::int64_t rows = 2;
        for (const auto& entry : shown)
            rows += entry.startsGroup ? 2 : 1;
        if (parent) {
            // A submenu stands beside its entry, its first entry on the entry's line: to the right where
            // it fits, else to the left; where neither side has room, under the entry, which stays in sight.
            row = entryRow - 1;
            if (parent->right() - 1 + width <= canvasColumns) {
                column = parent->right() - 1;
            } else if (parent->column + 1 >= width) {
                column = parent->column + 1 - width;
            } else {
                column = parent->column + 2;
                row = entryRow + 1;
            }
        }
        // Kept on the screen: a menu that would run past the right or the bottom moves back.
        CellRect box {std::max<std::int64_t>(0, std::min(column, canvasColumns - width)),
                      std::max<std::int64_t>(1, std::min(row, canvasRows - rows)), width, rows};
        result.push_back(box);
        parent = box;
        entryRow = box.row + 1 + level.highlighted;
        for (std::int64_t i = 0; i <= level.highlighted && i < static_cast<std::int64_t>(shown.size()); ++i)
            entryRow += shown[static_cast<std::size_t>(i)].startsGroup ? 1 : 0;
    }
    return result;
}

void MenuBar::render(Canvas& canvas, const String& status) const
{
    m_columns = canvas.columns();
    m_rows = canvas.rows();
    const CellRect bar {0, 0, canvas.columns(), 1};
    canvas.clear(bar, CellStyle::reverse);
    std::int64_t column = 0;
    const auto titles = barTitles();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const bool open = isOpen() && !m_isShownMenu && static_cast<std::int64_t>(i) == m_barIndex;
        column += canvas.write(column, 0, " " + titles[i].utf8() + " ", open ? CellStyle::bold : CellStyle::reverse, bar);
    }
    // The hint and the status only where the titles leave room for them: a narrow terminal keeps its
    // menus' titles.
    auto end = canvas.columns();
    for (const auto& text : {String(" F10: menus "), status}) {
        const auto width = UIKit::TextGrid::columns(text);
        if (width == 0 || end - width < column)
            break;
        end -= width;
        canvas.write(end, 0, text, CellStyle::reverse, bar);
    }

    const auto frames = boxes(canvas.columns(), canvas.rows());
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        const auto& box = frames[i];
        canvas.clear(box);
        canvas.frame(box, CellStyle::plain, canvas.bounds());
        const auto shown = entries(menu(m_levels[i].path));
        auto row = box.row + 1;
        for (std::size_t j = 0; j < shown.size(); ++j) {
            const auto& entry = shown[j];
            if (entry.startsGroup) {
                for (auto x = box.column + 1; x < box.right() - 1; ++x)
                    canvas.write(x, row, String("─"), CellStyle::dim, canvas.bounds());
                ++row;
            }
            auto style = entry.isEnabled ? CellStyle::plain : CellStyle::dim;
            if (static_cast<std::int64_t>(j) == m_levels[i].highlighted)
                style = style | CellStyle::reverse;
            const CellRect line {box.column + 1, row, box.columns - 2, 1};
            canvas.clear(line, style);
            // A mark before the title: the entry's state.
            if (entry.state != UIMenuElement::State::off)
                canvas.write(line.column, row, String(entry.state == UIMenuElement::State::on ? "✓" : "–"), style, line);
            canvas.write(line.column + 1, row, entry.title, style, line);
            const auto right = entry.isSubmenu ? String("›") : entry.shortcut;
            canvas.write(line.right() - 1 - UIKit::TextGrid::columns(right), row, right, style, line);
            ++row;
        }
    }
}

bool MenuBar::click(std::int64_t column, std::int64_t row, UIInteractionDriver& driver)
{
    if (row == 0) {
        const auto titles = barTitles();
        std::int64_t left = 0;
        for (std::size_t i = 0; i < titles.size(); ++i) {
            const auto width = UIKit::TextGrid::columns(titles[i]) + 2;
            if (column >= left && column < left + width) {
                openMenuBar(static_cast<std::int64_t>(i));
                return true;
            }
            left += width;
        }
        close();
        return true;
    }
    if (!isOpen())
        return false;
    const auto frames = boxes(m_columns, m_rows);
    for (std::size_t i = frames.size(); i-- > 0;) {
        if (!frames[i].contains(column, row))
            continue;
        m_levels.resize(i + 1);
        const auto shown = entries(menu(m_levels[i].path));
        auto line = frames[i].row + 1;
        for (std::size_t j = 0; j < shown.size(); ++j) {
            line += shown[j].startsGroup ? 1 : 0;
            if (line == row) {
                m_levels[i].highlighted = static_cast<std::int64_t>(j);
                return activate(driver);
            }
            ++line;
        }
        return true;
    }
    handle("Escape", driver);
    return true;
}

} // namespace Terminal
