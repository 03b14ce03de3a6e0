#include "Platform/UIKit/UIMenuBuilder.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UICommand.hpp"

#include <algorithm>

namespace UIKit {
namespace {

using Children = UIMenuBuilder::Children;

template <class Found>
std::shared_ptr<Found> findElement(const std::shared_ptr<UIMenu>& menu, const std::function<bool(const Found&)>& matches)
{
    for (const auto& child : menu->children()) {
        if (auto element = std::dynamic_pointer_cast<Found>(child); element && matches(*element))
            return element;
        if (auto submenu = std::dynamic_pointer_cast<UIMenu>(child))
            if (auto found = findElement<Found>(submenu, matches))
                return found;
    }
    return nullptr;
}

std::shared_ptr<UIMenu> rebuilt(const std::shared_ptr<UIMenu>& menu, const std::function<bool(const UIMenu&)>& where,
                                const std::function<Children(const Children&)>& change, bool& done)
{
    if (where(*menu)) {
        done = true;
        return menu->replacingChildren(change(menu->children()));
    }
    auto children = menu->children();
    for (auto& child : children) {
        auto submenu = std::dynamic_pointer_cast<UIMenu>(child);
        if (!submenu)
            continue;
        child = rebuilt(submenu, where, change, done);
        if (done)
            return menu->replacingChildren(std::move(children));
    }
    return menu;
}

auto named(const UIMenu::Identifier& identifier)
{
    return [identifier](const UIMenu& menu) { return menu.identifier() == identifier; };
}

auto holding(const UIMenu::Identifier& identifier)
{
    return [identifier](const UIMenu& menu) {
        return std::ranges::any_of(menu.children(), [&](const std::shared_ptr<UIMenuElement>& child) {
            auto submenu = std::dynamic_pointer_cast<UIMenu>(child);
            return submenu && submenu->identifier() == identifier;
        });
    };
}

Children::const_iterator position(const Children& children, const UIMenu::Identifier& identifier)
{
    return std::ranges::find_if(children, [&](const std::shared_ptr<UIMenuElement>& child) {
        auto submenu = std::dynamic_pointer_cast<UIMenu>(child);
        return submenu && submenu->identifier() == identifier;
    });
}

} // namespace

std::shared_ptr<UIMenu> UIMenuBuilder::menu(const UIMenu::Identifier& identifier) const
{
    if (m_root->identifier() == identifier)
        return m_root;
    return findElement<UIMenu>(m_root, named(identifier));
}

std::shared_ptr<UIAction> UIMenuBuilder::action(const Foundation::String& identifier) const
{
    return findElement<UIAction>(m_root, [&](const UIAction& action) { return action.identifier() == identifier; });
}

std::shared_ptr<UICommand> UIMenuBuilder::command(Foundation::Selector action) const
{
    return findElement<UICommand>(m_root, [&](const UICommand& command) { return command.action() == action; });
}

void UIMenuBuilder::edit(const std::function<bool(const UIMenu&)>& where, const std::function<Children(const Children&)>& change)
{
    bool done = false;
    m_root = rebuilt(m_root, where, change, done);
}

void UIMenuBuilder::checkUnused(const UIMenu& menu) const
{
    if (this->menu(menu.identifier()))
        Foundation::fatalError("The menu identifier " + menu.identifier().rawValue.utf8() + " is already in use");
    for (const auto& child : menu.children())
        if (auto submenu = std::dynamic_pointer_cast<UIMenu>(child))
            checkUnused(*submenu);
}

void UIMenuBuilder::replace(const UIMenu::Identifier& identifier, const std::shared_ptr<UIMenu>& with)
{
    Foundation::precondition(with != nullptr, "A menu cannot be replaced with nothing");
    if (identifier == m_root->identifier()) {
        m_root = with;
        return;
    }
    edit(holding(identifier), [&](const Children& children) {
        auto result = children;
        result[static_cast<std::size_t>(position(children, identifier) - children.begin())] = with;
        return result;
    });
}

void UIMenuBuilder::replaceChildren(const UIMenu::Identifier& ofMenu, const std::function<Children(const Children&)>& from)
{
    edit(named(ofMenu), from);
}

void UIMenuBuilder::insertSibling(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& of, std::ptrdiff_t offset)
{
    Foundation::precondition(menu != nullptr, "Cannot insert a null menu");
    checkUnused(*menu);
    edit(holding(of), [&](const Children& children) {
        auto result = children;
        result.insert(result.begin() + (position(children, of) - children.begin()) + offset, menu);
        return result;
    });
}

void UIMenuBuilder::insertSiblingBeforeMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& beforeMenu)
{
    insertSibling(menu, beforeMenu, 0);
}

void UIMenuBuilder::insertSiblingAfterMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& afterMenu)
{
    insertSibling(menu, afterMenu, 1);
}

void UIMenuBuilder::insertChild(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& of, bool atStart)
{
    Foundation::precondition(menu != nullptr, "Cannot insert a null menu");
    checkUnused(*menu);
    edit(named(of), [&](const Children& children) {
        auto result = children;
        result.insert(atStart ? result.begin() : result.end(), menu);
        return result;
    });
}

void UIMenuBuilder::insertChildAtStartOfMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& atStartOfMenu)
{
    insertChild(menu, atStartOfMenu, true);
}

void UIMenuBuilder::insertChildAtEndOfMenu(const std::shared_ptr<UIMenu>& menu, const UIMenu::Identifier& atEndOfMenu)
{
    insertChild(menu, atEndOfMenu, false);
}

void UIMenuBuilder::remove(const UIMenu::Identifier& identifier)
{
    edit(holding(identifier), [&](const Children& children) {
        auto result = children;
        result.erase(result.begin() + (position(children, identifier) - children.begin()));
        return result;
    });
}

} // namespace UIKit
