#pragma once

#include "Platform/UIKit/UISceneDelegate.hpp"

#include <memory>

namespace UIKit {

class UIWindow;

// The delegate of a window scene, which keeps the scene's main window.
class UIWindowSceneDelegate : public UISceneDelegate {
public:
    virtual std::shared_ptr<UIWindow> window() const { return nullptr; }
};

} // namespace UIKit
