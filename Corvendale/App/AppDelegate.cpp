#include "Corvendale/App/AppDelegate.hpp"

#include "Corvendale/App/MainMenu.hpp"
#include "Corvendale/App/SceneDelegate.hpp"
#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"
#include "Corvendale/Services/URLOpener.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Model/Settings.LargeViewer.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Platform/CloudKit/CKNotification.hpp"
#include "Platform/CloudKit/PushDelivery.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIMenuElement.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UISceneConfiguration.hpp"
#include "Platform/UIKit/UISceneSession.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace Corvendale {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("AppDelegate", "");
    return logger;
}

const std::shared_ptr<Shared::PreferenceStore>& preferences()
{
    return dependencies().preferenceStore;
}

// A row of preference commands: the n-th selector sets the n-th value of the setting.
struct PreferenceCommands {
    std::vector<const char*> selectors;
    std::function<std::int64_t()> current;
    std::function<void(std::int64_t)> set;
};

template <class Setting>
PreferenceCommands row(std::vector<const char*> selectors, Setting (Shared::PreferenceStore::*get)() const,
                       void (Shared::PreferenceStore::*put)(Setting), std::function<void()> after = nullptr)
{
    return {std::move(selectors), [get] { return static_cast<std::int64_t>((*preferences().*get)()); },
            [put, after](std::int64_t index) {
                (*preferences().*put)(static_cast<Setting>(index));
                if (after)
                    after();
            }};
}

const std::vector<PreferenceCommands>& preferenceCommands()
{
    using P = Shared::PreferenceStore;
    static const auto* rows = new std::vector<PreferenceCommands> {
        row({"handleColorSchemeMatchSystemCommand", "handleColorSchemeAlwaysLightCommand", "handleColorSchemeAlwaysDarkCommand"},
            &P::colorScheme, &P::setColorScheme, [] { UIKit::UIMenuSystem::main()->setNeedsRebuild(); }),
        row({"handleDarkModeStyleGrayCommand", "handleDarkModeStyleBlackCommand"}, &P::darkModeStyle, &P::setDarkModeStyle),
        row({"handleFontStyleRoundedCommand", "handleFontStyleSystemCommand"}, &P::fontStyle, &P::setFontStyle),
        row({"handleFontSizeStandardCommand", "handleFontSizeSmallerCommand", "handleFontSizeLargerCommand", "handleFontSizeXLargerCommand"},
            &P::fontSize, &P::setFontSize),
        row({"handleItemListStyleStandardCommand", "handleItemListStyleStandardWithoutSubtitleCommand", "handleItemListStyleCompactWithSubtitleCommand",
             "handleItemListStyleCompactWithoutSubtitleCommand"},
            &P::listStyle, &P::setListStyle),
        row({"handleItemListSearchableFieldsTitleTagsCommand", "handleItemListSearchableFieldsTitleSubtitleTagsCommand",
             "handleItemListSearchableFieldsTitleSubtitleUsernameTagsCommand", "handleItemListSearchableFieldsTitleSubtitleUsernameWebsitesTagsCommand",
             "handleItemListSearchableFieldsTitleSubtitleUsernameWebsitesNotesTagsCommand"},
            &P::searchableFields, &P::setSearchableFields,
            [] {
                try {
                    dependencies().recordStore->refreshSearchData();
                } catch (...) {
                    // The old search data stays until the next refresh.
                }
            }),
        row({"handleItemListDuplicateConfirmationEnabledCommand", "handleItemListDuplicateConfirmationDisabledCommand"}, &P::duplicateConfirmation,
            &P::setDuplicateConfirmation),
        row({"handleItemListArchiveConfirmationEnabledCommand", "handleItemListArchiveConfirmationDisabledCommand"}, &P::archiveConfirmation,
            &P::setArchiveConfirmation),
        row({"handleItemListTrashConfirmationEnabledCommand", "handleItemListTrashConfirmationDisabledCommand"}, &P::moveToTrashConfirmation,
            &P::setMoveToTrashConfirmation),
        row({"handleItemDetailsConcealingEnabledCommand", "handleItemDetailsConcealingDisabledCommand"}, &P::concealing, &P::setConcealing),
        row({"handleItemDetailsLargeViewerPositionsPasswordsAndPinsCommand", "handleItemDetailsLargeViewerPositionsPasswordsOnlyCommand",
             "handleItemDetailsLargeViewerPositionsNeverCommand"},
            &P::largeViewerPositions, &P::setLargeViewerPositions),
        row({"handleItemDetailsInlineGeneratorDisabledCommand", "handleItemDetailsInlineGeneratorEnabledCommand"}, &P::inlineGenerator,
            &P::setInlineGenerator),
    };
    return *rows;
}

