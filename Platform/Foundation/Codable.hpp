#pragma once

// The coding model in one include: encoders, decoders, their containers and the built-in codable
// types. See CodingTraits.hpp for how a type becomes codable.

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DecodingError.hpp"
#include "Platform/Foundation/Decoder.hpp"
#include "Platform/Foundation/Describe.hpp"
#include "Platform/Foundation/EncodingError.hpp"
#include "Platform/Foundation/Encoder.hpp"
#include "Platform/Foundation/KeyedDecodingContainer.hpp"
#include "Platform/Foundation/KeyedEncodingContainer.hpp"
#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/SingleValueDecodingContainer.hpp"
#include "Platform/Foundation/SingleValueEncodingContainer.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UnkeyedDecodingContainer.hpp"
#include "Platform/Foundation/UnkeyedEncodingContainer.hpp"

#include <concepts>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace Foundation {

template <class T>
concept CodingInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, wchar_t>
    && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t>;

template <class T>
concept HasEncodeMember = requires(const T& value, Encoder& encoder) { value.encode(encoder); };
template <class T>
concept HasDecodeMember = requires(Decoder& decoder) {
    { T::decode(decoder) } -> std::same_as<T>;
};
template <class T>
concept HasDecoderConstructor = std::constructible_from<T, Decoder&>;
template <class T>
concept HasCodingMembers = HasEncodeMember<T> || HasDecodeMember<T> || HasDecoderConstructor<T>;

template <>
struct CodingTraits<bool> {
    static std::string typeName() { return "Bool"; }
    static void encode(bool value, Encoder& encoder) { encoder.encodeBool(value); }
    static bool decode(Decoder& decoder) { return decoder.decodeBool(); }
};

template <CodingInteger T>
struct CodingTraits<T> {
    static std::string typeName()
    {
        constexpr const char* names[2][4] = {{"UInt8", "UInt16", "UInt32", "UInt"}, {"Int8", "Int16", "Int32", "Int"}};
        constexpr int width = sizeof(T) == 1 ? 0 : sizeof(T) == 2 ? 1 : sizeof(T) == 4 ? 2 : 3;
        return names[std::is_signed_v<T> ? 1 : 0][width];
    }
    static void encode(T value, Encoder& encoder)
    {
        if constexpr (std::is_signed_v<T>)
            encoder.encodeInteger(value);
        else
            encoder.encodeUnsignedInteger(value);
    }
    static T decode(Decoder& decoder)
    {
        static const std::string name = typeName();
        if constexpr (std::is_signed_v<T>)
            return static_cast<T>(decoder.decodeInteger(std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), name.c_str()));
        else
            return static_cast<T>(decoder.decodeUnsignedInteger(std::numeric_limits<T>::max(), name.c_str()));
    }
};

template <>
struct CodingTraits<float> {
    static std::string typeName() { return "Float"; }
    static void encode(float value, Encoder& encoder) { encoder.encodeFloat(value); }
    static float decode(Decoder& decoder) { return decoder.decodeFloat(); }
};

template <>
struct CodingTraits<double> {
    static std::string typeName() { return "Double"; }
    static void encode(double value, Encoder& encoder) { encoder.encodeDouble(value); }
    static double decode(Decoder& decoder) { return decoder.decodeDouble(); }
};

template <>
struct CodingTraits<String> {
    static std::string typeName() { return "String"; }
    static void encode(const String& value, Encoder& encoder) { encoder.encodeString(value.view()); }
    static String decode(Decoder& decoder) { return decoder.decodeString(); }
};

// Byte strings are text: invalid UTF-8 is repaired, as String does.
template <>
struct CodingTraits<std::string> {
    static std::string typeName() { return "String"; }
    static void encode(const std::string& value, Encoder& encoder) { encoder.encodeString(String(value).view()); }
    static std::string decode(Decoder& decoder) { return decoder.decodeString().utf8(); }
};

