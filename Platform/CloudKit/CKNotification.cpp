#include "Platform/CloudKit/CKNotification.hpp"

namespace CloudKit {

std::shared_ptr<CKNotification> CKNotification::fromRemoteNotificationDictionary(const Foundation::PropertyListValue::Dictionary& userInfo)
{
    auto ck = userInfo.find("ck");
    if (ck == userInfo.end() || !ck->second.dictionary())
        return nullptr;
    const auto& payload = *ck->second.dictionary();
    auto text = [&](const char* key) -> std::optional<Foundation::String> {
        auto found = payload.find(key);
        return found == payload.end() ? std::nullopt : found->second.as<Foundation::String>();
    };
    auto container = text("container");
    auto notificationID = text("notificationID");
    auto database = payload.find("database");
    if (!container || !notificationID || database == payload.end() || !database->second.dictionary())
        return nullptr;
    const auto& details = *database->second.dictionary();
    auto scope = details.find("scope");
    auto value = scope == details.end() ? std::nullopt : scope->second.as<std::int64_t>();
    if (!value || *value < 1 || *value > 3)
        return nullptr;
    return Foundation::make<CKDatabaseNotification>(*container, *notificationID, static_cast<CKDatabaseScope>(*value));
}

std::string CKNotification::description() const
{
    return "<" + className() + ": notificationType=" + std::to_string(static_cast<std::int64_t>(m_notificationType))
        + ", containerIdentifier=" + (m_containerIdentifier ? m_containerIdentifier->utf8() : "nil")
        + ", notificationID=" + (m_notificationID ? m_notificationID->utf8() : "nil") + ">";
}

} // namespace CloudKit
