#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIAlertAction;

// An alert or action sheet: a title, a message and the actions the user chooses from. An action sheet
// is presented as a pop-over, so it has an anchor to set; an alert is presented in its own style.
class UIAlertController : public UIViewController {
public:
    enum class Style : std::int64_t;

    const std::optional<Foundation::String>& title() const { return m_title; }
    void setTitle(std::optional<Foundation::String> title) { m_title = std::move(title); }
    const std::optional<Foundation::String>& message() const { return m_message; }
    void setMessage(std::optional<Foundation::String> message) { m_message = std::move(message); }
    Style preferredStyle() const { return m_preferredStyle; }

    // In the order they were added.
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return m_actions; }
    void addAction(const std::shared_ptr<UIAlertAction>& action);
    // One of the actions, or none; an action that is not one of the alert's is refused.
    const std::shared_ptr<UIAlertAction>& preferredAction() const { return m_preferredAction; }
    void setPreferredAction(const std::shared_ptr<UIAlertAction>& action);

protected:
    friend Foundation::Construct;
    // init(title:message:preferredStyle:)
    UIAlertController(std::optional<Foundation::String> title, std::optional<Foundation::String> message,
                      Style preferredStyle);
    // init(coder:): an alert without title or message.
    explicit UIAlertController(Foundation::NSCoder& coder);

private:
    std::optional<Foundation::String> m_title;
    std::optional<Foundation::String> m_message;
    Style m_preferredStyle;
    std::vector<std::shared_ptr<UIAlertAction>> m_actions;
    std::shared_ptr<UIAlertAction> m_preferredAction;
};

} // namespace UIKit

#include "Platform/UIKit/UIAlertController.Style.hpp"