// Padded Base64 text.
template <>
struct CodingTraits<Data> {
    static std::string typeName() { return "Data"; }
    static void encode(const Data& value, Encoder& encoder) { encoder.encodeData(value); }
    static Data decode(Decoder& decoder) { return decoder.decodeData(); }
};

// As the coder's date strategy says.
template <>
struct CodingTraits<Date> {
    static std::string typeName() { return "Date"; }
    static void encode(const Date& value, Encoder& encoder) { encoder.encodeDate(value); }
    static Date decode(Decoder& decoder) { return decoder.decodeDate(); }
};

// nil is written as null; null (not a missing key) reads as nil.
template <class T>
struct CodingTraits<std::optional<T>> {
    static std::string typeName() { return "Optional<" + codingTypeName<T>() + ">"; }
    static void encode(const std::optional<T>& value, Encoder& encoder)
        requires Encodable<T>
    {
        if (value)
            CodingTraits<T>::encode(*value, encoder);
        else
            encoder.encodeNil();
    }
    static std::optional<T> decode(Decoder& decoder)
        requires Decodable<T>
    {
        if (decoder.decodeNil())
            return std::nullopt;
        return CodingTraits<T>::decode(decoder);
    }
};

template <class T>
struct CodingTraits<std::vector<T>> {
    static std::string typeName() { return "Array<" + codingTypeName<T>() + ">"; }
    static void encode(const std::vector<T>& values, Encoder& encoder)
        requires Encodable<T>
    {
        auto container = encoder.unkeyedContainer();
        for (const T& value : values)
            container.encode(value);
    }
    static std::vector<T> decode(Decoder& decoder)
        requires Decodable<T>
    {
        auto container = decoder.unkeyedContainer();
        std::vector<T> values;
        values.reserve(static_cast<std::size_t>(container.count()));
        while (!container.isAtEnd())
            values.push_back(container.template decode<T>());
        return values;
    }
};

// Dictionaries with text keys are JSON objects.
template <class Key, class T>
    requires std::same_as<Key, String> || std::same_as<Key, std::string>
struct CodingTraits<std::map<Key, T>> {
    static std::string_view text(const String& key) { return key.view(); }
    static std::string_view text(const std::string& key) { return key; }

    static std::string typeName() { return "Dictionary<String, " + codingTypeName<T>() + ">"; }
    static void encode(const std::map<Key, T>& values, Encoder& encoder)
        requires Encodable<T>
    {
        auto container = encoder.container();
        for (const auto& [key, value] : values)
            container.encode(value, text(key));
    }
    static std::map<Key, T> decode(Decoder& decoder)
        requires Decodable<T>
    {
        auto container = decoder.container();
        std::map<Key, T> values;
        for (const auto& key : container.allKeys())
            values.insert_or_assign(Key(key), container.template decode<T>(key));
        return values;
    }
};

template <class T>
    requires RawRepresentable<T> && (!HasCodingMembers<T>)
struct CodingTraits<T> {
    using RawValue = typename RawRepresentation<T>::RawValue;
    static void encode(const T& value, Encoder& encoder)
        requires Encodable<RawValue>
    {
        CodingTraits<RawValue>::encode(rawValue(value), encoder);
    }
    static T decode(Decoder& decoder)
        requires Decodable<RawValue>
    {
        RawValue raw = CodingTraits<RawValue>::decode(decoder);
        if (auto value = fromRawValue<T>(raw))
            return *value;
        throw DecodingError::dataCorrupted({decoder.codingPath(),
                                            "Cannot initialize " + codingTypeName<T>() + " from invalid " + codingTypeName<RawValue>()
                                                + " value " + describe(raw),
                                            nullptr});
    }
};

template <HasCodingMembers T>
struct CodingTraits<T> {
    static void encode(const T& value, Encoder& encoder)
        requires HasEncodeMember<T>
    {
        value.encode(encoder);
    }
    static T decode(Decoder& decoder)
        requires HasDecodeMember<T> || HasDecoderConstructor<T>
    {
        if constexpr (HasDecodeMember<T>)
            return T::decode(decoder);
        else
            return T(decoder);
    }
};

} // namespace Foundation
