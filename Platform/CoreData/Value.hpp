#pragma once

#include "Platform/CoreData/NSAttributeType.hpp"
#include "Platform/CoreData/NSManagedObjectID.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace CoreData {

// What an attribute holds, or what a predicate compares with: nothing, or one value of an attribute
// type. Relationships hold the ID of the related object, so predicates can compare them with IDs.
class Value {
public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, Foundation::String, Foundation::Date,
                                 Foundation::Data, Foundation::UUID, NSManagedObjectID>;

    Value() = default;
    Value(std::nullopt_t) { }                                     // NOLINT: nil reads naturally
    Value(bool value) : m_storage(value) { }                       // NOLINT
    template <std::integral Integer>
        requires(!std::same_as<Integer, bool>)
    Value(Integer value) : m_storage(static_cast<std::int64_t>(value)) { } // NOLINT
    template <std::floating_point Real>
    Value(Real value) : m_storage(static_cast<double>(value)) { } // NOLINT
    Value(Foundation::String value) : m_storage(std::move(value)) { } // NOLINT
    Value(const char* value) : m_storage(Foundation::String(value)) { } // NOLINT
    Value(Foundation::Date value) : m_storage(value) { }           // NOLINT
    Value(Foundation::Data value) : m_storage(std::move(value)) { } // NOLINT
    Value(Foundation::UUID value) : m_storage(value) { }           // NOLINT
    Value(NSManagedObjectID value) : m_storage(std::move(value)) { } // NOLINT
    template <class T>
    Value(const std::optional<T>& value) // NOLINT
    {
        if (value)
            *this = Value(*value);
    }

    bool isNil() const { return m_storage.index() == 0; }
    template <class T>
    const T* as() const { return std::get_if<T>(&m_storage); }
    // For moving a value out of a fetched row.
    template <class T>
    T* as() { return std::get_if<T>(&m_storage); }
    const Storage& storage() const { return m_storage; }

    // The attribute type whose values this is; nothing for nil and object IDs.
    std::optional<NSAttributeType> attributeType() const;
    // As a predicate prints it: nil, 12, 1.5, "text" (quoted, escaped), CAST(788918400, "NSDate"), ...
    std::string description() const;

    // Values of different types are different; strings compare by canonical equivalence.
    friend bool operator==(const Value&, const Value&) = default;
    std::size_t hash() const;

private:
    Storage m_storage;
};

// The attribute type that stores a C++ type, for the typed accessors.
template <class T>
constexpr NSAttributeType attributeTypeFor()
{
    if constexpr (std::same_as<T, Foundation::String>)
        return NSAttributeType::string;
    else if constexpr (std::same_as<T, std::int64_t>)
        return NSAttributeType::integer64;
    else if constexpr (std::same_as<T, double>)
        return NSAttributeType::double_;
    else if constexpr (std::same_as<T, bool>)
        return NSAttributeType::boolean;
    else if constexpr (std::same_as<T, Foundation::Date>)
        return NSAttributeType::date;
    else if constexpr (std::same_as<T, Foundation::Data>)
        return NSAttributeType::binaryData;
    else {
        static_assert(std::same_as<T, Foundation::UUID>, "not an attribute type");
        return NSAttributeType::uuid;
    }
}

} // namespace CoreData

template <>
struct std::hash<CoreData::Value> {
    std::size_t operator()(const CoreData::Value& value) const { return value.hash(); }
};
