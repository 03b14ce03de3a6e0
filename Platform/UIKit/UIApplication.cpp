#include "Platform/UIKit/UIApplication.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UISceneConfiguration.hpp"
#include "Platform/UIKit/UISceneDelegate.hpp"
#include "Platform/UIKit/UISceneSession.hpp"
#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <limits>

namespace UIKit {
namespace {

UIApplication::ExternalURLHandler& externalURLHandler()
{
    static auto* handler = new UIApplication::ExternalURLHandler;
    return *handler;
}

// The Quit command's action, terminate(_:), reaches the application along the responder chain.
const bool answersTerminate = [] {
    Foundation::MethodTable::add(typeid(UIApplication), Foundation::Selector("terminate:"),
                                 [](Foundation::NSObject& receiver, const Foundation::MethodTable::Arguments&) -> std::any {
                                     static_cast<UIApplication&>(receiver).terminate();
                                     return {};
                                 });
    return true;
}();

} // namespace

UIApplication::UIApplication()
    : m_applicationState(State::active)
{
}

void UIApplication::initialize()
{
    UIResponder::initialize();
    // Quitting through the desktop's application ends this one too, with its announcements.
    Foundation::NotificationCenter::defaultCenter()->addObserver(AppKit::NSApplication::willTerminateNotification(), nullptr, nullptr,
                                                                 [weak = weakSelf(this)](const Foundation::Notification&) {
                                                                     if (auto self = weak.lock())
                                                                         self->terminate();
                                                                 });
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
    auto finish = [completionHandler = std::move(completionHandler)](bool success) {
        if (completionHandler)
            Foundation::DispatchQueue::main()->async([completionHandler, success] { completionHandler(success); });
    };
    if (const auto& handler = externalURLHandler(); handler.open)
        handler.open(url, std::move(finish));
    else
        finish(true);
}

void UIApplication::setAlternateIconName(std::optional<Foundation::String> name, std::function<void(Foundation::ErrorPtr)> completionHandler)
{
    Foundation::ErrorPtr error;
    if (!m_supportsAlternateIcons)
        error = std::make_shared<Foundation::NSError>("NSCocoaErrorDomain", 3328);
    else if (name && std::ranges::find(m_availableAlternateIconNames, *name) == m_availableAlternateIconNames.end())
        error = std::make_shared<Foundation::NSError>("NSCocoaErrorDomain", 4);
    else
        m_alternateIconName = std::move(name);
    if (completionHandler)
        Foundation::DispatchQueue::main()->async([completionHandler = std::move(completionHandler), error] { completionHandler(error); });
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
    if (window) {
        window->sendEvent(event);
        return;
    }
    for (const auto& press : event->allPresses())
        press->m_passedEndOfResponderChain = true;
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
        start = window->responderChainStart();
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

// Launching, scenes and the application's states.
namespace UIKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "UIApplication");
    return logger;
}

Foundation::Notification::Name notificationName(const char* name)
{
    return Foundation::Notification::Name(name);
}

} // namespace

const Foundation::Notification::Name& UIApplication::didFinishLaunchingNotification()
{
    static const auto name = notificationName("UIApplicationDidFinishLaunchingNotification");
    return name;
}

const Foundation::Notification::Name& UIApplication::didBecomeActiveNotification()
{
    static const auto name = notificationName("UIApplicationDidBecomeActiveNotification");
    return name;
}

const Foundation::Notification::Name& UIApplication::willResignActiveNotification()
{
    static const auto name = notificationName("UIApplicationWillResignActiveNotification");
    return name;
}

const Foundation::Notification::Name& UIApplication::didEnterBackgroundNotification()
{
    static const auto name = notificationName("UIApplicationDidEnterBackgroundNotification");
    return name;
}

const Foundation::Notification::Name& UIApplication::willEnterForegroundNotification()
{
    static const auto name = notificationName("UIApplicationWillEnterForegroundNotification");
    return name;
}

const Foundation::Notification::Name& UIApplication::willTerminateNotification()
{
    static const auto name = notificationName("UIApplicationWillTerminateNotification");
    return name;
}

