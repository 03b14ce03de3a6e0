#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace CloudKit {

class CKAsset;

template <class T>
concept CKRecordInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char>
    && std::in_range<std::int64_t>(std::numeric_limits<T>::max());

// One value of a record field: text, a number, a date, bytes, an asset, or a list of those. A Boolean
// is stored as the number 0 or 1, as the service stores it. Lists are shared and never changed in place.
class CKRecordValue {
public:
    using List = std::vector<CKRecordValue>;
    enum class Kind { string, int64, double_, date, data, asset, list };

    CKRecordValue(Foundation::String value) : m_storage(std::move(value)) { }  // NOLINT: values convert as literals do
    CKRecordValue(const char* value) : m_storage(Foundation::String(value)) { } // NOLINT
    template <CKRecordInteger T>
    CKRecordValue(T value) : m_storage(static_cast<std::int64_t>(value)) { }   // NOLINT
    CKRecordValue(bool value) : m_storage(std::int64_t(value ? 1 : 0)) { }      // NOLINT
    CKRecordValue(double value) : m_storage(value) { }                          // NOLINT
    CKRecordValue(Foundation::Date value) : m_storage(value) { }                // NOLINT
    CKRecordValue(Foundation::Data value) : m_storage(std::move(value)) { }     // NOLINT
    CKRecordValue(std::shared_ptr<CKAsset> asset);                              // NOLINT
    CKRecordValue(List values);                                                 // NOLINT

    Kind kind() const { return static_cast<Kind>(m_storage.index()); }

    // `as? T` with number bridging: an integer reads as a real, a real that is a whole number as an
    // integer, and 0 or 1 as a Boolean; every other kind reads only as itself.
    template <class T>
    std::optional<T> as() const
    {
        if constexpr (std::same_as<T, bool>) {
            auto value = exactInteger();
            if (!value || (*value != 0 && *value != 1))
                return std::nullopt;
            return *value == 1;
        } else if constexpr (CKRecordInteger<T>) {
            auto value = exactInteger();
            if (!value || !std::in_range<T>(*value))
                return std::nullopt;
            return static_cast<T>(*value);
        } else if constexpr (std::same_as<T, double>) {
            return number();
        } else if constexpr (std::same_as<T, std::shared_ptr<CKAsset>>) {
            auto asset = std::get_if<std::shared_ptr<CKAsset>>(&m_storage);
            return asset ? std::optional<T>(*asset) : std::nullopt;
        } else if constexpr (std::same_as<T, List>) {
            auto list = std::get_if<std::shared_ptr<const List>>(&m_storage);
            return list ? std::optional<List>(**list) : std::nullopt;
        } else {
            static_assert(std::same_as<T, Foundation::String> || std::same_as<T, Foundation::Date>
                              || std::same_as<T, Foundation::Data>,
                          "not a record value type");
            auto value = std::get_if<T>(&m_storage);
            return value ? std::optional<T>(*value) : std::nullopt;
        }
    }
    // Without copying; null for another kind.
    const List* list() const;

    std::string description() const;

    // Kinds must match; texts compare exactly; assets compare by their file.
    friend bool operator==(const CKRecordValue& lhs, const CKRecordValue& rhs);

private:
    std::optional<std::int64_t> exactInteger() const;
    std::optional<double> number() const;

    // In the order of Kind.
    std::variant<Foundation::String, std::int64_t, double, Foundation::Date, Foundation::Data,
                 std::shared_ptr<CKAsset>, std::shared_ptr<const List>>
        m_storage;
};

} // namespace CloudKit
