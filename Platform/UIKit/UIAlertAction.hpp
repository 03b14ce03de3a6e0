#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

// A button of an alert: its title, its role and what choosing it does.
class UIAlertAction : public Foundation::NSObject {
public:
    enum class Style : std::int64_t;
    using Handler = std::function<void(const std::shared_ptr<UIAlertAction>&)>;

    const std::optional<Foundation::String>& title() const { return m_title; }
    Style style() const { return m_style; }
    bool isEnabled() const { return m_isEnabled; }
    void setIsEnabled(bool enabled) { m_isEnabled = enabled; }
    // What the alert runs when the user chooses the action; empty for none.
    const Handler& handler() const { return m_handler; }

protected:
    friend Foundation::Construct;
    // init(title:style:handler:)
    UIAlertAction(std::optional<Foundation::String> title, Style style, Handler handler = nullptr)
        : m_title(std::move(title))
        , m_style(style)
        , m_handler(std::move(handler))
    {
    }

private:
    std::optional<Foundation::String> m_title;
    Style m_style;
    bool m_isEnabled = true;
    Handler m_handler;
};

} // namespace UIKit

#include "Platform/UIKit/UIAlertAction.Style.hpp"