void UIApplication::launch(std::shared_ptr<UIApplicationDelegate> delegate, const LaunchOptions& launchOptions)
{
    MainThreadChecker::check("UIApplication.launch");
    m_isTerminating = false;
    m_applicationState = State::inactive;
    m_delegate = std::move(delegate);
    if (auto held = m_delegate)
        held->didFinishLaunchingWithOptions(*this, launchOptions);
    Foundation::NotificationCenter::defaultCenter()->post(didFinishLaunchingNotification(), sharedSelf(this));
    connectScene();
    setApplicationState(State::active);
}

std::shared_ptr<UIWindowScene> UIApplication::connectScene(UISceneConnectionOptions options)
{
    MainThreadChecker::check("UIApplication.connectScene");
    auto session = Foundation::make<UISceneSession>(UISceneSession::Role::windowApplication());
    std::shared_ptr<UISceneConfiguration> configuration;
    if (auto delegate = m_delegate)
        configuration = delegate->configurationForConnecting(*this, session, options);
    if (!configuration)
        configuration = UISceneConfiguration::firstInManifest(session->role());
    session->m_configuration = configuration;

    auto scene = Foundation::make<UIWindowScene>();
    scene->m_session = session;
    session->m_scene = scene;
    if (configuration && configuration->delegateClass()) {
        const auto& className = *configuration->delegateClass();
        auto entry = ClassRegistry::classNamed(className);
        if (!entry || !entry->make)
            Foundation::fatalError("The scene configuration names the class \"" + className + "\", which is not registered");
        auto delegate = std::dynamic_pointer_cast<UISceneDelegate>(entry->make());
        if (!delegate)
            Foundation::fatalError("The scene configuration's class \"" + className + "\" is no scene delegate");
        scene->setDelegate(std::move(delegate));
    }
    m_systemScenes.emplace_back(scene, session);

    auto delegate = scene->delegate();
    if (delegate)
        delegate->willConnectTo(*scene, *session, options);
    if (m_applicationState == State::background) {
        scene->m_activationState = UIScene::ActivationState::background;
        return scene;
    }
    scene->m_activationState = UIScene::ActivationState::foregroundInactive;
    if (delegate)
        delegate->sceneWillEnterForeground(*scene);
    if (m_applicationState == State::active) {
        scene->m_activationState = UIScene::ActivationState::foregroundActive;
        if (delegate)
            delegate->sceneDidBecomeActive(*scene);
    }
    return scene;
}

void UIApplication::disconnect(const std::shared_ptr<UIWindowScene>& scene)
{
    auto found = std::ranges::find_if(m_systemScenes, [&](const auto& entry) { return entry.first == scene; });
    if (found == m_systemScenes.end())
        return;
    auto entry = *found;
    m_systemScenes.erase(found);
    if (auto delegate = scene->delegate())
        delegate->sceneDidDisconnect(*scene);
    scene->m_activationState = UIScene::ActivationState::unattached;
    scene->setDelegate(nullptr);
    if (const auto& host = scene->hostWindow())
        host->close();
}

void UIApplication::openURLContexts(std::vector<std::shared_ptr<UIOpenURLContext>> urlContexts)
{
    if (urlContexts.empty())
        return;
    if (m_systemScenes.empty()) {
        connectScene({std::move(urlContexts)});
        return;
    }
    auto scene = m_systemScenes.front().first;
    if (auto delegate = scene->delegate())
        delegate->openURLContexts(*scene, urlContexts);
}

void UIApplication::terminate()
{
    MainThreadChecker::check("UIApplication.terminate");
    if (m_isTerminating)
        return;
    m_isTerminating = true;
    if (auto delegate = m_delegate)
        delegate->applicationWillTerminate(*this);
    Foundation::NotificationCenter::defaultCenter()->post(willTerminateNotification(), sharedSelf(this));
    Foundation::RunLoop::main()->stop();
    // Released on a later turn: the delegate or a scene's delegate may be what asked to terminate. A
    // program's loop has stopped by then; only a test that relaunches turns it again.
    Foundation::DispatchQueue::main()->async([application = sharedSelf(this)] {
        auto scenes = application->m_systemScenes;
        for (auto it = scenes.rbegin(); it != scenes.rend(); ++it)
            application->disconnect(it->first);
        application->m_delegate.reset();
        {
            std::lock_guard lock(application->m_backgroundMutex);
            application->m_backgroundTasks.clear();
        }
        application->m_isRegisteredForRemoteNotifications = false;
    });
}

