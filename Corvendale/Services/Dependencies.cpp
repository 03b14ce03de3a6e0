#include "Corvendale/Services/Dependencies.hpp"

#include "Corvendale/Services/AppKitBridge.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/Keychain.hpp"
#include "Shared/Metricove/ProductionAnalyticsStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/ReviewRequestStore.hpp"
#include "Shared/Stores/TagStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Transfer/Exporter.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/CodableStore.hpp"
#include "Basalwork/Base/CommandLine.Option.hpp"
#include "Basalwork/Base/CommandLine.hpp"
#include "Basalwork/Base/File.Location.hpp"
#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/UserDefaults.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>

namespace Corvendale {
namespace {

// The program cannot run without the service: one line that a person or a script can act on, and a
// failing exit. Nothing else runs: services half made must not write anything.
[[noreturn]] void stop(const std::string& what, const std::string& reason)
{
    std::fprintf(stderr, "Corvendale: %s: %s\n", what.c_str(), reason.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

std::string describe(const std::exception_ptr& exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const Foundation::Error& error) {
        return error.localizedDescription();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}

// A required service: made, or the program stops naming it.
template <class Make>
auto required(const char* name, Make make)
{
    try {
        return make();
    } catch (...) {
        stop(name, describe(std::current_exception()));
    }
}

// The option's value when given: none when the option is absent; an option without a value, or with a
// value not among `accepted`, stops the program.
std::optional<Foundation::String> optionValue(const char* name, std::initializer_list<const char*> accepted)
{
    auto option = Basalwork::CommandLine::option(Foundation::String(name));
    if (!option)
        return std::nullopt;
    if (!option->valueArgument)
        stop(name, "the option needs a value");
    for (const char* value : accepted)
        if (*option->valueArgument == Foundation::String(value))
            return option->valueArgument;
    stop(name, "unknown value \"" + option->valueArgument->utf8() + "\"");
}

} // namespace

Dependencies Dependencies::make()
{
    Dependencies dependencies;
    auto application = UIKit::UIApplication::shared();
    const auto groupIdentifier = Shared::Global::App::appGroupIdentifier();
    auto userDefaults = Foundation::UserDefaults::withSuiteName(groupIdentifier);
    if (!userDefaults)
        stop("user defaults", "the application group's suite \"" + groupIdentifier.utf8() + "\" cannot be opened");
    if (Basalwork::CommandLine::option(Foundation::String("--clear-user-defaults-on-launch")))
        Basalwork::clearAllValues(*userDefaults, groupIdentifier);
    auto notificationCenter = Foundation::NotificationCenter::defaultCenter();
    dependencies.notificationCenter = notificationCenter;
    // Read before anything is made: a refused value must not leave files behind.
    auto recordStoreOption = optionValue("--record-store", {"in-memory"});
    auto attachmentDataStoreOption = optionValue("--attachment-data-store", {"temporary"});
    // The sync coordinator reads it; checked here with the others so a refused value stops at once.
    optionValue(SyncCoordinator::syncStatusOverrideOption, {"disabled", "fetching", "up-to-date", "failed"});
    const auto context = Shared::AppExecutionContext::app(application);

    std::shared_ptr<Metricove::AnalyticsStore> analyticsStore = required("analytics store", [] {
        return Foundation::make<Metricove::ProductionAnalyticsStore>(Shared::Global::Website::url().appendingPathComponent("analytics"),
                                                                     Metricove::ProductionAnalyticsStore::EventUploadSchedulePolicy::automatic);
    });
    Shared::Keychain::setAnalyticsStore(analyticsStore);
    dependencies.analyticsStore = analyticsStore;
    auto preferenceStore = Shared::PreferenceStore::initialize(userDefaults, notificationCenter);
    dependencies.preferenceStore = preferenceStore;
    auto userNotificationStore = Foundation::make<Shared::UserNotificationStore>(userDefaults, notificationCenter);
    dependencies.userNotificationStore = userNotificationStore;
    dependencies.pasteboardCoordinator = Foundation::make<Shared::PasteboardCoordinator>(preferenceStore, userNotificationStore);

    auto storeType = recordStoreOption
        ? Shared::RecordStore::StoreType::inMemory()
        : Shared::RecordStore::StoreType::onDisk(
              Basalwork::File::Location::appGroup(groupIdentifier, Foundation::String("Library/Application Support/RecordStore/Production")),
              Foundation::String("recordStore"));
    auto cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
    auto attachmentLocation = attachmentDataStoreOption
        ? Basalwork::File::Location::temporary(Basalwork::File::Location::Destination::primaryVolume(), Foundation::String("DebugPermanentEncrypted"))
        : Basalwork::File::Location::appGroup(groupIdentifier, Foundation::String("Library/Application Support/AttachmentStore"));
    auto attachmentDataStore = required("attachment data store", [&] {
        return Foundation::make<Shared::AttachmentDataStore>(attachmentLocation, Foundation::FileManager::defaultManager(), cryptor);
    });
    dependencies.attachmentDataStore = attachmentDataStore;
    auto recordStore = required("record store", [&] {
        return Foundation::make<Shared::RecordStore>(notificationCenter, cryptor, attachmentDataStore, preferenceStore, storeType);
    });
    dependencies.recordStore = recordStore;
    auto fileManager = Foundation::FileManager::defaultManager();
    dependencies.importer = Foundation::make<Shared::Importer>(notificationCenter, recordStore, attachmentDataStore, context, fileManager);
    dependencies.exporter = Foundation::make<Shared::Exporter>(notificationCenter, recordStore, context, fileManager);
    auto backupStore = Foundation::make<Shared::BackupStore>(notificationCenter, userDefaults, fileManager, preferenceStore, recordStore,
                                                             attachmentDataStore, analyticsStore, context);
    dependencies.backupStore = backupStore;
    dependencies.tagStore = Foundation::make<Shared::TagStore>(recordStore);
    auto authenticationStore = Foundation::make<Shared::AuthenticationStore>(userDefaults, notificationCenter, analyticsStore, recordStore,
                                                                             preferenceStore, backupStore, context);
    dependencies.authenticationStore = authenticationStore;
    try {
        dependencies.localChangeCoordinator = Foundation::make<Shared::LocalChangeCoordinator>(notificationCenter, authenticationStore,
                                                                                              recordStore, context);
    } catch (...) {
        // Its users skip it.
    }
    dependencies.reviewRequestStore = Foundation::make<Shared::ReviewRequestStore>(analyticsStore);
    auto cloudKitRemote = required("CloudKit remote", [&] {
        return Foundation::make<Syncwright::CloudKitRemote>(notificationCenter, CloudKit::CKContainer::default_());
    });
    auto cacheStore = required("sync cache store", [&] {
        return Foundation::make<Basalwork::CodableStore>(Basalwork::File::Location::cache(Foundation::String("SyncCoordinator.cacheStore")),
                                                         fileManager, Basalwork::JSONCoder::shared());
    });
    auto syncCoordinator = Foundation::make<SyncCoordinator>(notificationCenter, userDefaults, recordStore, attachmentDataStore, dependencies.importer,
                                                             cloudKitRemote, analyticsStore, dependencies.localChangeCoordinator, cacheStore);
    syncCoordinator->applyCKAccountIDOverride();
    syncCoordinator->startObserving();
    dependencies.syncCoordinator = syncCoordinator;
    dependencies.appExecutionContext = context;
    dependencies.appKitBridge = loadAppKitBridge(*Foundation::Bundle::main());
    return dependencies;
}

const Dependencies& dependencies()
{
    static const Dependencies* instance = nullptr;
    static std::once_flag once;
    std::call_once(once, [] { instance = new Dependencies(Dependencies::make()); });
    return *instance;
}

} // namespace Corvendale
