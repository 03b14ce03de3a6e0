#include "Platform/UIKit/UIApplication.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <cctype>

namespace UIKit {

UIApplication::UIApplication()
    : m_applicationState(State::active)
{
}

const std::shared_ptr<UIApplication>& UIApplication::shared()
{
    static auto* application = new std::shared_ptr<UIApplication>(Foundation::make<UIApplication>());
    return *application;
}

std::vector<std::shared_ptr<UIWindowScene>> UIApplication::connectedScenes() const
{
    std::vector<std::shared_ptr<UIWindowScene>> result;
    for (const auto& weak : m_connectedScenes)
        if (auto scene = weak.lock())
            result.push_back(std::move(scene));
    return result;
}

std::vector<std::shared_ptr<UIWindow>> UIApplication::windows() const
{
    std::vector<std::shared_ptr<UIWindow>> result;
    for (const auto& scene : connectedScenes())
        for (auto& window : scene->windows())
            result.push_back(std::move(window));
    return result;
}

const Foundation::String& UIApplication::openSettingsURLString()
{
    static const Foundation::String text("app-settings:");
    return text;
}

bool UIApplication::canOpenURL(const Foundation::URL& url) const
{
    std::string scheme = url.scheme();
    std::ranges::transform(scheme, scheme.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (scheme == "http" || scheme == "https") {
        auto host = url.host();
        return host && !host->isEmpty();
    }
    return scheme == "mailto";
}

void UIApplication::open(const Foundation::URL& url, const OpenExternalURLOptions& /*options*/,
                         std::function<void(bool success)> completionHandler)
{
    m_openedURLs.push_back(url);
    if (completionHandler)
        Foundation::DispatchQueue::main()->async([completionHandler = std::move(completionHandler)] {
            completionHandler(true);
        });
}

std::vector<std::shared_ptr<UIWindow>> UIApplication::windowsFrontToBack() const
{
    auto result = windows();
    std::erase_if(result, [](const std::shared_ptr<UIWindow>& window) { return window->isHidden(); });
    std::ranges::stable_sort(result, [](const auto& lhs, const auto& rhs) { return lhs->isInFrontOf(*rhs); });
    return result;
}

void UIApplication::placeTouches(const std::shared_ptr<UIEvent>& event)
{
    for (const auto& touch : event->allTouches()) {
        if (touch->phase() != UITouch::Phase::began || !touch->m_window.expired())
            continue;
        const CGPoint screen = touch->m_locationInWindow;
        for (const auto& window : windowsFrontToBack()) {
            CGPoint inWindow {screen.x - window->frame().origin.x, screen.y - window->frame().origin.y};
            if (window->hitTest(inWindow, event)) {
                touch->m_window = window;
                touch->m_locationInWindow = inWindow;
                break;
            }
        }
    }
}

void UIApplication::sendEvent(const std::shared_ptr<UIEvent>& event)
{
    MainThreadChecker::check("UIApplication.sendEvent");
    placeTouches(event);
    std::shared_ptr<UIWindow> window;
    for (const auto& touch : event->allTouches())
        if ((window = touch->window()))
            break;
    if (!window)
        window = event->window();
    if (!window)
        window = keyWindow();
    if (window)
        window->sendEvent(event);
}

} // namespace UIKit

namespace UIKit {

void UIApplication::setPreferredContentSizeCategory(UIContentSizeCategory category)
{
    if (category == m_preferredContentSizeCategory)
        return;
    m_preferredContentSizeCategory = std::move(category);
    Foundation::NotificationCenter::defaultCenter()->post(UIContentSizeCategory::didChangeNotification(),
                                                          sharedSelf(this));
}

} // namespace UIKit

namespace UIKit {

std::shared_ptr<UIResponder> UIApplication::next() const
{
    return std::dynamic_pointer_cast<UIResponder>(m_delegate);
}

std::shared_ptr<UIResponder> UIApplication::targetOfFirstResponder(Foundation::Selector action,
                                                                   const std::shared_ptr<Foundation::NSObject>& sender)
{
    std::shared_ptr<UIResponder> start;
    if (auto window = keyWindow()) {
        start = window->firstResponder();
        if (!start)
            start = window;
    } else {
        start = sharedSelf(this);
    }
    return start->target(action, sender);
}

bool UIApplication::sendAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& to,
                               const std::shared_ptr<Foundation::NSObject>& from, const std::shared_ptr<UIEvent>& for_)
{
    MainThreadChecker::check("UIApplication.sendAction");
    std::shared_ptr<Foundation::NSObject> receiver = to;
    if (!receiver)
        receiver = targetOfFirstResponder(action, from);
    if (!receiver || !receiver->respondsToSelector(action))
        return false;
    Foundation::MethodTable::Arguments arguments;
    if (action.argumentCount() >= 1)
        arguments.emplace_back(from);
    if (action.argumentCount() >= 2)
        arguments.emplace_back(std::shared_ptr<Foundation::NSObject>(for_));
    Foundation::MethodTable::perform(*receiver, action, arguments);
    return true;
}

} // namespace UIKit
