#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIContentSizeCategory.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UIUserInterfaceLayoutDirection.hpp"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace UIKit {

class UIApplicationDelegate;
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
    // The visible windows, the frontmost first.
    std::vector<std::shared_ptr<UIWindow>> windowsFrontToBack() const;

    State applicationState() const { return m_applicationState; }

    // The user's text size; large until the user picks another. A change is announced with
    // `UIContentSizeCategory::didChangeNotification()`, from the application.
    const UIContentSizeCategory& preferredContentSizeCategory() const { return m_preferredContentSizeCategory; }
    void setPreferredContentSizeCategory(UIContentSizeCategory category);
    // The program's driver moves the application between the states.
    void setApplicationState(State state) { m_applicationState = state; }

    // Whether the system has something that opens the URL: web pages with a host and mail drafts.
    bool canOpenURL(const Foundation::URL& url) const;

    // The text of the URL that opens the application's own page in the system's settings.
    static const Foundation::String& openSettingsURLString();
    using OpenExternalURLOptions = std::map<Foundation::String, std::any>;
    // open(_:options:completionHandler:): hands the URL to the system, which opens it; the completion
    // learns the outcome on a later turn of the main loop. Nothing is opened here: the URLs are recorded.
    void open(const Foundation::URL& url, const OpenExternalURLOptions& options = {},
              std::function<void(bool success)> completionHandler = nullptr);
    // Every URL opened, oldest first.
    const std::vector<Foundation::URL>& openedURLs() const { return m_openedURLs; }

    // Left to right unless the program's driver (or a test) says otherwise.
    UIUserInterfaceLayoutDirection userInterfaceLayoutDirection() const { return m_userInterfaceLayoutDirection; }
    void setUserInterfaceLayoutDirection(UIUserInterfaceLayoutDirection direction)
    {
        m_userInterfaceLayoutDirection = direction;
    }

    // Hands the event to its window: the window of its touches, the window it names, else the key window.
    // A touch that begins at a point on the screen goes to the frontmost visible window whose hit test
    // answers there; a window that answers nothing lets it through to the ones behind.
    virtual void sendEvent(const std::shared_ptr<UIEvent>& event);

    // The delegate the program made for the main loop; the application keeps it for the process's life.
    std::shared_ptr<UIApplicationDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<UIApplicationDelegate> delegate) { m_delegate = std::move(delegate); }
    // The delegate, when it is a responder.
    std::shared_ptr<UIResponder> next() const override;

    // sendAction(_:to:from:for:): a target receives the action directly (false when it does not answer
    // it); without one it goes to the first responder along the chain that can perform it. The action
    // gets the sender and the event as far as its selector takes arguments.
    bool sendAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& to,
                    const std::shared_ptr<Foundation::NSObject>& from, const std::shared_ptr<UIEvent>& for_);
    // Where an action sent to no target goes: along the chain from the key window's first responder (the
    // key window without one, the application without a key window).
    std::shared_ptr<UIResponder> targetOfFirstResponder(Foundation::Selector action,
                                                        const std::shared_ptr<Foundation::NSObject>& sender);

protected:
    friend Foundation::Construct;
    UIApplication();

private:
    friend class UIWindow;
    void placeTouches(const std::shared_ptr<UIEvent>& event);
    friend class UIWindowScene;
    std::vector<std::weak_ptr<UIWindowScene>> m_connectedScenes;
    std::weak_ptr<UIWindow> m_keyWindow;
    State m_applicationState;
    UIContentSizeCategory m_preferredContentSizeCategory = UIContentSizeCategory::large();
    std::vector<Foundation::URL> m_openedURLs;
    std::shared_ptr<UIApplicationDelegate> m_delegate;
    UIUserInterfaceLayoutDirection m_userInterfaceLayoutDirection = UIUserInterfaceLayoutDirection::leftToRight;
};

} // namespace UIKit

#include "Platform/UIKit/UIApplication.State.hpp"
