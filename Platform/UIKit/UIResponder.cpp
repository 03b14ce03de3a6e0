#include "Platform/UIKit/UIResponder.hpp"

#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace UIKit {

bool UIResponder::canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>&)
{
    return respondsToSelector(action);
}

std::shared_ptr<UIResponder> UIResponder::target(Foundation::Selector forAction, const std::shared_ptr<Foundation::NSObject>& sender)
{
    if (canPerformAction(forAction, sender))
        return sharedSelf(this);
    auto responder = next();
    return responder ? responder->target(forAction, sender) : nullptr;
}

bool UIResponder::isFirstResponder() const
{
    auto window = firstResponderWindow();
    return window && window->firstResponder().get() == this;
}

bool UIResponder::becomeFirstResponder()
{
    MainThreadChecker::check("UIResponder.becomeFirstResponder");
    auto window = firstResponderWindow();
    if (!window || !canBecomeFirstResponder())
        return false;
    auto current = window->firstResponder();
    if (current.get() == this)
        return true;
    // Focus moving from one text input to another keeps the keyboard up.
    window->m_isHandingOverFocus = true;
    const bool resigned = !current || current->resignFirstResponder();
    window->m_isHandingOverFocus = false;
    if (!resigned) {
        window->setFirstResponder(current);
        return false;
    }
    window->setFirstResponder(sharedSelf(this));
    return true;
}

bool UIResponder::resignFirstResponder()
{
    if (!canResignFirstResponder())
        return false;
    if (auto window = firstResponderWindow(); window && window->firstResponder().get() == this)
        window->setFirstResponder(nullptr);
    return true;
}

void UIResponder::touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches,
                               const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->touchesBegan(touches, event);
}

void UIResponder::touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches,
                               const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->touchesMoved(touches, event);
}

void UIResponder::touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches,
                               const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->touchesEnded(touches, event);
}

void UIResponder::touchesCancelled(const std::vector<std::shared_ptr<UITouch>>& touches,
                                   const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->touchesCancelled(touches, event);
}

void UIResponder::pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses,
                               const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next()) {
        responder->pressesBegan(presses, event);
        return;
    }
    for (const auto& press : presses)
        press->m_passedEndOfResponderChain = true;
}

void UIResponder::pressesChanged(const std::vector<std::shared_ptr<UIPress>>& presses,
                                 const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->pressesChanged(presses, event);
}

void UIResponder::pressesEnded(const std::vector<std::shared_ptr<UIPress>>& presses,
                               const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->pressesEnded(presses, event);
}

void UIResponder::pressesCancelled(const std::vector<std::shared_ptr<UIPress>>& presses,
                                   const std::shared_ptr<UIEvent>& event)
{
    if (auto responder = next())
        responder->pressesCancelled(presses, event);
}

} // namespace UIKit
