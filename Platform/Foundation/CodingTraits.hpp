#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <concepts>
#include <string>
#include <typeinfo>

namespace Foundation {

class Encoder;
class Decoder;

// How a type is encoded and decoded. Types become codable in one of three ways:
//   - members: `void encode(Foundation::Encoder&) const` and either `static T decode(Foundation::Decoder&)`
//     or a constructor `T(Foundation::Decoder&)`;
//   - a raw value (see RawRepresentable.hpp), for enumerations;
//   - a specialisation of CodingTraits<T> with `static void encode(const T&, Encoder&)` and
//     `static T decode(Decoder&)`, for types that cannot take members.
// Built in (Codable.hpp): bool, every integer width, float, double, String, std::string, Data, Date,
// std::optional, std::vector, and std::map keyed by String or std::string.
template <class T>
struct CodingTraits { };

template <class T>
concept Encodable = requires(const T& value, Encoder& encoder) { CodingTraits<T>::encode(value, encoder); };

template <class T>
concept Decodable = requires(Decoder& decoder) {
    { CodingTraits<T>::decode(decoder) } -> std::same_as<T>;
};

template <class T>
concept Codable = Encodable<T> && Decodable<T>;

// The type's name as decoding errors print it ("Int", "String", "Array<Int>", or the class name).
template <class T>
std::string codingTypeName()
{
    if constexpr (requires { CodingTraits<T>::typeName(); })
        return CodingTraits<T>::typeName();
    else
        return demangledTypeName(typeid(T).name());
}

} // namespace Foundation
