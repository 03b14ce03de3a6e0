#pragma once

#include "Shared/Model/AppExecutionContext.hpp"

#include <memory>

namespace Foundation {
class NotificationCenter;
}

namespace Shared {
class AttachmentDataStore;
class AuthenticationStore;
class Cryptor;
class LocalChangeCoordinator;
class PasteboardCoordinator;
class PreferenceStore;
class RecordStore;
class TagStore;
class UserNotificationStore;
} // namespace Shared

namespace Sorrelgate {

// The extension's long-lived services: the stores of the application group that the main program keeps
// too, and nothing only the program uses (no analytics, importer, exporter, backups or sync engine).
// Built once, on first use from any thread, and never rebuilt or released.
struct Dependencies {
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter;
    std::shared_ptr<Shared::PreferenceStore> preferenceStore;
    std::shared_ptr<Shared::UserNotificationStore> userNotificationStore;
    std::shared_ptr<Shared::PasteboardCoordinator> pasteboardCoordinator;
    std::shared_ptr<Shared::RecordStore> recordStore;
    std::shared_ptr<Shared::TagStore> tagStore;
    std::shared_ptr<Shared::AuthenticationStore> authenticationStore;
    // None when it could not be made; its users skip it.
    std::shared_ptr<Shared::LocalChangeCoordinator> localChangeCoordinator;
    Shared::AppExecutionContext appExecutionContext = Shared::AppExecutionContext::extension();

    // The process-wide value, made by `makeProduction()` on the first read.
    static const Dependencies& shared();
    // A store that cannot be opened, or a refused "--attachment-data-store" value, stops the extension
    // with one line on standard error: it has nothing to show without them.
    static Dependencies makeProduction();
    // From "--attachment-data-store": absent, the application group's store; "temporary", a temporary
    // folder. Any other value, or none after the option, stops the extension.
    static std::shared_ptr<Shared::AttachmentDataStore> makeAttachmentDataStore(const std::shared_ptr<Shared::Cryptor>& cryptor);
};

// How the extension's screens reach the services.
class DependenciesAccessing {
public:
    virtual ~DependenciesAccessing() = default;
    virtual const Dependencies& dependencies() const { return Dependencies::shared(); }
    const std::shared_ptr<Shared::RecordStore>& recordStore() const { return dependencies().recordStore; }
    const std::shared_ptr<Shared::PreferenceStore>& preferenceStore() const { return dependencies().preferenceStore; }
};

} // namespace Sorrelgate
