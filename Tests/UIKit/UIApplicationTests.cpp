#include "Tests/Support/MainLoop.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIApplicationMain.hpp"
#include "Platform/UIKit/UIOpenURLContext.hpp"
#include "Platform/UIKit/UISceneConfiguration.hpp"
#include "Platform/UIKit/UISceneSession.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Platform/UIKit/UIWindowSceneDelegate.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using State = UIApplication::State;

namespace {

std::vector<std::string>& events()
{
    static std::vector<std::string> log;
    return log;
}

class RecordingSceneDelegate : public Foundation::NSObject, public UIWindowSceneDelegate {
public:
    void willConnectTo(UIScene&, UISceneSession& session, const UISceneConnectionOptions& options) override
    {
        std::string text = "connect " + session.configuration()->name().value_or("-").utf8();
        for (const auto& context : options.urlContexts)
            text += " " + context->url().absoluteString().utf8();
        events().push_back(text);
    }
    void sceneDidDisconnect(UIScene&) override { events().push_back("disconnect"); }
    void sceneDidBecomeActive(UIScene&) override { events().push_back("scene active"); }
    void sceneWillResignActive(UIScene&) override { events().push_back("scene resign"); }
    void sceneWillEnterForeground(UIScene&) override { events().push_back("scene foreground"); }
    void sceneDidEnterBackground(UIScene&) override { events().push_back("scene background"); }
    void openURLContexts(UIScene&, const std::vector<std::shared_ptr<UIOpenURLContext>>& contexts) override
    {
        for (const auto& context : contexts)
            events().push_back("open " + context->url().absoluteString().utf8());
    }

protected:
    friend Foundation::Construct;
    RecordingSceneDelegate() = default;
};

class RecordingApplicationDelegate : public UIResponder, public UIApplicationDelegate {
public:
    bool didFinishLaunchingWithOptions(UIApplication&, const LaunchOptions&) override
    {
        events().push_back("launched");
        return true;
    }
    void applicationWillTerminate(UIApplication&) override { events().push_back("will terminate"); }
    void didRegisterForRemoteNotificationsWithDeviceToken(UIApplication&, const Foundation::Data& token) override
    {
        events().push_back("token " + std::to_string(token.count()));
    }
    void didReceiveRemoteNotification(UIApplication&, const RemoteNotification& userInfo,
                                      std::function<void(UIBackgroundFetchResult)> completion) override
    {
        events().push_back("push " + std::to_string(userInfo.size()));
        completion(UIBackgroundFetchResult::newData);
    }

protected:
    friend Foundation::Construct;
    RecordingApplicationDelegate() = default;
};

Foundation::PropertyListValue manifest(const std::string& delegateClass)
{
    using Dictionary = Foundation::PropertyListValue::Dictionary;
    using Array = Foundation::PropertyListValue::Array;
    Dictionary configuration {{"UISceneConfigurationName", Foundation::String("Default Configuration")},
                              {"UISceneDelegateClassName", Foundation::String(delegateClass)}};
    Dictionary byRole {{"UIWindowSceneSessionRoleApplication", Array {configuration}}};
    return Dictionary {{"UISceneConfigurations", byRole}};
}

// Each test launches the shared application with a recording delegate and a bundle whose manifest names
// the recording scene delegate, and leaves it terminated, without scenes and active again.
class UIApplicationTests : public testing::Test {
protected:
    void SetUp() override
    {
        ClassRegistry::registerClass<RecordingSceneDelegate>("RecordingSceneDelegate");
        ClassRegistry::registerClass<RecordingApplicationDelegate>("RecordingApplicationDelegate");
        m_previousBundle = Foundation::Bundle::main();
        Foundation::Bundle::setMain(Foundation::Bundle::withInfoDictionary(
            Foundation::PropertyListValue::Dictionary {{"UIApplicationSceneManifest", manifest("RecordingSceneDelegate")}}));
        events().clear();
        m_observers.clear();
    }

    void TearDown() override
    {
        auto application = UIApplication::shared();
        if (!application->isTerminating())
            application->terminate();
        TestSupport::runMainLoopUntilIdle();
        for (const auto& scene : application->connectedScenes())
            application->disconnect(scene);
        application->setApplicationState(State::active);
        for (const auto& token : m_observers)
            Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
        Foundation::Bundle::setMain(m_previousBundle);
    }

