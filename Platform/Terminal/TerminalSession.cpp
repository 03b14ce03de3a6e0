#include "Platform/Terminal/TerminalSession.hpp"

#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Terminal/SceneRenderer.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace Terminal {

using namespace UIKit;

TerminalSession::TerminalSession(std::shared_ptr<UIWindowScene> scene, std::int64_t columns, std::int64_t rows)
    : m_driver(std::move(scene))
    , m_columns(columns)
    , m_rows(rows)
{
    fit();
}

void TerminalSession::resize(std::int64_t columns, std::int64_t rows)
{
    m_columns = columns;
    m_rows = rows;
    fit();
}

void TerminalSession::fit()
{
    // Too small a terminal leaves the windows at the smallest size rather than squeezing every screen's
    // layout into a few cells.
    const auto columns = std::max(m_columns, minimumColumns);
    const auto rows = std::max(m_rows, minimumRows);
    const auto width = static_cast<CGFloat>(columns) * TextGrid::columnWidth;
    const auto height = static_cast<CGFloat>(rows) * TextGrid::lineHeight;
    UIScreen::main()->setBounds({0, 0, width, height});
    const CGRect below {0, TextGrid::lineHeight, width, height - TextGrid::lineHeight};
    for (const auto& window : scene()->windows())
        if (window->frame() != below)
            window->setFrame(below);
    auto traits = scene()->traitCollection();
    const auto sizeClass = columns < compactBelowColumns ? UIUserInterfaceSizeClass::compact : UIUserInterfaceSizeClass::regular;
    if (traits.horizontalSizeClass != sizeClass) {
        traits.horizontalSizeClass = sizeClass;
        scene()->setTraitCollection(traits);
    }
}

bool TerminalSession::press(const Keyboard::Key& key)
{
    const auto name = key.name.utf8();
    if (isTooSmall()) {
        m_menuBar.close();
        return key.modifiers.contains(UIKeyModifierFlags::command()) && m_driver.pressNavigating(key.name, key.modifiers);
    }
    if ((name == "F10" && key.modifiers == UIKeyModifierFlags::shift()) || name == "Menu") {
        m_menuBar.close();
        if (auto window = scene()->keyWindow(); window && window->shownMenu())
            window->dismissMenu();
        return m_driver.openContextMenuAtFocus() != nullptr;
    }
    if (name == "F10") {
        if (m_menuBar.isOpen())
            m_menuBar.close();
        else
            m_menuBar.openMenuBar();
        return true;
    }
    if (!m_menuBar.isOpen())
        if (auto window = scene()->keyWindow(); window && window->shownMenu())
            m_menuBar.openShownMenu(window->shownMenu());
    if (m_menuBar.isOpen() && m_menuBar.handle(name, m_driver))
        return true;
    return m_driver.pressNavigating(key.name, key.modifiers);
}

bool TerminalSession::click(std::int64_t column, std::int64_t row, bool secondary)
{
    if (isTooSmall())
        return false;
    if (m_menuBar.click(column, row, m_driver))
        return true;
    const CGPoint point {(static_cast<CGFloat>(column) + 0.5) * TextGrid::columnWidth, (static_cast<CGFloat>(row) + 0.5) * TextGrid::lineHeight};
    // The view under the pointer is the one a tap there would reach, not every view whose frame covers it.
    if (secondary)
        return m_driver.openContextMenuAtScreenPoint(point) != nullptr;
    // The keyboard follows the mouse, except that a click on a control does not end the editing of a text
    // field, as a tap does not: what shows only while the field is edited (a password generator under it)
    // stays and takes the click.
    auto window = scene()->keyWindow();
    const auto* responder = window ? window->firstResponder().get() : nullptr;
    const bool editing = dynamic_cast<const UIKeyInput*>(responder) != nullptr;
    const auto focusable = m_driver.focusableViews();
    for (auto it = focusable.rbegin(); it != focusable.rend(); ++it)
        if (!dynamic_cast<const UIKeyInput*>(it->get()) && SceneRenderer::cells(**it).contains(column, row)) {
            if (!editing || !dynamic_cast<const UIControl*>(it->get()))
                m_driver.focus(*it);
            break;
        }
    return m_driver.tapAtScreenPoint(point);
}

void TerminalSession::showTooSmall(Canvas& canvas) const
{
    // Short lines, so that even a very small terminal shows the gist.
    const std::vector<Foundation::String> lines {
        Foundation::String("Window too small"),
        Foundation::String(std::to_string(m_columns) + " x " + std::to_string(m_rows) + ", needs"),
        Foundation::String(std::to_string(minimumColumns) + " x " + std::to_string(minimumRows) + " or more"),
    };
    const auto top = std::max<std::int64_t>(0, (m_rows - static_cast<std::int64_t>(lines.size())) / 2);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto left = std::max<std::int64_t>(0, (m_columns - TextGrid::columns(lines[i])) / 2);
        canvas.write(left, top + static_cast<std::int64_t>(i), lines[i], CellStyle::plain, canvas.bounds());
    }
}

Canvas TerminalSession::frame()
{
    fit();
    for (const auto& window : scene()->windows())
        window->layoutIfNeeded();
    auto window = scene()->keyWindow();
    if (m_menuBar.isShowingShownMenu() && (!window || !window->shownMenu()))
        m_menuBar.close();
    if (!m_menuBar.isOpen() && window && window->shownMenu())
        m_menuBar.openShownMenu(window->shownMenu());
    Canvas canvas(m_columns, m_rows);
    if (isTooSmall()) {
        showTooSmall(canvas);
        return canvas;
    }
    // A table that keeps no selection shows the row the keyboard is on as focused.
    auto rowCell = m_driver.keyboardRowCell();
    SceneRenderer::render(*scene(), canvas, rowCell ? rowCell : m_driver.focusedView());
    // A scene pinned above the desktop's other windows says so: the terminal shows nothing else of them.
    auto host = scene()->hostWindow();
    const bool pinned = host && host->level() >= AppKit::NSWindow::Level::floating();
    m_menuBar.render(canvas, pinned ? Foundation::String(" Pinned ") : Foundation::String());
    return canvas;
}

} // namespace Terminal
