#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Basalwork {

// Path pieces that are nil, or empty after trimming whitespace and newlines, are absent: an absent
// piece leaves the URL as it is. A present piece is added exactly as given, untrimmed.

void appendPathComponent(Foundation::URL& url, const std::optional<Foundation::String>& pathComponent, bool isDirectory);
Foundation::URL appendingPathComponent(const Foundation::URL& url, const std::optional<Foundation::String>& pathComponent,
                                       bool isDirectory);
// A path component marked as a directory.
void appendDirectory(Foundation::URL& url, const std::optional<Foundation::String>& directory);
Foundation::URL appendingDirectory(const Foundation::URL& url, const std::optional<Foundation::String>& directory);
void appendPathExtension(Foundation::URL& url, const std::optional<Foundation::String>& pathExtension);
Foundation::URL appendingPathExtension(const Foundation::URL& url, const std::optional<Foundation::String>& pathExtension);
// The filename as a file component, then the extension; each is tested by itself, so an absent
// filename puts the extension on the URL's own last component.
void appendFilename(Foundation::URL& url, const std::optional<Foundation::String>& filename,
                    const std::optional<Foundation::String>& withExtension);
Foundation::URL appendingFilename(const Foundation::URL& url, const std::optional<Foundation::String>& filename,
                                  const std::optional<Foundation::String>& withExtension);

} // namespace Basalwork
