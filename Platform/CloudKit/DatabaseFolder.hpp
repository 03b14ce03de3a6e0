#pragma once

#include "Platform/CloudKit/AssetFolder.hpp"
#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/CloudKit/DatabaseState.hpp"
#include "Platform/Foundation/Result.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace CloudKit {

class CKServerChangeToken;

// The service's side of one private database: a folder of change batches ("Batches"), the files of
// the assets they name ("Assets") and the long-lived operations not yet done ("LongLived"). It reads
// each batch once per process and keeps what they amount to; writers hold a lock on the folder while
// they check a save against the latest state and publish its batch, which is written whole and renamed
// into place, so that a reader never sees part of one. One object per folder per process.
class DatabaseFolder {
public:
    static std::shared_ptr<DatabaseFolder> open(const std::string& container, const std::string& account);
    ~DatabaseFolder();

    const std::string& path() const { return m_path; }
    const std::string& container() const { return m_container; }
    const std::string& account() const { return m_account; }
    std::string batchesPath() const { return m_path + "/Batches"; }
    std::string assetsPath() const { return m_path + "/Assets"; }
    std::string longLivedPath() const { return m_path + "/LongLived"; }
    // One file per installation that read the folder, naming the snapshot it reads from.
    std::string installationsPath() const { return m_path + "/Installations"; }

    // A snapshot is written once the batches past the last one hold this many changes, and at least
    // as many as there are records: the folder and the cost of reading it then grow with the records,
    // not with the edits.
    static constexpr std::size_t changesBeforeSnapshot = 16;
    // Batches a snapshot covers are removed once every installation that ever read the folder reads
    // from it (or a later one), or once the snapshot is this old: an installation away for longer
    // reads the snapshot instead.
    static constexpr double supersededBatchesKeptFor = 30 * 24 * 3600.0;

    enum class SavePolicy { ifServerRecordUnchanged = 0, changedKeys = 1, allKeys = 2 };
    struct ModifyRequest {
        std::vector<std::shared_ptr<CKRecord>> recordsToSave;
        std::vector<CKRecordID> recordIDsToDelete;
        SavePolicy savePolicy = SavePolicy::ifServerRecordUnchanged;
        bool isAtomic = true;
        std::optional<std::string> operationID;
    };
    struct ModifyOutcome {
        std::vector<std::pair<CKRecordID, Foundation::Result<std::shared_ptr<CKRecord>>>> saves;
        std::vector<std::pair<CKRecordID, Foundation::Result<void>>> deletes;
    };
    // The most items one request may hold.
    static constexpr std::size_t maximumItemsPerRequest = 400;
    // Throws CKError limitExceeded for a request over the limit, or the file system's error when the
    // batch cannot be written (then nothing was saved). `zoneFailure` fails the items of its zones.
    ModifyOutcome modifyRecords(const ModifyRequest& request, const std::optional<CKSimulation::Failure>& zoneFailure = {});

    struct ZoneOutcome {
        std::vector<std::pair<CKRecordZoneID, Foundation::Result<std::shared_ptr<CKRecordZone>>>> saves;
        std::vector<std::pair<CKRecordZoneID, Foundation::Result<void>>> deletes;
    };
    ZoneOutcome modifyZones(const std::vector<CKRecordZoneID>& zonesToSave, const std::vector<CKRecordZoneID>& zonesToDelete,
                            const std::optional<CKSimulation::Failure>& zoneFailure = {});
    // Nothing: every zone.
    std::vector<std::pair<CKRecordZoneID, Foundation::Result<std::shared_ptr<CKRecordZone>>>>
    fetchZones(const std::optional<std::vector<CKRecordZoneID>>& zoneIDs, const std::optional<CKSimulation::Failure>& zoneFailure = {});

