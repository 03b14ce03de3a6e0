#pragma once

#include "Platform/UIKit/UIResponder.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace UIKit {

class UIEvent;
class UIWindow;
class UIWindowScene;

// The running application: its scenes, its key window and the entry point of every event.
class UIApplication : public UIResponder {
public:
    enum class State : std::int64_t;

    static const std::shared_ptr<UIApplication>& shared();

    std::vector<std::shared_ptr<UIWindowScene>> connectedScenes() const;
    // The windows of every connected scene, scene by scene.
    std::vector<std::shared_ptr<UIWindow>> windows() const;
    std::shared_ptr<UIWindow> keyWindow() const { return m_keyWindow.lock(); }

    State applicationState() const { return m_applicationState; }
    // The program's driver moves the application between the states.
    void setApplicationState(State state) { m_applicationState = state; }

    // Hands the event to its window: the window of its touches, the window it names, else the key window.
    virtual void sendEvent(const std::shared_ptr<UIEvent>& event);

protected:
    friend Foundation::Construct;
    UIApplication();

private:
    friend class UIWindow;
    friend class UIWindowScene;
    std::vector<std::weak_ptr<UIWindowScene>> m_connectedScenes;
    std::weak_ptr<UIWindow> m_keyWindow;
    State m_applicationState;
};

} // namespace UIKit

#include "Platform/UIKit/UIApplication.State.hpp"