    void launch()
    {
        UIApplication::shared()->launch(make<RecordingApplicationDelegate>());
        TestSupport::runMainLoopUntilIdle();
    }

    void observe(const Foundation::Notification::Name& name, const std::string& text)
    {
        m_observers.push_back(Foundation::NotificationCenter::defaultCenter()->addObserver(
            name, nullptr, nullptr, [text](const Foundation::Notification&) { events().push_back(text); }));
    }

    std::shared_ptr<Foundation::Bundle> m_previousBundle;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

TEST_F(UIApplicationTests, LaunchingConnectsTheManifestsSceneAndMovesThroughTheStatesInOrder)
{
    observe(UIApplication::didFinishLaunchingNotification(), "did finish");
    observe(UIApplication::didBecomeActiveNotification(), "did become active");
    observe(UIApplication::willResignActiveNotification(), "will resign active");
    observe(UIApplication::didEnterBackgroundNotification(), "did enter background");
    observe(UIApplication::willEnterForegroundNotification(), "will enter foreground");
    observe(Foundation::Notification::Name("NSApplicationDidBecomeActiveNotification"), "host did become active");
    launch();
    EXPECT_EQ(events(), (std::vector<std::string> {"launched", "did finish", "connect Default Configuration", "scene foreground",
                                                   "scene active", "did become active", "host did become active"}));
    auto scenes = UIApplication::shared()->connectedScenes();
    ASSERT_FALSE(scenes.empty());
    EXPECT_EQ(scenes.back()->activationState(), UIScene::ActivationState::foregroundActive);
    EXPECT_EQ(scenes.back()->session()->role(), UISceneSession::Role::windowApplication());

    events().clear();
    UIApplication::shared()->setApplicationState(State::background);
    UIApplication::shared()->setApplicationState(State::active);
    EXPECT_EQ(events(), (std::vector<std::string> {"scene resign", "will resign active", "scene background", "did enter background",
                                                   "scene foreground", "will enter foreground", "scene active", "did become active",
                                                   "host did become active"}));
}

TEST_F(UIApplicationTests, TerminatingTellsTheDelegateAnnouncesOnceAndDisconnectsTheScenesLater)
{
    launch();
    observe(UIApplication::willTerminateNotification(), "UIApplicationWillTerminateNotification");
    events().clear();
    auto application = UIApplication::shared();
    application->terminate();
    application->terminate();
    EXPECT_EQ(events(), (std::vector<std::string> {"will terminate", "UIApplicationWillTerminateNotification"}));
    EXPECT_EQ(UIApplication::willTerminateNotification(), Foundation::Notification::Name("UIApplicationWillTerminateNotification"));
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(events().back(), "disconnect");
    EXPECT_TRUE(application->isTerminating());
}

TEST_F(UIApplicationTests, QuittingThroughTheDesktopTerminatesTheApplicationWithItsAnnouncements)
{
    launch();
    observe(UIApplication::willTerminateNotification(), "UIApplicationWillTerminateNotification");
    events().clear();
    AppKit::NSApp()->terminate(nullptr);
    EXPECT_EQ(events(), (std::vector<std::string> {"will terminate", "UIApplicationWillTerminateNotification"}));
    EXPECT_TRUE(UIApplication::shared()->isTerminating());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(events().back(), "disconnect");
}

TEST_F(UIApplicationTests, AScenesHostWindowShowsWithItsFirstWindowAndClosesWhenItDisconnects)
{
    launch();
    auto scene = UIApplication::shared()->connectedScenes().back();
    std::shared_ptr<AppKit::NSWindow> host = scene->hostWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->className(), "UINSWindow");
    auto open = [&] {
        auto windows = AppKit::NSApp()->windows();
        return std::ranges::find(windows, host) != windows.end();
    };
    EXPECT_TRUE(open());
    EXPECT_FALSE(host->isVisible());
    auto window = make<UIWindow>(scene);
    window->makeKeyAndVisible();
    EXPECT_TRUE(host->isVisible());
    UIApplication::shared()->disconnect(scene);
    EXPECT_FALSE(open());
    EXPECT_FALSE(host->isVisible());
}

TEST_F(UIApplicationTests, BackgroundTasksRunFreelyInTheForegroundAndExpireOnceTheBackgroundTimeIsUp)
{
    launch();
    auto application = UIApplication::shared();
    int expired = 0;
    auto ended = application->beginBackgroundTask("ended", [&] { ++expired; });
    auto lingering = application->beginBackgroundTask("lingering", [&] { ++expired; });
    EXPECT_NE(ended, UIBackgroundTaskIdentifier::invalid());
    EXPECT_NE(ended, lingering);
    EXPECT_GT(application->backgroundTimeRemaining(), 1e9);
    TestSupport::advanceClock(UIApplication::backgroundTaskTimeLimit * 2);
    EXPECT_EQ(expired, 0) << "no limit while active";

    application->setApplicationState(State::background);
    // The deadline is uptime plus the limit, so the difference carries the rounding of an uptime of hours.
    EXPECT_NEAR(application->backgroundTimeRemaining(), UIApplication::backgroundTaskTimeLimit, 1e-6);
    application->endBackgroundTask(ended);
    TestSupport::advanceClock(UIApplication::backgroundTaskTimeLimit - 1);
    EXPECT_EQ(expired, 0);
    EXPECT_EQ(application->backgroundTaskNames(), (std::vector<Foundation::String> {"lingering"}));
    TestSupport::advanceClock(1);
    EXPECT_EQ(expired, 1) << "only the running task hears of the expiry";
    EXPECT_TRUE(application->backgroundTaskNames().empty()) << "an expired task that did not end itself is ended";
    EXPECT_EQ(application->beginBackgroundTask("late", nullptr), UIBackgroundTaskIdentifier::invalid());

    application->setApplicationState(State::active);
    EXPECT_NE(application->beginBackgroundTask("again", nullptr), UIBackgroundTaskIdentifier::invalid());
}

TEST_F(UIApplicationTests, ReturningToTheForegroundBeforeTheTimeIsUpCancelsTheExpiry)
{
    launch();
    auto application = UIApplication::shared();
    int expired = 0;
    auto task = application->beginBackgroundTask(std::nullopt, [&] { ++expired; });
    application->setApplicationState(State::background);
    TestSupport::advanceClock(10);
    application->setApplicationState(State::active);
    TestSupport::advanceClock(UIApplication::backgroundTaskTimeLimit * 2);
    EXPECT_EQ(expired, 0);
    EXPECT_EQ(application->backgroundTaskNames(), (std::vector<Foundation::String> {""}));
    application->endBackgroundTask(task);
    application->endBackgroundTask(task);
    EXPECT_TRUE(application->backgroundTaskNames().empty());
}

TEST_F(UIApplicationTests, PushesReachTheDelegateOnlyOnceRegistered)
{
    launch();
    auto application = UIApplication::shared();
    std::vector<UIBackgroundFetchResult> results;
    application->deliverRemoteNotification({{"ck", Foundation::String("x")}}, [&](UIBackgroundFetchResult result) { results.push_back(result); });
    EXPECT_EQ(results, (std::vector<UIBackgroundFetchResult> {UIBackgroundFetchResult::noData}));

    events().clear();
    application->registerForRemoteNotifications();
    EXPECT_TRUE(events().empty()) << "the token comes on a later turn";
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(events(), (std::vector<std::string> {"token 32"}));
    application->deliverRemoteNotification({{"ck", Foundation::String("x")}}, [&](UIBackgroundFetchResult result) { results.push_back(result); });
    EXPECT_EQ(results.back(), UIBackgroundFetchResult::newData);
    EXPECT_EQ(events().back(), "push 1");
    application->unregisterForRemoteNotifications();
}

TEST_F(UIApplicationTests, OpenedURLsGoToTheConnectedSceneOrConnectOneWithThem)
{
    auto url = Foundation::URL::fileURLWithPath("/tmp/a.backup", false);
    UIApplication::shared()->openURLContexts({make<UIOpenURLContext>(url)});
    EXPECT_EQ(events(), (std::vector<std::string> {"connect Default Configuration file:///tmp/a.backup", "scene foreground", "scene active"}));

    events().clear();
    UIApplication::shared()->openURLContexts({make<UIOpenURLContext>(url)});
    EXPECT_EQ(events(), (std::vector<std::string> {"open file:///tmp/a.backup"}));
}

TEST_F(UIApplicationTests, TheDelegatesConfigurationNamesTheSceneDelegateFromTheManifest)
{
    auto configuration = make<UISceneConfiguration>(Foundation::String("Default Configuration"), UISceneSession::Role::windowApplication());
    EXPECT_EQ(configuration->delegateClass(), std::optional<std::string>("RecordingSceneDelegate"));
    auto unknown = make<UISceneConfiguration>(Foundation::String("Other"), UISceneSession::Role::windowApplication());
    EXPECT_FALSE(unknown->delegateClass());
}

TEST_F(UIApplicationTests, OpeningURLsRecordsThemAndAsksTheExternalHandler)
{
    auto application = UIApplication::shared();
    auto url = *Foundation::URL::string("https://example.org/help");
    EXPECT_TRUE(application->canOpenURL(url));
    std::vector<bool> outcomes;
    UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return false; },
                                          [](const Foundation::URL&, std::function<void(bool)> completion) { completion(false); }});
    EXPECT_FALSE(application->canOpenURL(url));
    application->open(url, {}, [&](bool success) { outcomes.push_back(success); });
    UIApplication::setExternalURLHandler({});
    EXPECT_TRUE(outcomes.empty()) << "the outcome comes on a later turn";
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(outcomes, (std::vector<bool> {false}));
    EXPECT_EQ(application->openedURLs().back(), url);
}

