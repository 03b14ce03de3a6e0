#pragma once

#include "Platform/CloudKit/CKRecord.ID.hpp"
#include "Platform/CloudKit/CKRecordValue.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace CloudKit {

// A record: its type, its identifier, the fields it holds and, once it has been saved or fetched, the
// system fields the service gave it (change tag, creation and modification dates). Setting a field,
// also to nothing, marks it changed until the record is saved; a save with the changed-keys policy sends
// only those. Safe to use from several threads.
class CKRecord : public Foundation::NSObject, public Foundation::NSCoding {
public:
    using ID = CKRecordID;
    using RecordType = Foundation::String;
    using FieldKey = Foundation::String;

    const RecordType& recordType() const { return m_recordType; }
    const ID& recordID() const { return m_recordID; }
    std::optional<Foundation::String> recordChangeTag() const;
    std::optional<Foundation::Date> creationDate() const;
    std::optional<Foundation::Date> modificationDate() const;

    // object(forKey:) and setObject(_:forKey:); nothing clears the field.
    std::optional<CKRecordValue> object(const FieldKey& key) const;
    void setObject(std::optional<CKRecordValue> value, const FieldKey& key);
    // The keys that hold a value, in byte order.
    std::vector<FieldKey> allKeys() const;
    // The keys set since the record was made, fetched or decoded, in byte order.
    std::vector<FieldKey> changedKeys() const;

    // A separate record with the same identifier, fields, changes and system fields.
    std::shared_ptr<CKRecord> copy() const;

    // Everything: system fields, fields and changed keys.
    void encode(Foundation::NSCoder& coder) const override;
    // Only the identifier, type, change tag and dates: enough to make a record that later saves compare
    // against the server's copy. Decoding such an archive gives a record without fields.
    void encodeSystemFields(Foundation::NSCoder& coder) const;
    // A keyed archive of the system fields alone; NSKeyedUnarchiver reads it back as a CKRecord.
    Foundation::Data archivedSystemFields() const;
    // init?(coder:): null when the archive is not a record.
    static std::shared_ptr<CKRecord> withCoder(Foundation::NSCoder& coder);

    std::string description() const override;

    // What the service keeps beside the fields.
    struct SystemFields {
        std::optional<Foundation::String> changeTag;
        std::optional<Foundation::Date> creationDate;
        std::optional<Foundation::Date> modificationDate;
    };
    using Fields = std::map<std::string, CKRecordValue>;
    // A record as the service hands it out: no changed keys.
    static std::shared_ptr<CKRecord> fromServer(RecordType recordType, ID recordID, Fields fields, SystemFields system);
    // The values of the changed keys (nothing for a cleared one), and all fields, under one lock.
    std::map<std::string, std::optional<CKRecordValue>> changedValues() const;
    Fields fields() const;

protected:
    friend Foundation::Construct;
    // A record with a new unique name in the default zone, in a zone, or with a given identifier.
    explicit CKRecord(RecordType recordType);
    CKRecord(RecordType recordType, CKRecordZoneID zoneID);
    CKRecord(RecordType recordType, ID recordID);

private:
    RecordType m_recordType;
    ID m_recordID;
    mutable std::mutex m_mutex;
    Fields m_fields;
    std::set<std::string> m_changedKeys;
    SystemFields m_system;
};

} // namespace CloudKit
