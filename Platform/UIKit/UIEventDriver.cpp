#include "Platform/UIKit/UIEventDriver.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace UIKit {

using Foundation::make;

void UIEventDriver::send(const std::shared_ptr<UIEvent>& event)
{
    UIApplication::shared()->sendEvent(event);
}

std::shared_ptr<UITouch> UIEventDriver::touchDown(const std::shared_ptr<UIWindow>& window, CGPoint location)
{
    auto touch = make<UITouch>(window, location, UITouch::Phase::began);
    send(make<UIEvent>(UIEvent::EventType::touches, std::vector {touch}));
    return touch;
}

std::shared_ptr<UITouch> UIEventDriver::touchDown(CGPoint screenLocation)
{
    return touchDown(nullptr, screenLocation);
}

void UIEventDriver::tap(CGPoint screenLocation)
{
    touchUp(touchDown(screenLocation));
}

void UIEventDriver::touchMove(const std::shared_ptr<UITouch>& touch, CGPoint location)
{
    touch->m_phase = UITouch::Phase::moved;
    touch->m_locationInWindow = location;
    send(make<UIEvent>(UIEvent::EventType::touches, std::vector {touch}));
}

void UIEventDriver::touchUp(const std::shared_ptr<UITouch>& touch)
{
    touch->m_phase = UITouch::Phase::ended;
    send(make<UIEvent>(UIEvent::EventType::touches, std::vector {touch}));
}

void UIEventDriver::tap(const std::shared_ptr<UIWindow>& window, CGPoint location)
{
    touchUp(touchDown(window, location));
}

bool UIEventDriver::pressKey(const std::shared_ptr<UIKey>& key)
{
    auto press = make<UIPress>(UIPress::Phase::began, key);
    send(make<UIEvent>(UIEvent::EventType::presses, std::vector<std::shared_ptr<UITouch>> {}, std::vector {press}));
    const bool taken = !press->passedEndOfResponderChain();
    press->m_phase = UIPress::Phase::ended;
    send(make<UIEvent>(UIEvent::EventType::presses, std::vector<std::shared_ptr<UITouch>> {}, std::vector {press}));
    return taken;
}

void UIEventDriver::scroll(const std::shared_ptr<UIWindow>& window)
{
    send(make<UIEvent>(UIEvent::EventType::scroll, std::vector<std::shared_ptr<UITouch>> {},
                       std::vector<std::shared_ptr<UIPress>> {}, window));
}

void UIEventDriver::hover(const std::shared_ptr<UIWindow>& window)
{
    send(make<UIEvent>(UIEvent::EventType::hover, std::vector<std::shared_ptr<UITouch>> {},
                       std::vector<std::shared_ptr<UIPress>> {}, window));
}

void UIEventDriver::shake()
{
    send(make<UIEvent>(UIEvent::EventType::motion));
}

} // namespace UIKit
