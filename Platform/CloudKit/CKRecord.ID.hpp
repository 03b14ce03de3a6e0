#pragma once

#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/String.hpp"

#include <compare>
#include <cstddef>
#include <string>

namespace CloudKit {

// Identifies a record by its name within a zone. Compared by the exact text of the name and the zone.
// Spelled `CKRecord::ID` in code; defined on its own so that errors and operations can hold one.
class CKRecordID {
public:
    // A record in the default zone.
    explicit CKRecordID(Foundation::String recordName, CKRecordZoneID zoneID = {});

    const Foundation::String& recordName() const { return m_recordName; }
    const CKRecordZoneID& zoneID() const { return m_zoneID; }

    std::string description() const;

    friend bool operator==(const CKRecordID& lhs, const CKRecordID& rhs);
    friend std::strong_ordering operator<=>(const CKRecordID& lhs, const CKRecordID& rhs);
    std::size_t hash() const;

private:
    Foundation::String m_recordName;
    CKRecordZoneID m_zoneID;
};

} // namespace CloudKit

template <>
struct std::hash<CloudKit::CKRecordID> {
    std::size_t operator()(const CloudKit::CKRecordID& id) const { return id.hash(); }
};