    struct ChangeRound {
        // The records as the fetch found them, made into records a round at a time (`changedRecords`):
        // a fetch of many holds one round's records, not all of them.
        std::vector<std::pair<CKRecordID, std::shared_ptr<const DatabaseState::Record>>> changed;
        std::vector<std::pair<CKRecordID, Foundation::String>> deleted;
        std::shared_ptr<CKServerChangeToken> token;
    };
    struct ZoneChanges {
        // Each round ends with the token that covers it; a fetch that stops between rounds resumes
        // from that token and sees nothing twice.
        std::vector<ChangeRound> rounds;
        bool moreComing = false;
        // Batches skipped because they could not be read or are missing, each named with its error,
        // by every fetch until they are repaired.
        CKError::PartialErrors unreadableBatches;
    };
    // The round's changed records, or why each cannot be delivered. Their fields are read from the
    // batches here, without the folder's lock (unless a batch went or changed since the round was
    // made). Throws CKError internalError when the round's records can no longer be read as they were.
    std::vector<std::pair<CKRecordID, Foundation::Result<std::shared_ptr<CKRecord>>>> changedRecords(const ChangeRound& round);
    // Throws CKError zoneNotFound, or changeTokenExpired for a token of another container, account,
    // zone or life of the zone.
    ZoneChanges fetchChanges(const CKRecordZoneID& zoneID, const std::shared_ptr<CKServerChangeToken>& since,
                             std::int64_t resultsLimit, bool fetchAllChanges);

    struct DatabaseChanges {
        // Zones made or changed since the token (every zone but the default one, without a token).
        std::vector<CKRecordZoneID> changed;
        // Zones deleted since the token, also when they were made again since; none without a token.
        std::vector<CKRecordZoneID> deleted;
        std::shared_ptr<CKServerChangeToken> token;
        CKError::PartialErrors unreadableBatches;
    };
    // Throws CKError changeTokenExpired for a token of another container or account, or a zone's.
    DatabaseChanges fetchDatabaseChanges(const std::shared_ptr<CKServerChangeToken>& since);

    // Whether a batch of this operation has been published (a long-lived operation resumed elsewhere).
    bool hasPublished(const std::string& operationID);

    const AssetFolder& assets() const { return m_assets; }

    // How many batch and snapshot files this process has opened, for tests of what a start reads.
    static std::size_t filesRead();

private:
    // A database token is told from a zone's by the life it names, which no zone has.
    static constexpr const char* databaseTokenIncarnation = "database";

    DatabaseFolder(std::string path, std::string container, std::string account);
    // The names in a folder; none when it cannot be read.
    static std::vector<std::string> entryNames(const std::string& directory);

    // Reads the batches that appeared since the last look. With the write lock held, it also removes
    // the temporary files of writers that died.
    void refresh(bool holdingWriteLock);
    // Applies the base and the batches past it again; those in `whole` still hold their values.
    void rebuildState(const std::vector<std::shared_ptr<ChangeBatch>>& whole = {});
    // Applies a batch, whose values the state then holds alone.
    void applyAndLetGo(ChangeBatch& batch);
    // Reads a batch or snapshot file unless it is unchanged since it could not be read; nothing when it
    // cannot be read (the error is kept for the next fetch) or is gone.
    std::shared_ptr<ChangeBatch> readFile(const std::string& name);
    // The same for many, read at once; nothing in the place of each that is not read.
    std::vector<std::shared_ptr<ChangeBatch>> readFiles(const std::vector<std::string>& names);
    // Makes the snapshot the base: its records go into the base state, and what is kept of it is the
    // rest, so that its records are held once.
    void takeBase(ChangeBatch&& snapshot);
    static std::shared_ptr<const ChangeBatch> withoutChanges(const ChangeBatch& batch);
    bool isCovered(const std::string& name) const;
    // Gives the batch its name and clock, writes it and applies it. With the lock held.
    void publish(ChangeBatch& batch);
    std::int64_t nextSequence();
    // With the lock held, after a publish: writes a snapshot when the batches past the last one are many.
    void compactIfDue();
    // With the lock held: removes the files the snapshot covers once nobody needs them.
    void removeSuperseded();
    // Tells the other installations which snapshot this one reads from.
    void noteReadingFrom();
    // Nothing for a record that is not there or cannot be read.
    std::shared_ptr<CKRecord> serverRecord(const CKRecordZoneID& zoneID, const std::string& name) const;
    using RecordResult = Foundation::Result<std::shared_ptr<CKRecord>>;
    // `whole`: also each asset's file is there. `readError` is set to the first batch that could not be
    // read back.
    std::vector<RecordResult> deliverable(const std::vector<std::pair<CKRecordID, const DatabaseState::Record*>>& records, bool whole,
                                          Foundation::ErrorPtr& readError) const;
    // The records' fields, read back from the batches their saves are in; each file is opened once.
    struct ReadFields {
        CKRecord::Fields fields;
        Foundation::ErrorPtr error;
    };
    std::vector<ReadFields> fieldsOf(const std::vector<const DatabaseState::Record*>& records) const;
    // The changes at `saves` in one file (all of it read again when it changed since it was read).
    std::vector<ChangeBatch::Change::FieldChanges> readSaves(const ChangeBatch::Source& file, const std::vector<const DatabaseState::Save*>& saves) const;
    // Says where the batch just written is, so that the state reads its values from there.
    void locate(ChangeBatch& batch, const std::vector<ChangeBatch::Span>& spans) const;
    // A batch file found changed or gone since it was read: the next refresh reads it again (and applies
    // everything again), as a listing alone would not tell. Safe without the folder's lock.
    void noteChanged(const std::string& fileName) const;
    std::set<std::string> takeChangedFiles();
    struct Check;
    Foundation::ErrorPtr checkSave(const CKRecord& record, SavePolicy policy, ChangeBatch::Change& change);

