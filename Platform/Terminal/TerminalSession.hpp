#pragma once

#include "Platform/Terminal/Canvas.hpp"
#include "Platform/Terminal/Keyboard.hpp"
#include "Platform/Terminal/MenuBar.hpp"
#include "Platform/UIKit/UIInteractionDriver.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {
class UIWindowScene;
}

namespace Terminal {

// A scene on a terminal of some size, without the terminal: what the display does with a key, a click
// or a new size, and the frame it shows. The terminal display runs one over ncurses; tests and scripted
// drivers run one directly and read its frames as text.
//
// The top row holds the menu bar; the scene's windows fill the rows below it, at the terminal's width,
// so the windows follow the terminal's size. A terminal narrower than `compactBelowColumns` gives the
// scene a compact width, which collapses a split view.
//
// A terminal smaller than the program can be shown on (`minimumColumns` by `minimumRows`) shows only a
// line that says so, and takes no keys or clicks but commands (Ctrl-Q still quits), since a person
// cannot see what they would do; the windows keep the smallest size until the terminal grows.
class TerminalSession {
public:
    static constexpr std::int64_t compactBelowColumns = 70;
    static constexpr std::int64_t minimumColumns = 40;
    static constexpr std::int64_t minimumRows = 12;

    TerminalSession(std::shared_ptr<UIKit::UIWindowScene> scene, std::int64_t columns, std::int64_t rows);
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    const std::shared_ptr<UIKit::UIWindowScene>& scene() const { return m_driver.scene(); }
    UIKit::UIInteractionDriver& driver() { return m_driver; }
    const MenuBar& menuBar() const { return m_menuBar; }

    void resize(std::int64_t columns, std::int64_t rows);
    bool isTooSmall() const { return m_columns < minimumColumns || m_rows < minimumRows; }
    // Menus take keys while open (F10 opens and closes the menu bar); Shift-F10 and the Menu key open
    // the context menu of what has the focus; every other key goes to the scene as the keyboard gives it.
    // False when nothing took the key.
    bool press(const Keyboard::Key& key);
    // A click at a cell: the menus on the top row and while open, else a tap where it lands (a secondary
    // click opens the context menu there). A click on a control or table moves the focus to it, but a
    // click on a control leaves a text field being edited as it is.
    bool click(std::int64_t column, std::int64_t row, bool secondary = false);
    // Lays the windows out and draws them, with the menus over them.
    Canvas frame();

private:
    void fit();
    void showTooSmall(Canvas& canvas) const;

    UIKit::UIInteractionDriver m_driver;
    MenuBar m_menuBar;
    std::int64_t m_columns;
    std::int64_t m_rows;
};

} // namespace Terminal