void UIApplication::setApplicationState(State state)
{
    MainThreadChecker::check("UIApplication.applicationState");
    auto index = [](State value) { return static_cast<std::int64_t>(value); };
    while (m_applicationState != state) {
        auto next = index(m_applicationState) < index(state) ? index(m_applicationState) + 1 : index(m_applicationState) - 1;
        step(static_cast<State>(next));
    }
}

void UIApplication::step(State to)
{
    const State from = std::exchange(m_applicationState, to);
    std::vector<std::shared_ptr<UIWindowScene>> scenes;
    for (const auto& entry : m_systemScenes)
        scenes.push_back(entry.first);
    auto each = [&](UIScene::ActivationState sceneState, void (UISceneDelegate::*call)(UIScene&)) {
        for (const auto& scene : scenes) {
            scene->m_activationState = sceneState;
            if (auto delegate = scene->delegate())
                ((*delegate).*call)(*scene);
        }
    };
    const Foundation::Notification::Name* name = nullptr;
    if (from == State::active && to == State::inactive) {
        each(UIScene::ActivationState::foregroundInactive, &UISceneDelegate::sceneWillResignActive);
        name = &willResignActiveNotification();
    } else if (from == State::inactive && to == State::background) {
        const double deadline = Foundation::DispatchTime::now().uptime + backgroundTaskTimeLimit;
        {
            std::lock_guard lock(m_backgroundMutex);
            m_backgroundDeadline = deadline;
        }
        m_backgroundExpiry = Foundation::make<Foundation::DispatchWorkItem>([weak = weakSelf(this)] {
            if (auto application = weak.lock()) {
                application->m_backgroundExpiry.reset();
                application->expireBackgroundTasks();
            }
        });
        Foundation::DispatchQueue::main()->asyncAfter(Foundation::DispatchTime {deadline}, m_backgroundExpiry);
        each(UIScene::ActivationState::background, &UISceneDelegate::sceneDidEnterBackground);
        name = &didEnterBackgroundNotification();
    } else if (from == State::background && to == State::inactive) {
        {
            std::lock_guard lock(m_backgroundMutex);
            m_backgroundDeadline.reset();
        }
        if (auto expiry = std::exchange(m_backgroundExpiry, nullptr))
            expiry->cancel();
        each(UIScene::ActivationState::foregroundInactive, &UISceneDelegate::sceneWillEnterForeground);
        name = &willEnterForegroundNotification();
    } else {
        each(UIScene::ActivationState::foregroundActive, &UISceneDelegate::sceneDidBecomeActive);
        name = &didBecomeActiveNotification();
    }
    Foundation::NotificationCenter::defaultCenter()->post(*name, sharedSelf(this));
    // The program runs as a desktop application, whose host announces its own activation as well;
    // observers written for the desktop listen for that one.
    if (name == &didBecomeActiveNotification()) {
        static const auto hostDidBecomeActive = notificationName("NSApplicationDidBecomeActiveNotification");
        Foundation::NotificationCenter::defaultCenter()->post(hostDidBecomeActive, sharedSelf(this));
    }
}

} // namespace UIKit

