#include "Platform/Foundation/Notification.hpp"

namespace Foundation {

Notification::Notification(const Name& name, std::shared_ptr<NSObject> object, std::optional<UserInfo> userInfo)
    : m_name(name.rawValue())
    , m_object(std::move(object))
    , m_userInfo(std::move(userInfo))
{
}

Notification::Name Notification::name() const
{
    return Name(m_name);
}

} // namespace Foundation
