#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace Foundation {

template <class T>
concept PropertyListInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char>
    && !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t>;
// Integers wider than Int cannot be stored; they are converted first.
template <class T>
concept StorablePropertyListInteger = PropertyListInteger<T> && std::in_range<std::int64_t>(std::numeric_limits<T>::max());

// One value of the property-list kinds that user defaults store: a boolean, an integer, a real, a
// string, data, a date, or an array or dictionary of them. Nested arrays and dictionaries are shared
// and never changed in place, so copies are cheap.
class PropertyListValue {
public:
    using Array = std::vector<PropertyListValue>;
    using Dictionary = std::map<String, PropertyListValue>;
    enum class Kind { boolean, integer, real, string, data, date, array, dictionary };


    PropertyListValue(bool value) : m_storage(value) { }                      // NOLINT: values convert as literals do
    template <StorablePropertyListInteger T>
    PropertyListValue(T value) : m_storage(static_cast<std::int64_t>(value)) { } // NOLINT
    PropertyListValue(double value) : m_storage(value) { }                    // NOLINT
    PropertyListValue(String value) : m_storage(std::move(value)) { }         // NOLINT
    PropertyListValue(const char* value) : m_storage(String(value)) { }       // NOLINT: a literal is text, not a bool
    PropertyListValue(Data value) : m_storage(std::move(value)) { }           // NOLINT
    PropertyListValue(Date value) : m_storage(value) { }                      // NOLINT
    PropertyListValue(Array value);                                           // NOLINT
    PropertyListValue(Dictionary value);                                      // NOLINT

    Kind kind() const { return static_cast<Kind>(m_storage.index()); }

    // `as? T` with the platform's number bridging: a boolean, an integer and a real convert into one
    // another when the value is exact in the target (true is 1, 2.0 is 2, 2.5 is no integer, 1 is true,
    // 2 is no boolean). Every other kind converts only to itself.
    template <class T>
    std::optional<T> as() const
    {
        if constexpr (std::same_as<T, bool>) {
            return exactBool();
        } else if constexpr (PropertyListInteger<T>) {
            auto value = exactInteger();
            if (!value || !std::in_range<T>(*value))
                return std::nullopt;
            return static_cast<T>(*value);
        } else if constexpr (std::same_as<T, double>) {
            return exactDouble();
        } else if constexpr (std::same_as<T, std::string>) {
            auto text = std::get_if<String>(&m_storage);
            return text ? std::optional<std::string>(text->utf8()) : std::nullopt;
        } else if constexpr (std::same_as<T, Array> || std::same_as<T, Dictionary>) {
            auto shared = std::get_if<std::shared_ptr<const T>>(&m_storage);
            return shared ? std::optional<T>(**shared) : std::nullopt;
        } else {
            static_assert(std::same_as<T, String> || std::same_as<T, Data> || std::same_as<T, Date>,
                          "not a property-list type");
            auto value = std::get_if<T>(&m_storage);
            return value ? std::optional<T>(*value) : std::nullopt;
        }
    }
    // Without copying; null for another kind.
    const Array* array() const;
    const Dictionary* dictionary() const;

    // Kinds must match: true is not 1, 1 is not 1.0. Strings compare as String does.
    friend bool operator==(const PropertyListValue& lhs, const PropertyListValue& rhs);

private:
    std::optional<bool> exactBool() const;
    std::optional<std::int64_t> exactInteger() const;
    std::optional<double> exactDouble() const;

    // In the order of Kind.
    std::variant<bool, std::int64_t, double, String, Data, Date, std::shared_ptr<const Array>,
                 std::shared_ptr<const Dictionary>>
        m_storage;
};

} // namespace Foundation
