#pragma once

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
    // "PageDown", "Home", "End", "Space") or a single character, with modifiers.
    void press(const Foundation::String& keyName, UIKeyModifierFlags modifiers = {});
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
    // Chooses the entry at the path in the menu the key window shows, which then closes.
    bool chooseShownMenuItem(const std::vector<Foundation::String>& titlePath);
    // Swipes the row and chooses the revealed action with the title.
    bool swipeRow(const std::shared_ptr<UITableView>& table, std::int64_t section, std::int64_t row, bool leading,
                  const Foundation::String& actionTitle);

    // The scene's visible windows and the menus they show, as text.
    std::string describe() const;

private:
    std::shared_ptr<UIMenuElement> entry(const std::shared_ptr<UIMenu>& menu, const std::vector<Foundation::String>& titlePath,
                                         bool validate) const;

    std::shared_ptr<UIWindowScene> m_scene;
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
