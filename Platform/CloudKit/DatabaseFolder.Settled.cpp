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
#include <string_view>
#include <sys/stat.h>
#include <unordered_map>
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

namespace {

// All that changes when a file is written, replaced or repaired.
std::optional<std::string> stampText(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + " "
           + std::to_string(info.st_ctim.tv_sec) + "." + std::to_string(info.st_ctim.tv_nsec) + " " + std::to_string(info.st_ino);
}

constexpr std::string_view covered = "covered";

} // namespace

std::string DatabaseFolder::settledListing() const
{
    // The folder's path first (another folder's listing, a clash of names, is not ours), then every
    // batch and snapshot with its stamp; those the snapshot covers are never read, so their names do.
    // Noted right after a read, whose listing it is.
    std::string listing = m_path + "\n";
    for (const auto& [name, coveredByBase] : m_listedFiles) {
        if (coveredByBase) {
            listing += name + " " + std::string(covered) + "\n";
        } else if (auto stamp = stampText(batchesPath() + "/" + name)) {
            listing += name + " " + *stamp + "\n";
        }
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
    std::string settled;
    try {
        settled = std::string(Foundation::FileIO::readFile(settledFilePath(m_path)).view());
    } catch (...) {
        return std::nullopt;
    }
    std::string_view text(settled);
    auto firstLine = text.find('\n');
    if (firstLine == std::string_view::npos || text.substr(0, firstLine) != m_path)
        return std::nullopt;
    std::unordered_map<std::string_view, std::string_view> noted;
    for (auto start = firstLine + 1; start < text.size();) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            return std::nullopt;
        auto line = text.substr(start, end - start);
        auto space = line.find(' ');
        if (space == std::string_view::npos)
            return std::nullopt;
        noted.emplace(line.substr(0, space), line.substr(space + 1));
        start = end + 1;
    }
    // The same files, each as it was (a covered one never matters), and every one seen: a read would
    // find nothing new and no damage.
    std::size_t listed = 0;
    for (const auto& name : entryNames(batchesPath())) {
        if (name.starts_with(".") || !ChangeBatch::parseFileName(name))
            continue;
        ++listed;
        auto found = noted.find(name);
        if (found == noted.end() || !payload->seen.contains(name))
            return std::nullopt;
        if (found->second != covered && stampText(batchesPath() + "/" + name) != std::string(found->second))
            return std::nullopt;
    }
    if (listed != noted.size())
        return std::nullopt;
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
