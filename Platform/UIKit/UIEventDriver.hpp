#pragma once

#include "Platform/UIKit/CGPoint.hpp"

#include <memory>

namespace UIKit {

class UIEvent;
class UIKey;
class UITouch;
class UIWindow;

// The source of user events: builds them as the system would and hands them to
// `UIApplication::shared()->sendEvent`, which passes them to their window. Tests and the program's driver
// use it in place of real input devices.
class UIEventDriver {
public:
    // One finger on a window, at a point in window coordinates: down, moved, up.
    static std::shared_ptr<UITouch> touchDown(const std::shared_ptr<UIWindow>& window, CGPoint location);
    static void touchMove(const std::shared_ptr<UITouch>& touch, CGPoint location);
    static void touchUp(const std::shared_ptr<UITouch>& touch);
    static void tap(const std::shared_ptr<UIWindow>& window, CGPoint location);
    // The same at a point on the screen: the frontmost window that answers there takes it.
    static std::shared_ptr<UITouch> touchDown(CGPoint screenLocation);
    static void tap(CGPoint screenLocation);

    // A keyboard key pressed and released; key events go to the key window. True when a key command or a
    // responder took the press, false when it went past the end of the responder chain.
    static bool pressKey(const std::shared_ptr<UIKey>& key);

    // Pointer and device events that carry no touches.
    static void scroll(const std::shared_ptr<UIWindow>& window);
    static void hover(const std::shared_ptr<UIWindow>& window);
    static void shake();

    static void send(const std::shared_ptr<UIEvent>& event);
};

} // namespace UIKit
