#pragma once

#include "Platform/Foundation/Data.hpp"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

// Whole-file reads and writes on paths, for Data and the file manager. Failures throw NSError in
// NSCocoaErrorDomain (see CocoaError).
namespace Foundation::FileIO {

// What the programs keep is for their user alone: every file they make is readable and writable by its
// owner only and every folder usable by its owner only, whatever the umask.
inline constexpr unsigned ownerOnlyFileMode = 0600;
inline constexpr unsigned ownerOnlyDirectoryMode = 0700;

// Reads and writes on a descriptor that a signal may interrupt: a call that fails with EINTR is made again,
// so no caller loops for it. Failures answer -1 with errno set, as the system calls do.
template <class Call>
auto retryingInterruptions(Call&& call)
{
    while (true) {
        auto result = call();
        if (!(result < 0 && errno == EINTR))
            return result;
    }
}
// One read: the count read, 0 at the end of the file.
ssize_t readSome(int descriptor, void* into, std::size_t count);
// Reads until `count` bytes are in or the file ends, from the current position or from `offset`: the count
// read, fewer only at the end.
ssize_t readFully(int descriptor, void* into, std::size_t count);
ssize_t readFully(int descriptor, void* into, std::size_t count, std::uint64_t offset);
// Writes every byte, however many writes it takes: `count`.
ssize_t writeAll(int descriptor, const void* bytes, std::size_t count);

Data readFile(const std::string& path);
// Atomic: the data goes to a fresh file beside the destination, is flushed to disk, and is renamed over
// the destination; the directory is flushed after. On any failure the fresh file is removed and the
// destination is as it was. A new file is owner-only; a file being replaced keeps its owner's
// permissions and loses any it gave others.
void writeFile(const std::string& path, const Data& data, bool atomic);
// The atomic write made in parts, for text laid out as it is written: the parts go to the fresh file as
// they come, and `commit` flushes it and renames it over the destination. A writer destroyed before
// committing, or failing, removes its file and leaves the destination as it was. Failures throw as
// writeFile's do.
class AtomicWriter {
public:
    explicit AtomicWriter(std::string path);
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;
    ~AtomicWriter();

    void write(const void* bytes, std::size_t count);
    void commit();

private:
    [[noreturn]] void fail(int error);

    std::string m_path;
    std::string m_temporary;
    int m_descriptor = -1;
};
// Makes `path` and every missing folder above it, owner-only. 0, or the errno of the failure; a folder
// already there is none and keeps its permissions.
int makeDirectories(const std::string& path);
// Takes from a folder of the programs' own what it gave others, so that what earlier versions made
// readable to everyone inside it no longer is. Best effort: a folder of another owner stays as it is.
void restrictToOwner(const std::string& directory);
// Flushes a file or a directory to disk. Best effort: a file system that cannot is no failure.
void sync(const std::string& path);
// The folder holding `path`, without a trailing "/" (except the root).
std::string parentDirectory(const std::string& path);
// A path for a hidden file beside `path` that does not exist yet (random; may race). Its name is
// ".<destination>.<host>.<process>.<random>.tmp", each part a fixed number of hexadecimal digits (the
// destination and host as hashes of their names), so the name is as long for any destination and tells
// which destination and which writer it belongs to.
std::string temporarySiblingPath(const std::string& path);
// Removes what interrupted writes of `path` left beside it: temporary files whose writer process on this
// machine has ended, and any that nothing has written to for a day (a writer on another machine sharing
// the folder). A file a live writer is still filling is never removed. Best effort: failures are ignored.
void removeStaleTemporarySiblings(const std::string& path);

} // namespace Foundation::FileIO
