#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace UIKit {

class UIAlertController;
class UIKey;
class UIMenu;
class UIMenuElement;
class UITableView;
class UIView;
class UIWindowScene;

// Uses a scene's windows as a person does, through real events: finds views by accessibility identifier
// or by text, taps them, types, presses keys with modifiers, chooses alert actions and menu items (the
// menu bar's validated as the menu bar validates them, and the menus a window shows), opens context
// menus and swipes rows. Every operation answers whether it found what it acts on; nothing here waits:
// whoever drives it turns the main loop (tests with the manual clock, a terminal front end with its own
// loop).
class UIInteractionDriver {
public:
    explicit UIInteractionDriver(std::shared_ptr<UIWindowScene> scene);

    const std::shared_ptr<UIWindowScene>& scene() const { return m_scene; }

    std::shared_ptr<UIView> find(const Foundation::String& identifierOrText) const;
    // The frontmost view of that type, with the identifier or text when one is given.
    template <class View>
    std::shared_ptr<View> find(const std::optional<Foundation::String>& identifierOrText = std::nullopt) const;

    // A touch down and up at the view's centre (or at a point in its coordinates), through the window
    // routing: whatever lies in front there takes it.
    bool tap(const std::shared_ptr<UIView>& view);
    bool tap(const std::shared_ptr<UIView>& view, CGPoint at);
    bool tap(const Foundation::String& identifierOrText);
    bool tapAtScreenPoint(CGPoint point);

    // One key press and release per character, to the key window.
    void type(const Foundation::String& text);
    // A named key ("Return", "Tab", "Escape", "Delete", "Up", "Down", "Left", "Right", "PageUp",
    // "PageDown", "Home", "End", "Space") or a single character, with modifiers. True when a key command
    // or a responder took it.
    bool press(const Foundation::String& keyName, UIKeyModifierFlags modifiers = {});

    // Keyboard navigation, as with full keyboard access. The focus moves among the views of the screen in
    // front (the key window's topmost presented screen, else the window) that take it: text inputs,
    // enabled controls, tables that select rows and focus items (`UIFocusItem`), in reading order
    // (split-view columns left to right, then top to bottom and left to right); the items of a focus
    // group are one stop, entered at the item that asks for it most. A text input holds the focus as first responder; another
    // view holds it as its window's focused view (`UIWindow::focusedView`) while it stays on that screen,
    // so that key commands and menu commands go up from it. A tap moves the focus to what it lands on.
    std::vector<std::shared_ptr<UIView>> focusableViews() const;
    std::shared_ptr<UIView> focusedView() const;
    // A text input becomes first responder; for another view the first responder resigns.
    bool focus(const std::shared_ptr<UIView>& view);
    // Tab and Shift-Tab: the next or previous view that takes the focus, around the screen.
    bool moveFocus(bool forward);
    // A key as the keyboard gives it: Tab and Shift-Tab move the focus, Return and Space press a focused
    // button or switch, other keys go to the key window. What no key command or responder takes, the
    // keyboard does itself: Return chooses the focused table's selected row (Return and Space press a
    // focused item, and the arrows move among its group's items, before any key command), Up, Down, PageUp, PageDown,
    // Home and End move the selection of the focused table (before any key command, so that they move in
    // the table the focus is in) else of the screen's first, Left and Right
    // step a focused segmented control, stepper or slider, Escape cancels the screen in front (its Cancel
    // button, or a pop-over goes). Command-W closes a pop-over in front before anything else sees it. True
    // when anything took the key.
    bool pressNavigating(const Foundation::String& keyName, UIKeyModifierFlags modifiers = {});
    // Moves the selection of the table that arrows move by `rows` (clamped to its rows), selecting the
    // row as a tap does; false without such a table.
    bool moveTableSelection(std::int64_t rows);
    // The row the arrows last moved to in the focused table, while that table keeps no selection of its
    // own (a tap on its rows acts and leaves none): the row the keyboard is on, for its context menu.
    std::shared_ptr<UIView> keyboardRowCell() const;
    // The key a press of that name gives; none for an unknown name of several characters.
    static std::shared_ptr<UIKey> key(const Foundation::String& keyName, UIKeyModifierFlags modifiers = {});

