#pragma once

#include "Shared/Model/AppExecutionContext.hpp"

#include <memory>

namespace Foundation {
class NSObject;
class NotificationCenter;
class UserDefaults;
} // namespace Foundation

namespace Metricove {
class AnalyticsStore;
}

namespace Shared {
class AttachmentDataStore;
class AuthenticationStore;
class BackupStore;
class Exporter;
class Importer;
class LocalChangeCoordinator;
class PasteboardCoordinator;
class PreferenceStore;
class RecordStore;
class ReviewRequestStore;
class TagStore;
class UserNotificationStore;
} // namespace Shared

namespace Corvendale {

class SyncCoordinator;

// The program's long-lived services, built once, on first use, in a fixed order (launch options change
// some of them), and never rebuilt or released. Copies share the services.
struct Dependencies {
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter;
    std::shared_ptr<Metricove::AnalyticsStore> analyticsStore;
    std::shared_ptr<Shared::ReviewRequestStore> reviewRequestStore;
    std::shared_ptr<Shared::PreferenceStore> preferenceStore;
    std::shared_ptr<Shared::UserNotificationStore> userNotificationStore;
    std::shared_ptr<Shared::PasteboardCoordinator> pasteboardCoordinator;
    std::shared_ptr<Shared::RecordStore> recordStore;
    std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore;
    std::shared_ptr<Shared::Importer> importer;
    std::shared_ptr<Shared::Exporter> exporter;
    std::shared_ptr<Shared::BackupStore> backupStore;
    std::shared_ptr<Shared::TagStore> tagStore;
    std::shared_ptr<SyncCoordinator> syncCoordinator;
    std::shared_ptr<Shared::AuthenticationStore> authenticationStore;
    // None when it could not be made; its users skip it.
    std::shared_ptr<Shared::LocalChangeCoordinator> localChangeCoordinator;
    Shared::AppExecutionContext appExecutionContext = Shared::AppExecutionContext::extension();
    // The plug-in's bridge object; none when the plug-in is not there.
    std::shared_ptr<Foundation::NSObject> appKitBridge;

    // Builds the services from the process's launch options. An unknown option value, or a service that
    // cannot be made and is required, stops the program with one line on standard error naming the
    // option or service and the reason.
    static Dependencies make();
};

// The one container, built on first use from any thread.
const Dependencies& dependencies();

} // namespace Corvendale
