#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/RawRepresentable.hpp"

#include <any>
#include <concepts>
#include <optional>

namespace Basalwork {

// Stores a present value under the key, replacing any, and removes the key for an absent one. The
// notification has a user-info dictionary afterwards, empty if need be.
void setInUserInfo(Foundation::Notification& notification, const Foundation::String& key, std::optional<std::any> value);

template <class Value>
void setInUserInfo(Foundation::Notification& notification, const Foundation::String& key, const std::optional<Value>& value)
{
    setInUserInfo(notification, key, value ? std::optional<std::any>(*value) : std::nullopt);
}

// Keyed by the key's raw value.
template <Foundation::RawRepresentable Key, class Value>
    requires std::convertible_to<typename Foundation::RawRepresentation<Key>::RawValue, Foundation::String>
void setInUserInfo(Foundation::Notification& notification, const Key& key, const std::optional<Value>& value)
{
    setInUserInfo(notification, Foundation::String(Foundation::rawValue(key)), value);
}

} // namespace Basalwork
