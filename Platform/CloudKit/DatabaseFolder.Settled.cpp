// What the folder held when this installation last read it whole and undamaged, so that a process
// started over an unchanged folder need not read it again to learn that nothing changed.
#include "Platform/CloudKit/DatabaseFolder.hpp"

#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/ChangeTokenPayload.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <zlib.h>

namespace CloudKit {
namespace {

std::string settledFilePath(const std::string& databasePath)
{
    auto sum = ::crc32_z(::crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(databasePath.data()), databasePath.size());
    char name[16];
    std::snprintf(name, sizeof name, "%08lx", static_cast<unsigned long>(sum));
    return ServiceState::stateFolder() + "/Settled/" + name;
}

} // namespace

std::string DatabaseFolder::settledListing() const
{
    // The folder's path first (another folder's listing, a clash of names, is not ours), then every
    // batch and snapshot with all that changes when a file is written, replaced or repaired.
    auto names = entryNames(batchesPath());
    std::sort(names.begin(), names.end());
    std::string listing = m_path + "\n";
    for (const auto& name : names) {
        if (name.starts_with(".") || !ChangeBatch::parseFileName(name))
            continue;
        struct stat info {};
        if (::stat((batchesPath() + "/" + name).c_str(), &info) != 0)
            continue;
        listing += name + " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec)
                   + " " + std::to_string(info.st_ctim.tv_sec) + "." + std::to_string(info.st_ctim.tv_nsec) + " " + std::to_string(info.st_ino) + "\n";
    }
    return listing;
}

std::optional<DatabaseFolder::DatabaseChanges> DatabaseFolder::unchangedSinceSettled(const std::shared_ptr<CKServerChangeToken>& since) const
{
    if (!since)
        return std::nullopt;
    auto payload = ChangeTokenPayload::decode(since->payload());
    if (!payload || payload->container != m_container || payload->account != m_account || payload->incarnation != databaseTokenIncarnation)
        return std::nullopt;
    auto listing = settledListing();
    std::string settled;
    try {
        settled = std::string(Foundation::FileIO::readFile(settledFilePath(m_path)).view());
    } catch (...) {
        return std::nullopt;
    }
    if (settled != listing)
        return std::nullopt;
    // Everything the folder holds has been seen: a read would find nothing new and no damage.
    for (std::size_t start = listing.find('\n') + 1; start < listing.size();) {
        auto end = listing.find('\n', start);
        auto name = listing.substr(start, listing.find(' ', start) - start);
        if (!payload->seen.contains(name))
            return std::nullopt;
        start = end + 1;
    }
    DatabaseChanges changes;
    changes.token = since;
    return changes;
}

void DatabaseFolder::noteSettled()
{
    if (m_notedAt == m_readChanges || !m_state.isWhole())
        return;
    auto listing = settledListing();
    auto path = settledFilePath(m_path);
    try {
        std::error_code ignored;
        std::filesystem::create_directories(Foundation::FileIO::parentDirectory(path), ignored);
        // Not flushed: a note lost or cut short differs from any listing, and the next start reads the folder.
        Foundation::FileIO::writeFile(path, Foundation::Data::fromString(listing), false);
        m_notedAt = m_readChanges;
    } catch (...) {
        // Without it the next start reads the folder, as it always could.
    }
}

} // namespace CloudKit
