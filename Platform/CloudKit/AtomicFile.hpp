#pragma once

#include "Platform/Foundation/Data.hpp"

#include <functional>
#include <string>

namespace CloudKit::AtomicFile {

struct Options {
    // Takes a shared lock on the file before it becomes visible, and keeps it open (and locked).
    bool keepLocked = false;
};

// Writes a hidden temporary file beside `path` in pieces, flushes it, renames it into place and flushes
// the folder, so that `path` is either absent or whole. Answers the open descriptor when asked to keep
// the file locked, else -1. Throws the file system's NSError; the temporary file is then removed.
int write(const std::string& path, const Foundation::Data& data, Options options = {});

// Test hook, process-wide: called after every piece written, after the flush and after the rename, so
// that a test can stop a writer at any of those points.
void setProgressObserver(std::function<void()> observer);

} // namespace CloudKit::AtomicFile
