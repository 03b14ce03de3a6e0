#pragma once

#include <cstdint>

namespace Foundation {

// Options of a directory listing, an option set with the platform's raw values.
struct NSDirectoryEnumerationOptions {
    std::uint64_t rawValue = 0;

    static constexpr NSDirectoryEnumerationOptions skipsSubdirectoryDescendants() { return {1u << 0}; }
    static constexpr NSDirectoryEnumerationOptions skipsPackageDescendants() { return {1u << 1}; }
    static constexpr NSDirectoryEnumerationOptions skipsHiddenFiles() { return {1u << 2}; }

    constexpr bool contains(NSDirectoryEnumerationOptions other) const { return (rawValue & other.rawValue) == other.rawValue; }
    friend constexpr NSDirectoryEnumerationOptions operator|(NSDirectoryEnumerationOptions lhs, NSDirectoryEnumerationOptions rhs)
    {
        return {lhs.rawValue | rhs.rawValue};
    }
    friend constexpr bool operator==(NSDirectoryEnumerationOptions, NSDirectoryEnumerationOptions) = default;
};

} // namespace Foundation
