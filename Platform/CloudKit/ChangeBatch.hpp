#pragma once

#include "Platform/CloudKit/CKRecordValue.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/CloudKit/SeenBatches.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"

#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace CloudKit {

class CKAsset;

// One immutable file of a database's folder: the changes one save made, in order. Its name is
// "<device>-<sequence>.batch", so that writers never collide; its clock is one more than the highest
// clock its writer had seen, and batches apply in the order of (clock, device, sequence), which every
// reader agrees on whatever order the files arrived in.
//
// A snapshot ("<device>-<sequence>.snapshot") holds what a set of batches amounts to: every zone, every
// record with its tag and dates, and the deletions, each with the batch that made it. It supersedes the
// batches it covers, which can then be removed from the folder.
struct ChangeBatch {
    // 2: a checksum covers the whole batch.
    static constexpr std::int64_t formatVersion = 2;
    // 3: snapshots. Plain batches keep version 2, so that earlier versions still read them.
    static constexpr std::int64_t snapshotFormatVersion = 3;

    struct Order {
        std::int64_t clock = 0;
        std::string device;
        std::int64_t sequence = 0;
        friend auto operator<=>(const Order&, const Order&) = default;
    };

    // Where a change's text lies in its batch's file, and a digest of the text: a file rewritten since
    // it was read is believed only where its text is the same.
    struct Span {
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
        std::uint64_t digest = 0;
    };
    static std::uint64_t digestOf(std::string_view text);

    struct Change {
        enum class Kind { createZone, deleteZone, saveRecord, deleteRecord };
        Kind kind = Kind::saveRecord;
        CKRecordZoneID zoneID;
        // Which life of the zone a change belongs to: a zone deleted and made again is a new one.
        std::string incarnation;
        std::string recordName;
        std::string recordType;
        // True: the fields below are the record's fields. False: they change those named (nothing
        // clears one) and keep the rest.
        bool replacesFields = false;
        using FieldChanges = std::map<std::string, std::optional<CKRecordValue>>;
        FieldChanges fields;
        // A save this version cannot read (a value of an unknown kind, a malformed type).
        Foundation::ErrorPtr unreadable;
        // For a deletion: the tag of the save it deleted, as its writer knew the record. A later save it
        // had not seen keeps the record. Batches written before it came have none and always delete.
        std::optional<std::string> deletedTag = std::nullopt;
        // In a snapshot: what the record's last save gave it, or for a deletion the batch that made it.
        struct Kept {
            std::string changeTag;
            Foundation::Date creationDate;
            Foundation::Date modificationDate;
            std::string batch;
        };
        std::optional<Kept> kept = std::nullopt;
        // Set for a change read without its values (they are checked, not kept): where to read them.
        std::optional<Span> text = std::nullopt;
    };

    // A life of a zone that was deleted, and the batch that deleted it.
    struct ZoneDeletion {
        std::string incarnation;
        CKRecordZoneID zoneID;
        std::string batch;
    };
    struct Snapshot {
        // The batches (and earlier snapshots) whose changes it holds.
        SeenBatches covers;
        // So that a late save into one is still dropped, and a reader that had the zone hears of it.
        std::vector<ZoneDeletion> deletedZones;
        // Of the batches it covers, so that a long-lived operation resumed later is not written again.
        std::vector<std::string> operationIDs;
    };

    std::string device;
    std::int64_t sequence = 0;
    std::int64_t clock = 0;
    Foundation::Date date;
    // The operation that wrote it, so that a long-lived operation resumed elsewhere is written once.
    std::optional<std::string> operationID;
    std::vector<Change> changes;
    std::optional<Snapshot> snapshot;

    // A file as it was when read: one changed since (a sync tool may replace it) is read whole again.
    struct FileStamp {
        std::int64_t size = 0;
        std::int64_t modified = 0;
        std::int64_t changed = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Source {
        std::string fileName;
        FileStamp stamp;
    };
    // The file the changes' texts are in, for a batch read or written without keeping its values.
    std::shared_ptr<const Source> source;

    Order order() const { return {clock, device, sequence}; }
    std::string fileName() const { return fileName(device, sequence, snapshot.has_value()); }

    static std::string fileName(const std::string& device, std::int64_t sequence, bool isSnapshot = false);
    // The device and sequence a batch's or snapshot's file name gives; nothing for another name.
    // Batches and snapshots take their sequences from one count, so no two files share one.
    struct Name {
        std::string device;
        std::int64_t sequence;
        bool isSnapshot = false;
    };
    static std::optional<Name> parseFileName(const std::string& fileName);

    // Asset values are written as the names of files in the database's asset folder.
    using AssetNamer = std::function<std::string(const CKAsset&)>;
    using AssetFinder = std::function<std::shared_ptr<CKAsset>(const std::string&)>;

    // With `spans`, where each change's text is in what it returns.
    Foundation::Data encoded(const std::string& container, const std::string& account, const AssetNamer& namer,
                             std::vector<Span>* spans = nullptr) const;
    // Throws CKError: internalError for a damaged file, badContainer for one of another container or
    // account, incompatibleVersion for one a newer version wrote. Without values, each change's values
    // are checked but not made, and the change says where its text is.
    enum class Values { made, checked };
    static ChangeBatch decode(const Foundation::Data& data, const std::string& fileName, const std::string& container,
                              const std::string& account, const AssetFinder& finder, Values values = Values::made);
    // One change, with its values, from its text in a file decode read before.
    static Change decodeChange(std::string_view text, const std::string& fileName, const AssetFinder& finder);
};

} // namespace CloudKit