    // The topmost alert presented in the scene; none when none is up.
    std::shared_ptr<UIAlertController> alert() const;
    // Taps the button of the alert's action with that title.
    bool chooseAlertAction(const Foundation::String& title);

    // The menu bar entry at the path of titles (inline groups are looked through), validated as the menu
    // bar validates it when it shows; none when the path leads nowhere.
    std::shared_ptr<UIMenuElement> menuBarItem(const std::vector<Foundation::String>& titlePath) const;
    // Chooses it; false when it is missing or disabled.
    bool chooseMenuBarItem(const std::vector<Foundation::String>& titlePath);
    // A secondary click on the view (at a point in its coordinates): the window shows the menu the view,
    // or a row of the table it is in, offers. The menu, or none.
    std::shared_ptr<UIMenu> openContextMenu(const std::shared_ptr<UIView>& view, std::optional<CGPoint> at = std::nullopt);
    // A secondary click at a point on the screen: the view the frontmost window's hit-testing finds there
    // opens its menu, as a tap would land on it.
    std::shared_ptr<UIMenu> openContextMenuAtScreenPoint(CGPoint point);
    // The keyboard's way to a context menu (Shift-F10, the Menu key): the menu of the focused view, or of
    // the focused table's selected row; none when the focus offers none.
    std::shared_ptr<UIMenu> openContextMenuAtFocus();
    // Chooses the entry at the path in the menu the key window shows, which then closes.
    bool chooseShownMenuItem(const std::vector<Foundation::String>& titlePath);
    // Swipes the row and chooses the revealed action with the title.
    bool swipeRow(const std::shared_ptr<UITableView>& table, std::int64_t section, std::int64_t row, bool leading,
                  const Foundation::String& actionTitle);

    // The scene's visible windows and the menus they show, as text.
    std::string describe() const;

private:
    std::shared_ptr<UIView> activeScreen() const;
    bool editsDocumentPickerPath() const;
    std::shared_ptr<UITableView> arrowTable() const;
    // The first stop (last, going back) in the table's rows after `from` (from its first or last row
    // without one), scrolling them into sight; none when no later row has one.
    std::shared_ptr<UIView> focusableInRowsBeyondSight(const std::shared_ptr<UITableView>& table, std::optional<Foundation::IndexPath> from,
                                                       bool forward) const;
    // The arrows in a focus group: the item before or after the focused one in reading order.
    bool moveFocusInGroup(bool forward);
    bool activateFocusedView();
    bool stepFocusedControl(int direction);
    bool cancelScreen();
    bool closePopover();
    std::optional<std::int64_t> tableMove(const std::string& keyName) const;
    std::shared_ptr<UIMenuElement> entry(const std::shared_ptr<UIMenu>& menu, const std::vector<Foundation::String>& titlePath,
                                         bool validate) const;

    std::optional<Foundation::IndexPath> keyboardRow(UITableView& table) const;

    std::shared_ptr<UIWindowScene> m_scene;
    std::weak_ptr<UITableView> m_keyboardRowTable;
    std::optional<Foundation::IndexPath> m_keyboardRow;
};

} // namespace UIKit

#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"

namespace UIKit {

template <class View>
std::shared_ptr<View> UIInteractionDriver::find(const std::optional<Foundation::String>& identifierOrText) const
{
    for (const auto& view : UIViewInspector::visibleViews(*m_scene)) {
        auto typed = std::dynamic_pointer_cast<View>(view);
        if (!typed)
            continue;
        if (!identifierOrText || view->accessibilityIdentifier() == identifierOrText)
            return typed;
        auto texts = UIViewInspector::texts(*view);
        if (std::find(texts.begin(), texts.end(), *identifierOrText) != texts.end())
            return typed;
    }
    return nullptr;
}

} // namespace UIKit
