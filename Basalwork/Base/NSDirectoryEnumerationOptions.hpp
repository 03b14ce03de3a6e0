#pragma once

#include "Platform/Foundation/NSDirectoryEnumerationOptions.hpp"

namespace Basalwork {

// A listing of one directory's visible entries: no descent into subdirectories or packages, no hidden
// files (raw value 7).
inline constexpr Foundation::NSDirectoryEnumerationOptions skipsHiddenFilesAndDecendents =
    Foundation::NSDirectoryEnumerationOptions::skipsSubdirectoryDescendants()
    | Foundation::NSDirectoryEnumerationOptions::skipsPackageDescendants()
    | Foundation::NSDirectoryEnumerationOptions::skipsHiddenFiles();

} // namespace Basalwork
