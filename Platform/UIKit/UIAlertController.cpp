#include "Platform/UIKit/UIAlertController.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"

#include <algorithm>

namespace UIKit {

UIAlertController::UIAlertController(std::optional<Foundation::String> title,
                                     std::optional<Foundation::String> message, Style preferredStyle)
    : m_title(std::move(title))
    , m_message(std::move(message))
    , m_preferredStyle(preferredStyle)
{
    setModalPresentationStyle(preferredStyle == Style::actionSheet ? UIModalPresentationStyle::popover
                                                                   : UIModalPresentationStyle::custom);
}

UIAlertController::UIAlertController(Foundation::NSCoder& coder)
    : UIViewController(coder)
    , m_preferredStyle(Style::alert)
{
    setModalPresentationStyle(UIModalPresentationStyle::custom);
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action)
{
    Foundation::precondition(action != nullptr, "An alert cannot add a null action");
    m_actions.push_back(action);
}

void UIAlertController::setPreferredAction(const std::shared_ptr<UIAlertAction>& action)
{
    Foundation::precondition(!action || std::ranges::find(m_actions, action) != m_actions.end(),
                             "The preferred action must be one of the alert's actions");
    m_preferredAction = action;
}

} // namespace UIKit
