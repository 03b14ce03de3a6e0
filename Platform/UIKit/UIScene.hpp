#pragma once

#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UIScene.ConnectionOptions.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UISceneDelegate;
class UISceneSession;

// One instance of the application's interface that the system connects, activates and disconnects.
class UIScene : public UIResponder {
public:
    using ConnectionOptions = UISceneConnectionOptions;
    enum class ActivationState : std::int64_t {
        unattached = -1,
        foregroundActive = 0,
        foregroundInactive = 1,
        background = 2,
    };

    // None for a scene made without the system (tests).
    std::shared_ptr<UISceneSession> session() const { return m_session.lock(); }
    // The scene keeps its delegate.
    const std::shared_ptr<UISceneDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<UISceneDelegate> delegate) { m_delegate = std::move(delegate); }
    ActivationState activationState() const { return m_activationState; }

protected:
    UIScene() = default;

private:
    friend class UIApplication;
    std::weak_ptr<UISceneSession> m_session;
    std::shared_ptr<UISceneDelegate> m_delegate;
    ActivationState m_activationState = ActivationState::unattached;
};

} // namespace UIKit
