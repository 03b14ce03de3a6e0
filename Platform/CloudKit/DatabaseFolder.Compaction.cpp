// The folder's sequence numbers and its compaction: snapshots that supersede older batches, and the removal
// of what every installation has passed.
#include "Platform/CloudKit/DatabaseFolder.hpp"

#include "Platform/CloudKit/AtomicFile.hpp"
#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/FolderLock.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <zlib.h>

namespace CloudKit {
namespace {

namespace fs = std::filesystem;

std::string sequenceFilePath(const std::string& databasePath)
{
    auto sum = ::crc32_z(::crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(databasePath.data()), databasePath.size());
    char name[16];
    std::snprintf(name, sizeof name, "%08lx", static_cast<unsigned long>(sum));
    return ServiceState::stateFolder() + "/Sequences/" + name;
}

} // namespace

std::int64_t DatabaseFolder::nextSequence()
{
    return std::max(m_highestSequence[ServiceState::shared().deviceIdentifier()], keptSequence()) + 1;
}

void DatabaseFolder::compactIfDue()
{
    std::size_t changes = 0;
    for (const auto& [order, batch] : m_batches)
        changes += batch->changes.size();
    if (changes < std::max(changesBeforeSnapshot, m_state.recordCount()))
        return;
    // What cannot be read or is missing is never written down as settled: it stays in its batches.
    if (!m_state.isWhole() || !damage(std::nullopt).empty())
        return;

    ChangeBatch snapshot;
    snapshot.snapshot = ChangeBatch::Snapshot {};
    auto& covers = snapshot.snapshot->covers;
    if (m_base) {
        covers.insert(m_base->snapshot->covers);
        covers.insert(m_base->fileName());
    }
    for (const auto& [order, batch] : m_batches)
        covers.insert(batch->fileName());
    // A snapshot another machine wrote meanwhile goes too once everything it holds is held here.
    for (const auto& [name, other] : m_snapshots) {
        if (covers.includes(other->snapshot->covers))
            covers.insert(name);
    }
    snapshot.snapshot->deletedZones = m_state.zoneDeletions();
    snapshot.snapshot->operationIDs.assign(m_operationIDs.begin(), m_operationIDs.end());
    // Every record's fields, read back from their batches at once (each file opened once).
    std::vector<const DatabaseState::Record*> records;
    for (const auto& id : m_state.zoneIDs()) {
        for (const auto& [name, record] : m_state.zone(id)->records)
            records.push_back(record.get());
    }
    auto fields = fieldsOf(records);
    std::map<const DatabaseState::Record*, std::size_t> place;
    for (std::size_t index = 0; index < records.size(); ++index) {
        // What cannot be read back now stays in its batches.
        if (fields[index].error)
            return;
        place.emplace(records[index], index);
    }
    records.clear();
    snapshot.changes = m_state.snapshotChanges([&](const DatabaseState::Record& record) { return std::move(fields[place.at(&record)].fields); });
    fields.clear();
    snapshot.device = ServiceState::shared().deviceIdentifier();
    snapshot.sequence = nextSequence();
    snapshot.clock = m_highestClock + 1;
    snapshot.date = Foundation::Date::now();
    auto namer = [](const CKAsset& asset) { return fs::path(asset.fileURL()->path().utf8()).filename().string(); };
    std::vector<ChangeBatch::Span> spans;
    try {
        AtomicFile::write(batchesPath() + "/" + snapshot.fileName(), snapshot.encoded(m_container, m_account, namer, &spans));
    } catch (...) {
        // The batches stay as they are; the next save tries again.
        return;
    }
    locate(snapshot, spans);
    keepSequence(snapshot.sequence);
    m_highestSequence[snapshot.device] = snapshot.sequence;
    m_presentSequences[snapshot.device].insert(snapshot.sequence);
    m_highestClock = snapshot.clock;
    auto written = withoutChanges(snapshot);
    takeBase(std::move(snapshot));
    m_snapshots.emplace(written->fileName(), written);
    m_base = written;
    for (const auto& [name, order] : m_orderByFileName)
        m_coveredFiles.push_back(name);
    for (const auto& [name, other] : m_snapshots) {
        if (isCovered(name))
            m_coveredFiles.push_back(name);
    }
    std::erase_if(m_snapshots, [&](const auto& entry) { return isCovered(entry.first); });
    m_batches.clear();
    m_orderByFileName.clear();
    rebuildState();
    noteReadingFrom();
}

void DatabaseFolder::removeSuperseded()
{
    if (!m_base || m_coveredFiles.empty())
        return;
    auto baseName = m_base->fileName();
    bool old = Foundation::Date::now().timeIntervalSinceReferenceDate() - m_base->date.timeIntervalSinceReferenceDate() > supersededBatchesKeptFor;
    if (!old) {
        for (const auto& device : entryNames(installationsPath())) {
            if (device.starts_with("."))
                continue;
            std::string reading;
            try {
                reading = std::string(Foundation::FileIO::readFile(installationsPath() + "/" + device).view());
            } catch (...) {
                return;
            }
            auto later = m_snapshots.find(reading);
            bool passed = reading == baseName || (later != m_snapshots.end() && later->second->snapshot->covers.contains(baseName));
            if (!passed)
                return;
        }
    }
    for (const auto& name : m_coveredFiles)
        ::unlink((batchesPath() + "/" + name).c_str());
    m_coveredFiles.clear();
}

std::int64_t DatabaseFolder::keptSequence()
{
    // Read every time: another process of this installation may have written since.
    if (!m_keptSequence)
        m_keptSequence = 0;
    try {
        auto text = std::string(Foundation::FileIO::readFile(sequenceFilePath(m_path)).view());
        auto newline = text.find('\n');
        // The file names the folder it counts for; another folder's count (a clash of names) is not ours.
        if (newline != std::string::npos && text.substr(0, newline) == m_path) {
            std::int64_t sequence = 0;
            auto digits = std::string_view(text).substr(newline + 1);
            auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), sequence);
            if (error == std::errc() && sequence > 0)
                m_keptSequence = std::max(*m_keptSequence, sequence);
        }
    } catch (...) {
        // Nothing kept yet: the folder's own batches tell.
    }
    return *m_keptSequence;
}

void DatabaseFolder::keepSequence(std::int64_t sequence)
{
    m_keptSequence = sequence;
    auto path = sequenceFilePath(m_path);
    try {
        std::error_code ignored;
        fs::create_directories(Foundation::FileIO::parentDirectory(path), ignored);
        Foundation::FileIO::writeFile(path, Foundation::Data::fromString(m_path + "\n" + std::to_string(sequence)), true);
    } catch (...) {
        // The batch is out; while the folder holds it, its name is not taken again.
    }
}

} // namespace CloudKit
