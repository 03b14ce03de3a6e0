#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Selector.hpp"
#include "Platform/UIKit/UIMenu.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {

class UIAction;
class UICommand;
class UIMenuSystem;

// Builds a menu system's menus: starts from the system's own and lets `buildMenu(with:)` remove, replace
// and insert menus by identifier. An operation naming a menu that is not there changes nothing; inserting
// a menu whose identifier is already in use stops the program, as the platform does.
class UIMenuBuilder : public Foundation::NSObject {
public:
    using Children = std::vector<std::shared_ptr<UIMenuElement>>;

    std::shared_ptr<UIMenuSystem> system() const { return m_system.lock(); }

    std::shared_ptr<UIMenu> menu(const UIMenu::Identifier& for_) const;
    std::shared_ptr<UIAction> action(const Foundation::String& forIdentifier) const;
    std::shared_ptr<UICommand> command(Foundation::Selector forAction) const;

    void replace(const UIMenu::Identifier& menu, const std::shared_ptr<UIMenu>& with);
    void replaceChildren(const UIMenu::Identifier& ofMenu, const std::function<Children(const Children&)>& from);
    void insertSiblingBeforeMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& beforeMenu);
    void insertSiblingAfterMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& afterMenu);
    void insertChildAtStartOfMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& atStartOfMenu);
    void insertChildAtEndOfMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& atEndOfMenu);
    void remove(const UIMenu::Identifier& menu);

    // The menus as built so far.
    const std::shared_ptr<UIMenu>& root() const { return m_root; }

protected:
    friend Foundation::Construct;
    UIMenuBuilder(const std::shared_ptr<UIMenuSystem>& system, std::shared_ptr<UIMenu> root)
        : m_system(system)
        , m_root(std::move(root))
    {
    }

private:
    // Applies `change` to the children of the first menu, depth first, that `where` accepts.
    void edit(const std::function<bool(const UIMenu&)>& where, const std::function<Children(const Children&)>& change);
    void insertSibling(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& of, std::ptrdiff_t offset);
    void insertChild(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& of, bool atStart);
    void checkUnused(const UIMenu& menu) const;

    std::weak_ptr<UIMenuSystem> m_system;
    std::shared_ptr<UIMenu> m_root;
};

} // namespace UIKit