TEST_F(UIApplicationTests, UIApplicationMainMakesTheRegisteredDelegateAndReturnsOnceTerminated)
{
    setUIApplicationMainLoop([] {
        events().push_back("loop");
        UIApplication::shared()->terminate();
        TestSupport::runMainLoopUntilIdle();
    });
    char name[] = "Corvendale";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(UIApplicationMain(1, argv, std::nullopt, Foundation::String("RecordingApplicationDelegate")), 0);
    setUIApplicationMainLoop(nullptr);
    EXPECT_EQ(events(), (std::vector<std::string> {"launched", "connect Default Configuration", "scene foreground", "scene active",
                                                   "loop", "will terminate", "disconnect"}));
}

TEST_F(UIApplicationTests, AnUnknownDelegateClassStopsTheProgram)
{
    char name[] = "Corvendale";
    char* argv[] = {name, nullptr};
    EXPECT_DEATH(UIApplicationMain(1, argv, std::nullopt, Foundation::String("NoSuchDelegate")), "NoSuchDelegate");
}

// What work on a queue reads, freed with the process's other static objects once main returns.
const std::vector<int>& keysInUse()
{
    static const std::vector<int> keys(256, 1);
    return keys;
}
std::atomic<bool> g_quitting {false};
std::atomic<long> g_read {0};

