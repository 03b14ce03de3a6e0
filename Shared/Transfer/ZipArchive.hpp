#pragma once

#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <string>
#include <vector>

struct zip;

namespace Shared {

// Reads a zip archive (libzip) as a hostile file: the sizes its directory claims are not trusted, every
// byte taken out counts against a budget for the whole archive, and names that would lead outside the
// folder they are extracted to are refused. Exceeding a limit throws ImporterError.invalidFile.
class ZipArchive {
public:
    static constexpr std::int64_t maximumEntryCount = 100000;
    // All that may come out of one archive.
    static constexpr std::uint64_t maximumExtractedByteCount = 2ULL * 1024 * 1024 * 1024;

    explicit ZipArchive(const Foundation::URL& url, std::uint64_t extractionBudget = maximumExtractedByteCount);
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;
    ~ZipArchive();

    const std::vector<std::string>& entryNames() const { return m_names; }
    bool contains(const std::string& name) const;
    // The whole entry, refused past `limit` bytes.
    std::string read(const std::string& name, std::uint64_t limit);
    // The entry into a new owner-only file.
    void extract(const std::string& name, const Foundation::URL& destination, std::uint64_t limit);

private:
    template <class Sink>
    void readEntry(const std::string& name, std::uint64_t limit, Sink sink);

    ::zip* m_archive = nullptr;
    std::vector<std::string> m_names;
    std::uint64_t m_budget;
};

} // namespace Shared
