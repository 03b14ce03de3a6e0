#include "Sorrelgate/Dependencies.hpp"

#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/TagStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Basalwork/Base/CommandLine.Option.hpp"
#include "Basalwork/Base/CommandLine.hpp"
#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>

namespace Sorrelgate {

namespace {

[[noreturn]] void stop(const std::string& what, const std::string& reason)
{
    std::fprintf(stderr, "Sorrelgate: %s: %s\n", what.c_str(), reason.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

template <class Make>
auto required(const char* name, Make make)
{
    try {
        return make();
    } catch (const Foundation::Error& error) {
        stop(name, error.localizedDescription());
    } catch (const std::exception& error) {
        stop(name, error.what());
    }
}

} // namespace

const Dependencies& Dependencies::shared()
{
    static const Dependencies* instance = nullptr;
    static std::once_flag once;
    std::call_once(once, [] { instance = new Dependencies(makeProduction()); });
    return *instance;
}

std::shared_ptr<Shared::AttachmentDataStore> Dependencies::makeAttachmentDataStore(const std::shared_ptr<Shared::Cryptor>& cryptor)
{
    const char* name = "--attachment-data-store";
    auto option = Basalwork::CommandLine::option(Foundation::String(name));
    auto location = Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/AttachmentStore"));
    if (option) {
        if (!option->valueArgument)
            stop(name, "the option needs a value");
        if (*option->valueArgument != Foundation::String("temporary"))
            stop(name, "unknown value \"" + option->valueArgument->utf8() + "\"");
        location = Basalwork::File::Location::temporary(Foundation::String("DebugPermanentEncrypted"));
    }
    return required("attachment data store", [&] {
        return Foundation::make<Shared::AttachmentDataStore>(location, Foundation::FileManager::defaultManager(), cryptor);
    });
}

Dependencies Dependencies::makeProduction()
{
    const auto groupIdentifier = Shared::Global::App::appGroupIdentifier();
    auto userDefaults = Foundation::UserDefaults::withSuiteName(groupIdentifier);
    if (!userDefaults)
        stop("user defaults", "the application group's suite \"" + groupIdentifier.utf8() + "\" cannot be opened");
    Dependencies dependencies;
    auto notificationCenter = Foundation::NotificationCenter::defaultCenter();
    auto preferenceStore = Shared::PreferenceStore::initialize(userDefaults, notificationCenter);
    auto userNotificationStore = Foundation::make<Shared::UserNotificationStore>(userDefaults, notificationCenter);
    auto pasteboardCoordinator = Foundation::make<Shared::PasteboardCoordinator>(preferenceStore, userNotificationStore);
    auto storeType = Shared::RecordStore::StoreType::onDisk(
        Basalwork::File::Location::appGroup(groupIdentifier, Foundation::String("Library/Application Support/RecordStore/Production")),
        Foundation::String("recordStore"));
    auto cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
    auto attachmentDataStore = makeAttachmentDataStore(cryptor);
    auto recordStore = required("record store", [&] {
        return Foundation::make<Shared::RecordStore>(notificationCenter, cryptor, attachmentDataStore, preferenceStore, storeType);
    });
    auto tagStore = Foundation::make<Shared::TagStore>(recordStore);
    const auto context = Shared::AppExecutionContext::extension();
    auto authenticationStore = Foundation::make<Shared::AuthenticationStore>(userDefaults, notificationCenter, nullptr, recordStore, preferenceStore,
                                                                             nullptr, context);
    std::shared_ptr<Shared::LocalChangeCoordinator> localChangeCoordinator;
    Foundation::catchError([&] {
        localChangeCoordinator = Foundation::make<Shared::LocalChangeCoordinator>(notificationCenter, authenticationStore, recordStore, context);
    });

    dependencies.notificationCenter = notificationCenter;
    dependencies.preferenceStore = preferenceStore;
    dependencies.userNotificationStore = userNotificationStore;
    dependencies.pasteboardCoordinator = pasteboardCoordinator;
    dependencies.recordStore = recordStore;
    dependencies.tagStore = tagStore;
    dependencies.authenticationStore = authenticationStore;
    dependencies.localChangeCoordinator = localChangeCoordinator;
    dependencies.appExecutionContext = context;
    return dependencies;
}

} // namespace Sorrelgate
