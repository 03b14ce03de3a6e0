#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace Foundation {

// Options of a directory listing, an option set with the platform's raw values.
struct NSDirectoryEnumerationOptions : Foundation::OptionSet<NSDirectoryEnumerationOptions> {
    static constexpr NSDirectoryEnumerationOptions skipsSubdirectoryDescendants() { return {1u << 0}; }
    static constexpr NSDirectoryEnumerationOptions skipsPackageDescendants() { return {1u << 1}; }
    static constexpr NSDirectoryEnumerationOptions skipsHiddenFiles() { return {1u << 2}; }
};

} // namespace Foundation
