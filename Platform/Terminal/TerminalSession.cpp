#include "Platform/Terminal/TerminalSession.hpp"

#include "Platform/Terminal/SceneRenderer.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIControl.hpp"
#include "Platform/UIKit/UIKeyInput.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>

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
    const auto width = static_cast<CGFloat>(std::max<std::int64_t>(m_columns, 1)) * TextGrid::columnWidth;
    const auto height = static_cast<CGFloat>(std::max<std::int64_t>(m_rows, 2)) * TextGrid::lineHeight;
    UIScreen::main()->setBounds({0, 0, width, height});
    const CGRect below {0, TextGrid::lineHeight, width, height - TextGrid::lineHeight};
    for (const auto& window : scene()->windows())
        if (window->frame() != below)
            window->setFrame(below);
    auto traits = scene()->traitCollection();
    const auto sizeClass = m_columns < compactBelowColumns ? UIUserInterfaceSizeClass::compact : UIUserInterfaceSizeClass::regular;
    if (traits.horizontalSizeClass != sizeClass) {
        traits.horizontalSizeClass = sizeClass;
        scene()->setTraitCollection(traits);
    }
}

bool TerminalSession::press(const Keyboard::Key& key)
{
    const auto name = key.name.utf8();
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

std::shared_ptr<UIView> TerminalSession::viewAt(std::int64_t column, std::int64_t row) const
{
    auto found = UIViewInspector::findAll(*scene(), [&](const UIView& view) {
        return view.isUserInteractionEnabled() && SceneRenderer::cells(view).contains(column, row);
    });
    return found.empty() ? nullptr : found.front();
}

bool TerminalSession::click(std::int64_t column, std::int64_t row, bool secondary)
{
    if (m_menuBar.click(column, row, m_driver))
        return true;
    const CGPoint point {(static_cast<CGFloat>(column) + 0.5) * TextGrid::columnWidth, (static_cast<CGFloat>(row) + 0.5) * TextGrid::lineHeight};
    if (secondary) {
        auto view = viewAt(column, row);
        if (!view || !view->window())
            return false;
        const auto origin = view->window()->frame().origin;
        return m_driver.openContextMenu(view, view->convertFrom(CGPoint {point.x - origin.x, point.y - origin.y}, nullptr)) != nullptr;
    }
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
    SceneRenderer::render(*scene(), canvas, m_driver.focusedView());
    m_menuBar.render(canvas);
    return canvas;
}

} // namespace Terminal
