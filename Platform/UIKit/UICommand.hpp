#pragma once

#include "Platform/Foundation/Selector.hpp"
#include "Platform/UIKit/UIMenuElement.hpp"

#include <any>
#include <memory>

namespace UIKit {

// A menu entry that sends its action along the responder chain: the first responder that can perform it
// takes it. Before a menu shows, the menu system hands each command to its target's `validate(_:)`,
// which may change the title, the attributes and the state of the copy that shows.
class UICommand : public UIMenuElement {
public:
    Foundation::Selector action() const { return m_action; }
    // A value that tells commands with one action apart; empty for none.
    const std::any& propertyList() const { return m_propertyList; }
    void setTitle(Foundation::String title) { setElementTitle(std::move(title)); }
    void setImage(std::shared_ptr<UIImage> image) { setElementImage(std::move(image)); }
    const std::optional<Foundation::String>& discoverabilityTitle() const { return m_discoverabilityTitle; }
    void setDiscoverabilityTitle(std::optional<Foundation::String> title) { m_discoverabilityTitle = std::move(title); }
    Attributes attributes() const { return m_attributes; }
    void setAttributes(Attributes attributes) { m_attributes = attributes; }
    State state() const { return m_state; }
    void setState(State state) { m_state = state; }

    // A separate command with the same values: what validation changes.
    virtual std::shared_ptr<UICommand> copy() const;

protected:
    friend Foundation::Construct;
    // init(title:image:action:propertyList:)
    UICommand(Foundation::String title, Foundation::Selector action, std::any propertyList = {})
        : UIMenuElement(std::move(title))
        , m_action(action)
        , m_propertyList(std::move(propertyList))
    {
    }
    void copyValues(const UICommand& from);

private:
    Foundation::Selector m_action;
    std::any m_propertyList;
    std::optional<Foundation::String> m_discoverabilityTitle;
    Attributes m_attributes;
    State m_state = State::off;
};

} // namespace UIKit
