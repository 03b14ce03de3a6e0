#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace UIKit {

class UIKeyCommand;
class UIMenu;
class UIMenuElement;

// A system of menus: the main one is the menu bar, the context one the menus of context-menu
// interactions. The menu bar is built when first needed and again after `setNeedsRebuild()`: from the
// platform's default menus, handed to `buildMenu(with:)` of the application and then of its delegate.
// Commands are validated when a menu shows, never stored validated.
class UIMenuSystem : public Foundation::NSObject {
public:
    static const std::shared_ptr<UIMenuSystem>& main();
    static const std::shared_ptr<UIMenuSystem>& context();

    void setNeedsRebuild() { m_needsRebuild = true; }
    // Validation happens each time a menu shows, so there is nothing to mark.
    void setNeedsRevalidate() {}

    // The menu bar as built now; none for the context system. Counting builds lets callers see rebuilds.
    std::shared_ptr<UIMenu> mainMenu();
    std::int64_t buildCount() const { return m_buildCount; }

    // The menu as it shows now: each command, inline groups included, is a copy handed to its target's
    // `validate(_:)`, or disabled when no responder along the chain from the first responder can perform
    // it; hidden entries are left out. Submenus are validated when they show in turn.
    std::shared_ptr<UIMenu> validated(const std::shared_ptr<UIMenu>& menu) const;
    // The menu bar's key commands that are enabled now; with `only`, those of them it picks, and no
    // other command is validated.
    std::vector<std::shared_ptr<UIKeyCommand>> keyCommands(const std::function<bool(const UIKeyCommand&)>& only = {});
    // Whether the entry can be chosen: commands and actions unless marked disabled; submenus always.
    static bool isEnabled(const UIMenuElement& element);
    // Chooses an entry as the user does: a command goes along the responder chain, an action runs its
    // handler. False for a disabled entry or a command no responder takes.
    bool perform(const std::shared_ptr<UIMenuElement>& element);

protected:
    friend Foundation::Construct;
    explicit UIMenuSystem(bool isMain)
        : m_isMain(isMain)
    {
    }

private:
    bool m_isMain;
    bool m_needsRebuild = true;
    std::int64_t m_buildCount = 0;
    std::shared_ptr<UIMenu> m_mainMenu;
};

} // namespace UIKit
