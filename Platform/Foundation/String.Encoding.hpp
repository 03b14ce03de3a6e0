#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <string>

namespace Foundation {

// A text encoding, identified by the platform's raw value. The conversions are String::data(encoding)
// and String::fromData(data, encoding); both refuse rather than substitute.
struct String::Encoding {
    std::uint64_t rawValue = 4;

    static constexpr Encoding ascii() { return {1}; }
    static constexpr Encoding japaneseEUC() { return {3}; }
    static constexpr Encoding utf8() { return {4}; }
    static constexpr Encoding isoLatin1() { return {5}; }
    static constexpr Encoding shiftJIS() { return {8}; }
    static constexpr Encoding isoLatin2() { return {9}; }
    // With a byte order mark when encoding (host order, little endian); without one, decoding assumes
    // big endian.
    static constexpr Encoding unicode() { return {10}; }
    static constexpr Encoding utf16() { return unicode(); }
    static constexpr Encoding windowsCP1251() { return {11}; }
    static constexpr Encoding windowsCP1252() { return {12}; }
    static constexpr Encoding windowsCP1253() { return {13}; }
    static constexpr Encoding windowsCP1254() { return {14}; }
    static constexpr Encoding windowsCP1250() { return {15}; }
    static constexpr Encoding iso2022JP() { return {21}; }
    static constexpr Encoding macOSRoman() { return {30}; }
    static constexpr Encoding utf16BigEndian() { return {0x90000100}; }
    static constexpr Encoding utf16LittleEndian() { return {0x94000100}; }
    // Byte order as for utf16.
    static constexpr Encoding utf32() { return {0x8c000100}; }
    static constexpr Encoding utf32BigEndian() { return {0x98000100}; }
    static constexpr Encoding utf32LittleEndian() { return {0x9c000100}; }

    // The encoding's human-readable name, "Unicode (UTF-8)".
    std::string description() const;

    friend bool operator==(const Encoding&, const Encoding&) = default;
};

} // namespace Foundation
