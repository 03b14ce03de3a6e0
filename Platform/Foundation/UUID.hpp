#pragma once

#include "Platform/Foundation/String.hpp"

#include <array>
#include <compare>
#include <cstdint>
#include <optional>

namespace Foundation {

// A universally unique identifier. A new one is random (version 4) from the kernel's random source.
class UUID {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    UUID();
    explicit UUID(const Bytes& bytes)
        : m_bytes(bytes)
    {
    }
    // init(uuidString:): 36 characters, hexadecimal digits of either case in groups of 8-4-4-4-12.
    static std::optional<UUID> fromString(const String& uuidString);

    const Bytes& bytes() const { return m_bytes; }
    // Upper-case, 36 characters: "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
    String uuidString() const;
    String description() const { return uuidString(); }

    friend bool operator==(const UUID&, const UUID&) = default;
    friend std::strong_ordering operator<=>(const UUID&, const UUID&) = default;
    std::size_t hash() const;

private:
    Bytes m_bytes {};
};

} // namespace Foundation

template <>
struct std::hash<Foundation::UUID> {
    std::size_t operator()(const Foundation::UUID& uuid) const { return uuid.hash(); }
};
