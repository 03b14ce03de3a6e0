#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

class UIColor;
class UIView;

// An action shown when the user swipes a row.
class UIContextualAction : public Foundation::NSObject {
public:
    enum class Style : std::int64_t;
    using CompletionHandler = std::function<void(bool actionPerformed)>;
    // Receives the action, the view that showed it and the completion to call when done.
    using Handler = std::function<void(const std::shared_ptr<UIContextualAction>&, const std::shared_ptr<UIView>&,
                                       CompletionHandler)>;

    Style style() const { return m_style; }
    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }
    const std::shared_ptr<UIColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { m_backgroundColor = std::move(color); }
    // What the table runs when the user chooses the action.
    const Handler& handler() const { return m_handler; }

protected:
    friend Foundation::Construct;
    // init(style:title:handler:)
    UIContextualAction(Style style, std::optional<Foundation::String> title, Handler handler)
        : m_style(style)
        , m_title(std::move(title))
        , m_handler(std::move(handler))
    {
    }

private:
    Style m_style;
    std::optional<Foundation::String> m_title;
    std::shared_ptr<UIColor> m_backgroundColor;
    Handler m_handler;
};

} // namespace UIKit

#include "Platform/UIKit/UIContextualAction.Style.hpp"
