#pragma once

#include "Platform/Foundation/Data.hpp"

#include <string>

// Whole-file reads and writes on paths, for Data and the file manager. Failures throw NSError in
// NSCocoaErrorDomain (see CocoaError).
namespace Foundation::FileIO {

Data readFile(const std::string& path);
// Atomic: the data goes to a fresh file beside the destination, is flushed to disk, and is renamed over
// the destination; the directory is flushed after. On any failure the fresh file is removed and the
// destination is as it was. A file being replaced keeps its permissions.
void writeFile(const std::string& path, const Data& data, bool atomic);
// Flushes a file or a directory to disk. Best effort: a file system that cannot is no failure.
void sync(const std::string& path);
// The folder holding `path`, without a trailing "/" (except the root).
std::string parentDirectory(const std::string& path);
// A path for a hidden file beside `path` that does not exist yet (random name; may race).
std::string temporarySiblingPath(const std::string& path);

} // namespace Foundation::FileIO
