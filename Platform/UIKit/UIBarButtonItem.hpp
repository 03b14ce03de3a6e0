#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Selector.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

class UIAction;
class UIMenu;
class UIView;

// A button on a navigation bar or toolbar; pop-overs can be anchored on one.
class UIBarButtonItem : public Foundation::NSObject {
public:
    enum class Style : std::int64_t;
    enum class SystemItem : std::int64_t;

    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }
    Style style() const { return m_style; }
    // The standard item the button was made as; none for a titled one.
    std::optional<SystemItem> systemItem() const { return m_systemItem; }

    // The view that shows the item while a bar shows it; none otherwise.
    std::shared_ptr<UIView> view() const { return m_view.lock(); }

    bool isEnabled() const { return m_isEnabled; }
    void setIsEnabled(bool enabled) { m_isEnabled = enabled; }
    const std::optional<Foundation::String>& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::optional<Foundation::String> identifier) { m_accessibilityIdentifier = std::move(identifier); }
    const std::optional<Foundation::String>& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::optional<Foundation::String> label) { m_accessibilityLabel = std::move(label); }

    // Target and action. The action is a member function of the target's class, or a selector; a
    // selector without a target goes along the responder chain. The target is held weakly, as the
    // platform does.
    std::shared_ptr<Foundation::NSObject> target() const { return m_target.lock(); }
    void setTarget(const std::shared_ptr<Foundation::NSObject>& target) { m_target = target; }
    Foundation::Selector action() const { return m_selector; }
    void setAction(Foundation::Selector action) { m_selector = action; }
    bool hasAction() const { return static_cast<bool>(m_action) || static_cast<bool>(m_selector); }
    // Runs instead of the action when set.
    const std::shared_ptr<UIAction>& primaryAction() const { return m_primaryAction; }
    void setPrimaryAction(std::shared_ptr<UIAction> action) { m_primaryAction = std::move(action); }
    // Shown when the user taps an item without an action.
    const std::shared_ptr<UIMenu>& menu() const { return m_menu; }
    void setMenu(std::shared_ptr<UIMenu> menu) { m_menu = std::move(menu); }

    // What the bar does when the user taps the enabled item: the primary action, else the action.
    void sendAction();

protected:
    friend Foundation::Construct;
    UIBarButtonItem() = default;
    explicit UIBarButtonItem(std::optional<Foundation::String> title)
        : m_title(std::move(title))
    {
    }
    // init(barButtonSystemItem:target:action:) without target or action.
    explicit UIBarButtonItem(SystemItem systemItem)
        : m_systemItem(systemItem)
    {
    }
    // init(barButtonSystemItem:target:action:)
    template <class Target>
    UIBarButtonItem(SystemItem systemItem, const std::shared_ptr<Target>& target, void (Target::*action)())
        : m_systemItem(systemItem)
    {
        setTargetAction(target, action);
    }
    // init(barButtonSystemItem:target:action:) and init(title:style:target:action:) with a selector.
    UIBarButtonItem(SystemItem systemItem, const std::shared_ptr<Foundation::NSObject>& target, Foundation::Selector action)
        : m_systemItem(systemItem)
        , m_target(target)
        , m_selector(action)
    {
    }
    UIBarButtonItem(std::optional<Foundation::String> title, Style style, const std::shared_ptr<Foundation::NSObject>& target,
                    Foundation::Selector action)
        : m_title(std::move(title))
        , m_style(style)
        , m_target(target)
        , m_selector(action)
    {
    }
    // init(title:image:primaryAction:menu:)
    UIBarButtonItem(std::optional<Foundation::String> title, std::shared_ptr<UIAction> primaryAction,
                    std::shared_ptr<UIMenu> menu = nullptr)
        : m_title(std::move(title))
        , m_primaryAction(std::move(primaryAction))
        , m_menu(std::move(menu))
    {
    }
    // init(title:style:target:action:)
    template <class Target>
    UIBarButtonItem(std::optional<Foundation::String> title, Style style, const std::shared_ptr<Target>& target,
                    void (Target::*action)())
        : m_title(std::move(title))
        , m_style(style)
    {
        setTargetAction(target, action);
    }

private:
    friend class UINavigationBar;
    template <class Target>
    void setTargetAction(const std::shared_ptr<Target>& target, void (Target::*action)())
    {
        m_target = target;
        if (action)
            m_action = [action](Foundation::NSObject& receiver) { (static_cast<Target&>(receiver).*action)(); };
    }

    std::optional<Foundation::String> m_title;
    Style m_style {}; // plain
    std::optional<SystemItem> m_systemItem;
    std::weak_ptr<Foundation::NSObject> m_target;
    std::function<void(Foundation::NSObject&)> m_action;
    Foundation::Selector m_selector;
    std::shared_ptr<UIAction> m_primaryAction;
    std::shared_ptr<UIMenu> m_menu;
    bool m_isEnabled = true;
    std::optional<Foundation::String> m_accessibilityIdentifier;
    std::optional<Foundation::String> m_accessibilityLabel;
    std::weak_ptr<UIView> m_view;
};

} // namespace UIKit

#include "Platform/UIKit/UIBarButtonItem.Style.hpp"
#include "Platform/UIKit/UIBarButtonItem.SystemItem.hpp"
