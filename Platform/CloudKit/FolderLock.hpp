#pragma once

#include <string>

namespace CloudKit {

// The lock writers of a database folder hold, across processes (`flock` on its ".lock" file), while
// they check a save against the latest batches and publish theirs. The kernel releases it when its
// holder dies, however it dies.
class FolderLock {
public:
    // Waits for the lock; makes the folder and its parts first. Throws the file system's NSError.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Temporary files of atomic writes are hidden; with the lock held, any left are a dead writer's.
    static void removeTemporaryFiles(const std::string& directory);

private:
    int m_fd = -1;
};

} // namespace CloudKit
