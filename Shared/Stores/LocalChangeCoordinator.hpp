#pragma once

#include "Shared/Model/AppExecutionContext.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class NotificationCenter;
}

namespace Shared {

class AuthenticationStore;
class FolderWatcher;
class RecordStore;

// Tells the program about records another process changed. The AutoFill extension registers each change
// it makes (a marker in the application group); the program notices the marker when the vault unlocks
// or the program becomes active, or as soon as it is written while the program runs unlocked, posts `localChangeCoordinatorDidMonitorChange` (the sync follows), and
// forgets the marker once those changes were synchronised.
class LocalChangeCoordinator : public Foundation::NSObject {
public:
    static const Foundation::Notification::Name& localChangeCoordinatorDidMonitorChange();

    // Throws when the marker cannot be written.
    void registerLocalChange();
    // Posts the notification when a change is waiting that was not announced yet.
    void checkForLocalChanges();
    void localChangesDidSynchronize();
    bool hasPendingLocalChanges() const;

    ~LocalChangeCoordinator() override;

protected:
    friend Foundation::Construct;
    // Throws when the application group has no container.
    LocalChangeCoordinator(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<AuthenticationStore> authenticationStore,
                           std::shared_ptr<RecordStore> recordStore, AppExecutionContext appExecutionContext);
    void initialize() override;

private:
    std::optional<Foundation::Date> pendingChangeDate() const;

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::weak_ptr<AuthenticationStore> m_authenticationStore;
    AppExecutionContext m_appExecutionContext;
    Foundation::URL m_markerURL;
    std::optional<Foundation::Date> m_announcedChangeDate;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
    // The program hears of the extension's marker as it is written.
    std::unique_ptr<FolderWatcher> m_markerWatcher;
};

} // namespace Shared