void registerMethods()
{
    using Foundation::MethodTable;
    using Foundation::Selector;
    MethodTable::add(Selector("handleLockCommand"), &AppDelegate::handleLockCommand);
    MethodTable::add(Selector("handleLockAndRequireMasterPasswordCommand"), &AppDelegate::handleLockAndRequireMasterPasswordCommand);
    MethodTable::add(Selector("handleRestoreFromBackupCommand"), &AppDelegate::handleRestoreFromBackupCommand);
    MethodTable::add(Selector("handlePinMainWindowCommand"), &AppDelegate::handlePinMainWindowCommand);
    MethodTable::add(Selector("handleCloseCommand"), &AppDelegate::handleCloseCommand);
    MethodTable::add(Selector("showHelp:"), &AppDelegate::showHelp);
    MethodTable::add(Selector("handleLeaveAReviewCommand"), &AppDelegate::handleLeaveAReviewCommand);
    for (const auto& commands : preferenceCommands())
        for (std::size_t index = 0; index < commands.selectors.size(); ++index)
            MethodTable::add(typeid(AppDelegate), Selector(commands.selectors[index]),
                             [set = commands.set, index](Foundation::NSObject&, const MethodTable::Arguments&) {
                                 set(static_cast<std::int64_t>(index));
                                 return std::any();
                             });
}

bool isAuthenticated()
{
    return dependencies().authenticationStore->authenticationState().isAuthenticated();
}

} // namespace

void registerProgramClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        UIKit::ClassRegistry::registerClass<AppDelegate>(AppDelegate::className);
        UIKit::ClassRegistry::registerClass<SceneDelegate>(SceneDelegate::className);
        registerMethods();
    });
}

bool AppDelegate::didFinishLaunchingWithOptions(UIKit::UIApplication& application, const LaunchOptions&)
{
    application.registerForRemoteNotifications();
    // A batch another installation writes is this system's push: without it, a change made elsewhere
    // would show only at the next activation's sync.
    if (!m_pushHandler)
        m_pushHandler = CloudKit::PushDelivery::addHandler([](const Foundation::PropertyListValue::Dictionary& userInfo) {
            UIKit::UIApplication::shared()->deliverRemoteNotification(userInfo, nullptr);
        });
    application.setAvailableAlternateIconNames({Foundation::String("AppIconAlwaysLight"), Foundation::String("AppIconAlwaysDark")});
    const auto& services = dependencies();
    services.attachmentDataStore->performHousekeeping();
    if (services.recordStore)
        services.recordStore->removeUnnamedAttachmentFiles();
    AppKitBridge::setupWindowManagement(services.appKitBridge);
    // The File menu leaves out moving items in and out while the safe-for-inspection mode is on.
    if (services.preferenceStore) {
        auto preferences = services.preferenceStore;
        auto wasActivated = std::make_shared<bool>(preferences->isSafeForInspectionModeActivated());
        services.notificationCenter->addObserver(Shared::PreferenceStore::preferenceStoreDidUpdate(), preferences, nullptr,
                                                 [weakPreferences = std::weak_ptr(preferences), wasActivated](const Foundation::Notification&) {
                                                     auto preferences = weakPreferences.lock();
                                                     bool activated = preferences && preferences->isSafeForInspectionModeActivated();
                                                     if (std::exchange(*wasActivated, activated) != activated)
                                                         UIKit::UIMenuSystem::main()->setNeedsRebuild();
                                                 });
    }
    return true;
}

std::shared_ptr<UIKit::UISceneConfiguration> AppDelegate::configurationForConnecting(UIKit::UIApplication&,
                                                                                     const std::shared_ptr<UIKit::UISceneSession>& session,
                                                                                     const UIKit::UISceneConnectionOptions&)
{
    return Foundation::make<UIKit::UISceneConfiguration>(Foundation::String("Default Configuration"), session->role());
}

AppDelegate::~AppDelegate()
{
    if (m_pushHandler)
        CloudKit::PushDelivery::removeHandler(m_pushHandler);
}

