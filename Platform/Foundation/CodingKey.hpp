#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Foundation {

// One step of a coding path: a member's key, or a position in an array ("Index 3", intValue 3).
struct CodingKey {
    std::string stringValue;
    std::optional<std::int64_t> intValue;

    static CodingKey named(std::string name) { return {std::move(name), std::nullopt}; }
    static CodingKey index(std::int64_t position) { return {"Index " + std::to_string(position), position}; }

    // `CodingKeys(stringValue: "name", intValue: nil)`, as the platform prints a key.
    std::string description() const;

    friend bool operator==(const CodingKey&, const CodingKey&) = default;
};

// The keys from the top-level value down to the value being coded.
using CodingPath = std::vector<CodingKey>;

// "[key, key]" with each key's description.
std::string describe(const CodingPath& path);

} // namespace Foundation