    std::string m_path;
    std::string m_container;
    std::string m_account;
    AssetFolder m_assets;

    std::mutex m_mutex;
    std::map<ChangeBatch::Order, std::shared_ptr<const ChangeBatch>> m_batches;
    std::map<std::string, ChangeBatch::Order> m_orderByFileName;
    // A file is read again once anything about it changed: a sync tool may repair it in place.
    using FileStamp = ChangeBatch::FileStamp;
    static std::optional<FileStamp> stampOf(const std::string& path);
    struct Unreadable {
        Foundation::ErrorPtr error;
        FileStamp stamp;
    };
    std::map<std::string, Unreadable> m_unreadable;
    mutable std::mutex m_changedMutex;
    mutable std::set<std::string> m_changedFiles;
    // Readable snapshots in the folder, without their changes; the newest is the base that the batches
    // past it apply on. Its records are in the base state, which the state starts from.
    std::map<std::string, std::shared_ptr<const ChangeBatch>> m_snapshots;
    std::shared_ptr<const ChangeBatch> m_base;
    DatabaseState m_baseState;
    // Files in the folder that the base covers: they are never read, and go once nobody needs them.
    std::vector<std::string> m_coveredFiles;
    std::optional<std::string> m_notedBase;
    // What the folder held the last time this installation read it whole and found it undamaged, kept
    // beside its device identifier: a process that starts over a folder unchanged since answers a token
    // that has seen all of it without reading a batch, so that a start costs nothing that grows with
    // the records when nothing changed.
    std::string settledListing() const;
    std::optional<DatabaseChanges> unchangedSinceSettled(const std::shared_ptr<CKServerChangeToken>& since) const;
    void noteSettled();
    bool m_hasRead = false;
    // The folder's files at the last read, as listed, and whether every one was taken in then.
    std::vector<std::string> m_listed;
    // Of those, the batches and snapshots in order, each with whether the base covers it.
    std::vector<std::pair<std::string, bool>> m_listedFiles;
    bool m_listedWhole = false;
    // Counts the reads that found the folder changed, so that an unchanged folder is not noted again.
    std::uint64_t m_readChanges = 0;
    std::optional<std::uint64_t> m_notedAt;
    std::map<std::string, std::int64_t> m_highestSequence;
    // The sequences of each device's batches in the folder, read or not.
    std::map<std::string, std::set<std::int64_t>> m_presentSequences;
    // What a fetch reports besides its changes: batches that cannot be read or are missing, and zones
    // whose making is missing. Nothing of it counts as seen, so each is met again until it is repaired.
    CKError::PartialErrors damage(const std::optional<CKRecordZoneID>& zoneID) const;
    // The last sequence this installation wrote here, kept beside its device identifier so that a
    // batch removed from the folder never has its name used again.
    std::int64_t keptSequence();
    void keepSequence(std::int64_t sequence);
    std::optional<std::int64_t> m_keptSequence;
    std::int64_t m_highestClock = 0;
    std::optional<ChangeBatch::Order> m_lastApplied;
    std::set<std::string> m_operationIDs;
    DatabaseState m_state;
    bool m_sweptAfterDeadWriters = false;
};

} // namespace CloudKit