void AppDelegate::applicationWillTerminate(UIKit::UIApplication&)
{
    const auto& services = dependencies();
    services.pasteboardCoordinator->clearPasteboard(0, true);
    services.syncCoordinator->cloudKitRemote()->stop();
    services.attachmentDataStore->performHousekeeping();
}

void AppDelegate::didReceiveRemoteNotification(UIKit::UIApplication&, const RemoteNotification& userInfo,
                                               std::function<void(UIKit::UIBackgroundFetchResult)> completion)
{
    if (!CloudKit::CKNotification::fromRemoteNotificationDictionary(userInfo)) {
        std::string keys;
        for (const auto& [key, value] : userInfo)
            keys += (keys.empty() ? "" : ", ") + key.utf8();
        log().info("Application did receive unexpected remote notification: %{public}@", "{" + keys + "}");
        completion(UIKit::UIBackgroundFetchResult::noData);
        return;
    }
    SyncCoordinator::SyncResultHandler handler(Foundation::DispatchQueue::main(), [completion](Foundation::Result<Syncwright::SyncResult> result) {
        if (!result.isSuccess())
            completion(UIKit::UIBackgroundFetchResult::failed);
        else
            completion(*result.successValue() == Syncwright::SyncResult::synced ? UIKit::UIBackgroundFetchResult::newData
                                                                                : UIKit::UIBackgroundFetchResult::noData);
    });
    dependencies().syncCoordinator->sync(handler);
}

void AppDelegate::buildMenu(UIKit::UIMenuBuilder& builder)
{
    if (builder.system() != UIKit::UIMenuSystem::main())
        return;
    const auto& services = dependencies();
    buildMainMenu(builder, services.authenticationStore->availableBiometry(), services.preferenceStore, *services.recordStore);
}

bool AppDelegate::canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender)
{
    if (action == Foundation::Selector("handleLockCommand") || action == Foundation::Selector("handleLockAndRequireMasterPasswordCommand"))
        return isAuthenticated();
    // Pinning and closing the window are the desktop's, reached only through the plug-in.
    if (action == Foundation::Selector("handlePinMainWindowCommand") || action == Foundation::Selector("handleCloseCommand"))
        return dependencies().appKitBridge != nullptr;
    return UIResponder::canPerformAction(action, sender);
}

void AppDelegate::validate(const std::shared_ptr<UIKit::UICommand>& command)
{
    using State = UIKit::UIMenuElement::State;
    const auto action = command->action();
    if (action == Foundation::Selector("handlePinMainWindowCommand"))
        command->setState(AppKitBridge::isMainWindowPinned(dependencies().appKitBridge) ? State::on : State::off);
    for (const auto& commands : preferenceCommands()) {
        auto found = std::find_if(commands.selectors.begin(), commands.selectors.end(),
                                  [&](const char* selector) { return Foundation::Selector(selector) == action; });
        if (found == commands.selectors.end())
            continue;
        command->setState(commands.current() == found - commands.selectors.begin() ? State::on : State::off);
        break;
    }
    UIResponder::validate(command);
}

void AppDelegate::handleLockCommand()
{
    dependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "AppDelegate.handleLockCommand");
}

void AppDelegate::handleLockAndRequireMasterPasswordCommand()
{
    dependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false,
                                             "AppDelegate.handleLockAndRequireMasterPasswordCommand");
}

void AppDelegate::handleRestoreFromBackupCommand()
{
    dependencies().authenticationStore->beginRestoringFromBackup(std::nullopt);
}

void AppDelegate::handlePinMainWindowCommand()
{
    toggleMainWindowPinning();
}

void AppDelegate::toggleMainWindowPinning()
{
    AppKitBridge::toggleMainWindowPinning(dependencies().appKitBridge, *preferences());
}

void AppDelegate::handleCloseCommand()
{
    if (!UIKit::UIApplication::shared()->delegate())
        return;
    AppKitBridge::quitApplication(dependencies().appKitBridge);
}

void AppDelegate::showHelp(const std::shared_ptr<Foundation::NSObject>&)
{
    auto window = UIKit::UIApplication::shared()->keyWindow();
    URLOpener::open(Shared::Global::Help::url(), window ? window->rootViewController() : nullptr);
}

void AppDelegate::handleLeaveAReviewCommand()
{
    auto window = UIKit::UIApplication::shared()->keyWindow();
    URLOpener::open(Shared::Global::AppStore::review(), window ? window->rootViewController() : nullptr);
}

} // namespace Corvendale
