#pragma once

#include "Platform/Foundation/FatalError.hpp"

#include <optional>

namespace Foundation {

// A type with a raw value, as an enumeration with String or Int raw values. Specialise for the type,
// either with a table of its cases:
//
//     template <>
//     struct Foundation::RawRepresentation<Shape> {
//         using RawValue = Foundation::String;
//         static constexpr std::pair<Shape, const char*> cases[] = {{Shape::circle, "circle"}, {Shape::square, "square"}};
//     };
//
// or with `static RawValue rawValue(const T&)` and `static std::optional<T> make(const RawValue&)`.
// Such a type is coded as its raw value; decoding an unknown raw value is data corrupted.
template <class T>
struct RawRepresentation { };

template <class T>
concept RawRepresentable = requires { typename RawRepresentation<T>::RawValue; };

template <RawRepresentable T>
typename RawRepresentation<T>::RawValue rawValue(const T& value)
{
    using Raw = typename RawRepresentation<T>::RawValue;
    if constexpr (requires { RawRepresentation<T>::cases; }) {
        for (const auto& [candidate, raw] : RawRepresentation<T>::cases) {
            if (candidate == value)
                return Raw(raw);
        }
        fatalError("A case without a raw value");
    } else {
        return RawRepresentation<T>::rawValue(value);
    }
}

// init(rawValue:): nothing for a raw value that names no case.
template <RawRepresentable T>
std::optional<T> fromRawValue(const typename RawRepresentation<T>::RawValue& raw)
{
    using Raw = typename RawRepresentation<T>::RawValue;
    if constexpr (requires { RawRepresentation<T>::cases; }) {
        for (const auto& [candidate, candidateRaw] : RawRepresentation<T>::cases) {
            if (Raw(candidateRaw) == raw)
                return candidate;
        }
        return std::nullopt;
    } else {
        return RawRepresentation<T>::make(raw);
    }
}

} // namespace Foundation
