#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIAlertAction;
class UIKeyCommand;
class UITextField;

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

    // addTextField(configurationHandler:): a field shown above the actions, configured by the handler.
    void addTextField(const std::function<void(UITextField&)>& configurationHandler = nullptr);
    const std::vector<std::shared_ptr<UITextField>>& textFields() const { return m_textFields; }

    // What a tap on an action's button does: an enabled action dismisses the alert and, once it is gone,
    // runs its handler. Only the first choice counts.
    void choose(const std::shared_ptr<UIAlertAction>& action);

    // Return chooses the preferred action (else the only default one, else the only one that does not
    // cancel), Escape the cancel action (a notice's one action when it has no other).
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override;
    bool canBecomeFirstResponder() const override { return true; }
    // The first text field takes focus, or the alert itself, so that its keys reach it.
    void viewDidAppear(bool animated) override;

protected:
    friend Foundation::Construct;
    // init(title:message:preferredStyle:)
    UIAlertController(std::optional<Foundation::String> title, std::optional<Foundation::String> message,
                      Style preferredStyle);
    // init(coder:): an alert without title or message.
    explicit UIAlertController(Foundation::NSCoder& coder);

    void initialize() override;
    // A column: title, message, text fields, then a button for each action.
    void loadView() override;

private:
    void chooseDefault();
    void chooseCancel();
    std::shared_ptr<UIAlertAction> defaultAction() const;

    std::optional<Foundation::String> m_title;
    std::optional<Foundation::String> m_message;
    Style m_preferredStyle;
    std::vector<std::shared_ptr<UIAlertAction>> m_actions;
    std::shared_ptr<UIAlertAction> m_preferredAction;
    std::vector<std::shared_ptr<UITextField>> m_textFields;
    bool m_hasChosen = false;
};

} // namespace UIKit

#include "Platform/UIKit/UIAlertController.Style.hpp"
