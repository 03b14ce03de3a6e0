#include "Platform/UIKit/UIApplication.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>

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

void UIApplication::open(const Foundation::URL& url, const OpenExternalURLOptions& /*options*/,
                         std::function<void(bool success)> completionHandler)
{
    m_openedURLs.push_back(url);
    if (completionHandler)
        Foundation::DispatchQueue::main()->async([completionHandler = std::move(completionHandler)] {
            completionHandler(true);
        });
}

void UIApplication::sendEvent(const std::shared_ptr<UIEvent>& event)
{
    MainThreadChecker::check("UIApplication.sendEvent");
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