// A round of work still reading when the user quits, and the program ended as a program ends: with the
// static objects' destructors once main returns.
[[noreturn]] void quitWhileWorkReads()
{
    (void)keysInUse();
    setUIApplicationMainLoop([] {
        Foundation::DispatchQueue::global()->async([] {
            while (!g_quitting)
                std::this_thread::yield();
            long read = 0;
            for (int round = 0; round < 20'000; ++round)
                for (int key : keysInUse())
                    read += key;
            g_read = read;
        });
        g_quitting = true;
        UIApplication::shared()->terminate();
        TestSupport::runMainLoopUntilIdle();
    });
    char name[] = "Corvendale";
    char* argv[] = {name, nullptr};
    const int status = UIApplicationMain(1, argv, std::nullopt, Foundation::String("RecordingApplicationDelegate"));
    std::exit(status == 0 && g_read == 20'000L * 256 ? 0 : 3);
}

class UIApplicationMainDeathTest : public UIApplicationTests {};

// A read of freed memory would end the process with the sanitizer's report instead.
TEST_F(UIApplicationMainDeathTest, TheProgramEndsOnlyOnceTheWorkInFlightHasEnded)
{
    EXPECT_EXIT(quitWhileWorkReads(), ::testing::ExitedWithCode(0), "");
}

} // namespace
