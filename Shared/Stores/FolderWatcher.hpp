#pragma once

#include <functional>
#include <string>
#include <thread>

namespace Shared {

// Tells the main queue when a file in a folder is written or moved in, whichever process does it (the
// AutoFill extension, the AutoFill service): one inotify descriptor and a thread of its own, woken
// through a pipe when the watcher goes. Changes that come together are told once.
class FolderWatcher {
public:
    // Makes the folder when it is missing. A folder that cannot be watched is logged and never told of.
    FolderWatcher(const std::string& path, std::function<void()> changed);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

private:
    int m_descriptor = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace Shared
