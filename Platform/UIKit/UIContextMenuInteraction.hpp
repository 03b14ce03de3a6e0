#pragma once

#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/UIInteraction.hpp"

#include <memory>

namespace UIKit {

class UIContextMenuConfiguration;
class UIContextMenuInteraction;
class UIMenu;

// Asked for the configuration of the menu a secondary click opens; held weakly.
class UIContextMenuInteractionDelegate {
public:
    virtual ~UIContextMenuInteractionDelegate() = default;
    // contextMenuInteraction(_:configurationForMenuAtLocation:), the location in the view's coordinates;
    // none opens no menu.
    virtual std::shared_ptr<UIContextMenuConfiguration> contextMenuInteraction(UIContextMenuInteraction& interaction,
                                                                               CGPoint configurationForMenuAtLocation) = 0;

protected:
    UIContextMenuInteractionDelegate() = default;
    UIContextMenuInteractionDelegate(const UIContextMenuInteractionDelegate&) = default;
    UIContextMenuInteractionDelegate& operator=(const UIContextMenuInteractionDelegate&) = default;
};

// A context menu on a view: a secondary click on the view opens the menu its delegate configures.
class UIContextMenuInteraction : public UIInteraction {
public:
    std::shared_ptr<UIContextMenuInteractionDelegate> delegate() const { return m_delegate.lock(); }
    // The menu for a secondary click at the location; none when the delegate offers none.
    std::shared_ptr<UIMenu> menu(CGPoint atLocation);

protected:
    friend Foundation::Construct;
    explicit UIContextMenuInteraction(const std::shared_ptr<UIContextMenuInteractionDelegate>& delegate)
        : m_delegate(delegate)
    {
    }

private:
    std::weak_ptr<UIContextMenuInteractionDelegate> m_delegate;
};

} // namespace UIKit
