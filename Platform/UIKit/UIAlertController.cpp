#include "Platform/UIKit/UIAlertController.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <algorithm>
#include <mutex>

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

void UIAlertController::initialize()
{
    UIViewController::initialize();
    // The key commands' actions, answered by every alert.
    static std::once_flag registered;
    std::call_once(registered, [] {
        Foundation::MethodTable::add(Foundation::Selector("chooseDefaultAlertAction"), &UIAlertController::chooseDefault);
        Foundation::MethodTable::add(Foundation::Selector("chooseCancelAlertAction"), &UIAlertController::chooseCancel);
    });
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action)
{
    Foundation::precondition(action != nullptr, "An alert cannot add a null action");
    m_actions.push_back(action);
    if (isViewLoaded())
        loadView();
}

void UIAlertController::addTextField(const std::function<void(UITextField&)>& configurationHandler)
{
    Foundation::precondition(m_preferredStyle == Style::alert, "Text fields can only be added to an alert");
    auto field = Foundation::make<UITextField>();
    if (configurationHandler)
        configurationHandler(*field);
    m_textFields.push_back(field);
    if (isViewLoaded())
        loadView();
}

void UIAlertController::loadView()
{
    constexpr CGFloat margin = 16;
    // Wide enough for every action's title, as far as a usual alert goes.
    CGFloat width = 270;
    for (const auto& action : m_actions)
        if (const auto& title = action->title())
            width = std::clamp(static_cast<CGFloat>(TextGrid::columns(*title) + 2) * TextGrid::columnWidth, width, CGFloat {480});
    auto column = isViewLoaded() ? view() : Foundation::make<UIView>();
    for (auto subviews = column->subviews(); const auto& subview : subviews)
        subview->removeFromSuperview();
    CGFloat y = margin;
    for (const auto& text : {m_title, m_message}) {
        if (!text)
            continue;
        auto label = Foundation::make<UILabel>();
        label->setText(*text);
        label->setNumberOfLines(0);
        const CGFloat height = label->intrinsicContentSizeAtWidth(width - 2 * margin).value_or(CGSize {0, 20}).height;
        label->setFrame({margin, y, width - 2 * margin, height});
        column->addSubview(label);
        y += height + 8;
    }
    for (const auto& field : m_textFields) {
        field->setFrame({margin, y, width - 2 * margin, 30});
        column->addSubview(field);
        y += 38;
    }
    for (const auto& action : m_actions) {
        auto button = Foundation::make<UIButton>();
        button->setTitle(action->title(), UIControl::State::normal());
        button->setIsEnabled(action->isEnabled());
        button->setFrame({0, y, width, 44});
        std::weak_ptr<UIAlertController> weakSelf = sharedSelf(this);
        std::weak_ptr<UIAlertAction> weakAction = action;
        button->addAction([weakSelf, weakAction] {
            if (auto self = weakSelf.lock())
                if (auto chosen = weakAction.lock())
                    self->choose(chosen);
        }, UIControl::Event::primaryActionTriggered());
        column->addSubview(button);
        y += 44;
    }
    column->setFrame({0, 0, width, y});
    setPreferredContentSize({width, y});
    if (!isViewLoaded())
        setView(column);
}

void UIAlertController::choose(const std::shared_ptr<UIAlertAction>& action)
{
    if (!action || !action->isEnabled() || m_hasChosen || std::ranges::find(m_actions, action) == m_actions.end())
        return;
    m_hasChosen = true;
    auto handler = action->handler();
    dismiss(true, [handler, action] {
        if (handler)
            handler(action);
    });
}

std::shared_ptr<UIAlertAction> UIAlertController::defaultAction() const
{
    if (m_preferredAction)
        return m_preferredAction;
    // Else the one default action, or the one action that does not cancel (a confirmation of a
    // destructive step); several leave Return nothing to pick.
    auto only = [this](auto&& counts) {
        std::shared_ptr<UIAlertAction> found;
        for (const auto& action : m_actions) {
            if (!counts(*action))
                continue;
            if (found)
                return std::shared_ptr<UIAlertAction>();
            found = action;
        }
        return found;
    };
    if (auto found = only([](const UIAlertAction& action) { return action.style() == UIAlertAction::Style::default_; }))
        return found;
    return only([](const UIAlertAction& action) { return action.style() != UIAlertAction::Style::cancel; });
}

void UIAlertController::chooseDefault()
{
    choose(defaultAction());
}

void UIAlertController::chooseCancel()
{
    auto cancel = std::ranges::find_if(m_actions, [](const auto& action) { return action->style() == UIAlertAction::Style::cancel; });
    if (cancel != m_actions.end())
        choose(*cancel);
    else if (m_actions.size() == 1)
        choose(m_actions.front()); // a notice: its one button closes it
}

std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> UIAlertController::keyCommands() const
{
    auto choose = Foundation::make<UIKeyCommand>("\r", UIKeyModifierFlags(), Foundation::Selector("chooseDefaultAlertAction"));
    auto cancel = Foundation::make<UIKeyCommand>(UIKeyCommand::inputEscape(), UIKeyModifierFlags(),
                                                 Foundation::Selector("chooseCancelAlertAction"));
    choose->setWantsPriorityOverSystemBehavior(true);
    cancel->setWantsPriorityOverSystemBehavior(true);
    return std::vector {choose, cancel};
}

void UIAlertController::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    if (!m_textFields.empty())
        m_textFields.front()->becomeFirstResponder();
    else
        becomeFirstResponder();
}

void UIAlertController::setPreferredAction(const std::shared_ptr<UIAlertAction>& action)
{
    Foundation::precondition(!action || std::ranges::find(m_actions, action) != m_actions.end(),
                             "The preferred action must be one of the alert's actions");
    m_preferredAction = action;
}

} // namespace UIKit
