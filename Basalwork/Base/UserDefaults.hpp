#pragma once

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/RawRepresentable.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <optional>

// Typed reads and writes on user defaults. None of them raises: what cannot be read is nothing, and a
// coding failure goes to the default log.
namespace Basalwork {

namespace detail {
void logCodableValueFailure(const Foundation::String& key, const Foundation::Error& error);
void logSetCodableFailure(const Foundation::String& key, const Foundation::Error& error);
} // namespace detail

// Nothing when the key is missing, holds another kind than T's raw value, or a raw value of no case.
template <Foundation::RawRepresentable T>
std::optional<T> rawRepresentableValue(const Foundation::UserDefaults& userDefaults, const Foundation::String& forKey)
{
    using RawValue = typename Foundation::RawRepresentation<T>::RawValue;
    auto object = userDefaults.object(forKey);
    return object ? fromRawValue<T>(object->template as<RawValue>()) : std::nullopt;
}

// set(rawRepresentable:forKey:): the raw value; nothing removes the key.
template <Foundation::RawRepresentable T>
void setRawRepresentable(Foundation::UserDefaults& userDefaults, const std::optional<T>& value, const Foundation::String& forKey)
{
    if (value)
        userDefaults.set(Foundation::PropertyListValue(Foundation::rawValue(*value)), forKey);
    else
        userDefaults.removeObject(forKey);
}
template <Foundation::RawRepresentable T>
void setRawRepresentable(Foundation::UserDefaults& userDefaults, const T& value, const Foundation::String& forKey)
{
    setRawRepresentable(userDefaults, std::optional<T>(value), forKey);
}

// JSON data made by JSONCoder.shared. Nothing, without a log entry, when the key is missing; nothing,
// logged, when the object is not data or does not decode as T.
template <Foundation::Decodable T>
std::optional<T> codableValue(const Foundation::UserDefaults& userDefaults, const Foundation::String& forKey)
{
    auto object = userDefaults.object(forKey);
    if (!object)
        return std::nullopt;
    try {
        auto data = object->as<Foundation::Data>();
        if (!data)
            throw GeneralError::failedWithMessage("Failed to access value as Data");
        return JSONCoder::shared()->decode<T>(*data);
    } catch (...) {
        detail::logCodableValueFailure(forKey, *Foundation::currentError());
        return std::nullopt;
    }
}

// set(codable:forKey:): stores the optional as JSONCoder.shared encodes it, so nothing is stored as
// {"value":null} and is no removal. When encoding fails the old value stays and the failure is logged.
template <Foundation::Encodable T>
void setCodable(Foundation::UserDefaults& userDefaults, const std::optional<T>& value, const Foundation::String& forKey)
{
    Foundation::Data data;
    try {
        data = JSONCoder::shared()->encode(value);
    } catch (...) {
        detail::logSetCodableFailure(forKey, *Foundation::currentError());
        return;
    }
    userDefaults.set(Foundation::PropertyListValue(std::move(data)), forKey);
}
template <Foundation::Encodable T>
void setCodable(Foundation::UserDefaults& userDefaults, const T& value, const Foundation::String& forKey)
{
    setCodable(userDefaults, std::optional<T>(value), forKey);
}

// The stored object when it is a date.
std::optional<Foundation::Date> date(const Foundation::UserDefaults& userDefaults, const Foundation::String& forKey);

// Wipes the persistent domain of that identifier, with every key in it.
void clearAllValues(Foundation::UserDefaults& userDefaults, const Foundation::String& forBundleIdentifier);

} // namespace Basalwork