// Background time, pushes and URLs.
namespace UIKit {

struct UIApplication::BackgroundTask {
    UIBackgroundTaskIdentifier identifier;
    Foundation::String name;
    std::function<void()> expirationHandler;
};

UIBackgroundTaskIdentifier UIApplication::beginBackgroundTask(std::optional<Foundation::String> withName,
                                                              std::function<void()> expirationHandler)
{
    std::lock_guard lock(m_backgroundMutex);
    if (m_backgroundDeadline && *m_backgroundDeadline <= Foundation::DispatchTime::now().uptime)
        return UIBackgroundTaskIdentifier::invalid();
    UIBackgroundTaskIdentifier identifier {++m_lastBackgroundTaskIdentifier};
    m_backgroundTasks.push_back({identifier, withName.value_or(""), std::move(expirationHandler)});
    return identifier;
}

void UIApplication::endBackgroundTask(UIBackgroundTaskIdentifier identifier)
{
    std::lock_guard lock(m_backgroundMutex);
    std::erase_if(m_backgroundTasks, [&](const BackgroundTask& task) { return task.identifier == identifier; });
}

bool UIApplication::isRunning(UIBackgroundTaskIdentifier identifier) const
{
    std::lock_guard lock(m_backgroundMutex);
    return std::ranges::any_of(m_backgroundTasks, [&](const BackgroundTask& task) { return task.identifier == identifier; });
}

std::vector<Foundation::String> UIApplication::backgroundTaskNames() const
{
    std::lock_guard lock(m_backgroundMutex);
    std::vector<Foundation::String> names;
    for (const auto& task : m_backgroundTasks)
        names.push_back(task.name);
    return names;
}

double UIApplication::backgroundTimeRemaining() const
{
    std::lock_guard lock(m_backgroundMutex);
    if (!m_backgroundDeadline)
        return std::numeric_limits<double>::max();
    return std::max(0.0, *m_backgroundDeadline - Foundation::DispatchTime::now().uptime);
}

void UIApplication::expireBackgroundTasks()
{
    MainThreadChecker::check("UIApplication.expireBackgroundTasks");
    std::vector<BackgroundTask> tasks;
    {
        std::lock_guard lock(m_backgroundMutex);
        tasks = m_backgroundTasks;
    }
    // The handlers run without the lock: they end their tasks.
    for (const auto& task : tasks) {
        if (!isRunning(task.identifier))
            continue;
        if (task.expirationHandler)
            task.expirationHandler();
        if (isRunning(task.identifier)) {
            // The platform would end the process here; the task's work is abandoned instead.
            log().error("Background task \"%{public}@\" was not ended before its time ran out", task.name.utf8());
            endBackgroundTask(task.identifier);
        }
    }
}

void UIApplication::registerForRemoteNotifications()
{
    m_isRegisteredForRemoteNotifications = true;
    Foundation::DispatchQueue::main()->async([application = sharedSelf(this)] {
        auto delegate = application->m_delegate;
        if (!delegate || !application->m_isRegisteredForRemoteNotifications)
            return;
        const auto first = Foundation::UUID().bytes();
        const auto second = Foundation::UUID().bytes();
        std::vector<std::uint8_t> token(first.begin(), first.end());
        token.insert(token.end(), second.begin(), second.end());
        delegate->didRegisterForRemoteNotificationsWithDeviceToken(*application, Foundation::Data(std::move(token)));
    });
}

void UIApplication::unregisterForRemoteNotifications()
{
    m_isRegisteredForRemoteNotifications = false;
}

void UIApplication::deliverRemoteNotification(const RemoteNotification& userInfo,
                                              std::function<void(UIBackgroundFetchResult)> completion)
{
    MainThreadChecker::check("UIApplication.deliverRemoteNotification");
    auto report = [completion = std::move(completion)](UIBackgroundFetchResult result) {
        if (completion)
            completion(result);
    };
    auto delegate = m_delegate;
    if (!delegate || !m_isRegisteredForRemoteNotifications || m_isTerminating) {
        report(UIBackgroundFetchResult::noData);
        return;
    }
    delegate->didReceiveRemoteNotification(*this, userInfo, std::move(report));
}

void UIApplication::setExternalURLHandler(ExternalURLHandler handler)
{
    externalURLHandler() = std::move(handler);
}

bool UIApplication::canOpenURL(const Foundation::URL& url) const
{
    if (const auto& handler = externalURLHandler(); handler.canOpen)
        return handler.canOpen(url);
    return !url.scheme().empty();
}

} // namespace UIKit
