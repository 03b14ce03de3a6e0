#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIAlertController.hpp"

#include <optional>

namespace Basalwork {

// The alert every alert and action sheet of the application is built with: the platform's alert with an
// identifier, so that an alert on screen can be recognised later.
class AlertController : public UIKit::UIAlertController {
public:
    // Empty until the owner sets one.
    virtual const std::optional<Foundation::String>& identifier() const { return m_identifier; }
    virtual void setIdentifier(std::optional<Foundation::String> identifier) { m_identifier = std::move(identifier); }

protected:
    friend Foundation::Construct;
    AlertController(std::optional<Foundation::String> title, std::optional<Foundation::String> message,
                    Style preferredStyle)
        : UIAlertController(std::move(title), std::move(message), preferredStyle)
    {
    }
    explicit AlertController(Foundation::NSCoder& coder)
        : UIAlertController(coder)
    {
    }

private:
    std::optional<Foundation::String> m_identifier;
};

} // namespace Basalwork
