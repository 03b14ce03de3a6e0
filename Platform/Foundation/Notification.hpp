#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <any>
#include <memory>
#include <optional>
#include <unordered_map>

namespace Foundation {

// What a notification centre hands its observers: the name, the object that posted it (if any) and extra
// values keyed by text.
class Notification {
public:
    class Name;
    using UserInfo = std::unordered_map<String, std::any>;

    Notification(const Name& name, std::shared_ptr<NSObject> object = nullptr,
                 std::optional<UserInfo> userInfo = std::nullopt);

    Name name() const;
    const std::shared_ptr<NSObject>& object() const { return m_object; }
    const std::optional<UserInfo>& userInfo() const { return m_userInfo; }
    void setUserInfo(std::optional<UserInfo> userInfo) { m_userInfo = std::move(userInfo); }

private:
    String m_name; // the name's raw value: the nested type is complete only after this class
    std::shared_ptr<NSObject> m_object;
    std::optional<UserInfo> m_userInfo;
};

} // namespace Foundation

#include "Platform/Foundation/Notification.Name.hpp"
