#pragma once

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Error.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace CloudKit {

// The records and zones a database holds: what its change batches amount to when applied in order.
class DatabaseState {
public:
    // One save that gives a record fields: where its text is in a batch's file, or (for a batch that
    // never was in a file) the values themselves.
    struct Save {
        std::shared_ptr<const ChangeBatch::Source> file;
        ChangeBatch::Span text;
        // The change's place in its batch.
        std::uint32_t index = 0;
        std::shared_ptr<const ChangeBatch::Change::FieldChanges> held;
    };
    // What a sync needs of a record; its fields stay in the files and are read when it is handed out.
    struct Record {
        std::string type;
        std::string changeTag;
        Foundation::Date creationDate;
        Foundation::Date modificationDate;
        // Set while the record's last save could not be read; its fields are then unknown.
        Foundation::ErrorPtr unreadable;
        // The file of the batch that saved it last, shared by the records it saved.
        std::shared_ptr<const std::string> changedIn;
        // The saves whose fields make the record's, applied in order: the last one that replaced them
        // all, and those since.
        std::vector<Save> saves;
    };
    struct Deletion {
        std::string type;
        std::string deletedIn;
    };
    struct Zone {
        // Zones made at the same time on two devices that had not seen each other are one zone.
        std::set<std::string> incarnations;
        std::string incarnation;
        // Shared with the copies of the state: a change makes the record anew.
        std::map<std::string, std::shared_ptr<const Record>> records;
        // Records deleted, so that a snapshot can still tell a reader that had them.
        std::map<std::string, Deletion> deletions;
        // Lives known only from the records saved in them: the batch that made them is missing.
        std::set<std::string> withoutCreation;
        bool holds(const std::string& incarnation) const { return incarnations.contains(incarnation); }
    };

    static constexpr const char* defaultZoneIncarnation = "default";

    DatabaseState();
    void clear();
    // A snapshot replaces everything; a batch changes what it names. A copy of the state shares its
    // records with this one.
    void apply(const ChangeBatch& batch);
    // The same, taking the batch's values instead of copying them.
    void take(ChangeBatch&& batch);

    // Whether everything here can be written down whole: no zone lacks its making, no record is one
    // this version cannot read.
    bool isWhole() const;
    std::size_t recordCount() const;
    // Changes that make this state again, from nothing, with each record's tag and dates and the fields
    // `fieldsOf` gives it.
    using FieldsOf = std::function<CKRecord::Fields(const Record&)>;
    std::vector<ChangeBatch::Change> snapshotChanges(const FieldsOf& fieldsOf) const;
    // A record's fields from the changes its saves made, in order.
    static CKRecord::Fields fieldsFrom(const std::vector<const ChangeBatch::Change::FieldChanges*>& changes);
    std::vector<ChangeBatch::ZoneDeletion> zoneDeletions() const;

    // Nothing for a zone that does not exist; the default zone always does.
    const Zone* zone(const CKRecordZoneID& zoneID) const;
    const Record* record(const CKRecordZoneID& zoneID, const std::string& recordName) const;
    std::shared_ptr<const Record> sharedRecord(const CKRecordZoneID& zoneID, const std::string& recordName) const;
    std::set<CKRecordZoneID> zoneIDs() const;

    // The tag a save gets: unique to the batch and the change's place in it.
    static std::string changeTag(const ChangeBatch& batch, std::size_t changeIndex);

private:
    void apply(const ChangeBatch& batch, ChangeBatch* values);
    // The zone a record change lands in; nothing when that life of the zone was deleted.
    Zone* zoneFor(const ChangeBatch::Change& change);

    std::map<CKRecordZoneID, Zone> m_zones;
    // Lives of zones deleted through a batch: changes in them are dropped with the zone.
    std::map<std::string, ChangeBatch::ZoneDeletion> m_deletedIncarnations;
};

} // namespace CloudKit
