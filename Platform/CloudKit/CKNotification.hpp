#pragma once

#include "Platform/CloudKit/CKDatabase.Scope.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace CloudKit {

// What a push from the service says: here, that a database of a container changed.
class CKNotification : public Foundation::NSObject {
public:
    enum class NotificationType : std::int64_t { query = 1, recordZone = 2, readNotification = 3, database = 4 };

    // init(fromRemoteNotificationDictionary:): nothing for a payload that is not the service's.
    static std::shared_ptr<CKNotification> fromRemoteNotificationDictionary(const Foundation::PropertyListValue::Dictionary& userInfo);

    NotificationType notificationType() const { return m_notificationType; }
    const std::optional<Foundation::String>& containerIdentifier() const { return m_containerIdentifier; }
    const std::optional<Foundation::String>& notificationID() const { return m_notificationID; }
    const std::optional<Foundation::String>& subscriptionID() const { return m_subscriptionID; }
    bool isPruned() const { return false; }

    std::string description() const override;

protected:
    friend Foundation::Construct;
    CKNotification(NotificationType type, Foundation::String containerIdentifier, Foundation::String notificationID)
        : m_notificationType(type)
        , m_containerIdentifier(std::move(containerIdentifier))
        , m_notificationID(std::move(notificationID))
    {
    }

private:
    NotificationType m_notificationType;
    std::optional<Foundation::String> m_containerIdentifier;
    std::optional<Foundation::String> m_notificationID;
    std::optional<Foundation::String> m_subscriptionID;
};

// A change somewhere in a database.
class CKDatabaseNotification : public CKNotification {
public:
    CKDatabaseScope databaseScope() const { return m_databaseScope; }

protected:
    friend Foundation::Construct;
    CKDatabaseNotification(Foundation::String containerIdentifier, Foundation::String notificationID, CKDatabaseScope scope)
        : CKNotification(NotificationType::database, std::move(containerIdentifier), std::move(notificationID))
        , m_databaseScope(scope)
    {
    }

private:
    CKDatabaseScope m_databaseScope;
};

} // namespace CloudKit
