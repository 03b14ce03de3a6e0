#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

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

    // Target and action: the action is a member function of the target's class. The target is held
    // weakly, as the platform does; without a target nothing receives the action.
    std::shared_ptr<Foundation::NSObject> target() const { return m_target.lock(); }
    bool hasAction() const { return static_cast<bool>(m_action); }
    // What the bar does when the user taps the item: the action reaches the target if both are there.
    void sendAction()
    {
        if (auto target = this->target(); target && m_action)
            m_action(*target);
    }

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
    std::weak_ptr<UIView> m_view;
};

} // namespace UIKit

#include "Platform/UIKit/UIBarButtonItem.Style.hpp"
#include "Platform/UIKit/UIBarButtonItem.SystemItem.hpp"
