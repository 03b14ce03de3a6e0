#pragma once

#include "Platform/UIKit/UIMenuElement.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

// A menu entry with its own handler, which runs when the user chooses it.
class UIAction : public UIMenuElement {
public:
    using Handler = std::function<void(const std::shared_ptr<UIAction>&)>;

    void setTitle(Foundation::String title) { setElementTitle(std::move(title)); }
    void setImage(std::shared_ptr<UIImage> image) { setElementImage(std::move(image)); }
    // Names the action among others; empty when the maker gave none.
    const std::optional<Foundation::String>& identifier() const { return m_identifier; }
    const std::optional<Foundation::String>& discoverabilityTitle() const { return m_discoverabilityTitle; }
    void setDiscoverabilityTitle(std::optional<Foundation::String> title) { m_discoverabilityTitle = std::move(title); }
    Attributes attributes() const { return m_attributes; }
    void setAttributes(Attributes attributes) { m_attributes = attributes; }
    State state() const { return m_state; }
    void setState(State state) { m_state = state; }

    // What a menu or control does when the user chooses the action.
    void performWithSender(const std::shared_ptr<Foundation::NSObject>& sender);
    // The object that performed the action last (a control, a menu); held weakly.
    std::shared_ptr<Foundation::NSObject> sender() const { return m_sender.lock(); }

protected:
    friend Foundation::Construct;
    // init(title:image:identifier:discoverabilityTitle:attributes:state:handler:)
    UIAction(Foundation::String title, Handler handler, std::optional<Foundation::String> identifier = std::nullopt,
             Attributes attributes = {}, State state = State::off)
        : UIMenuElement(std::move(title))
        , m_identifier(std::move(identifier))
        , m_attributes(attributes)
        , m_state(state)
        , m_handler(std::move(handler))
    {
    }

private:
    std::optional<Foundation::String> m_identifier;
    std::optional<Foundation::String> m_discoverabilityTitle;
    Attributes m_attributes;
    State m_state;
    Handler m_handler;
    std::weak_ptr<Foundation::NSObject> m_sender;
};

} // namespace UIKit
