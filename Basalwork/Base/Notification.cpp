#include "Basalwork/Base/Notification.hpp"

namespace Basalwork {

void setInUserInfo(Foundation::Notification& notification, const Foundation::String& key, std::optional<std::any> value)
{
    auto userInfo = notification.userInfo().value_or(Foundation::Notification::UserInfo {});
    if (value)
        userInfo.insert_or_assign(key, std::move(*value));
    else
        userInfo.erase(key);
    notification.setUserInfo(std::move(userInfo));
}

} // namespace Basalwork
