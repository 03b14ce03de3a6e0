#pragma once

#include "Platform/Foundation/String.hpp"

#include <compare>
#include <cstddef>
#include <string>

namespace CloudKit {

// The owner name that stands for the signed-in user.
inline constexpr const char* CKCurrentUserDefaultName = "__defaultOwner__";
inline constexpr const char* CKRecordZoneDefaultName = "_defaultZone";

// Identifies a record zone by its name and owner. Compared by the exact text of both, as the service
// compares them. Spelled `CKRecordZone::ID` in code; defined on its own so that records can hold one.
class CKRecordZoneID {
public:
    // The default zone of the current user.
    CKRecordZoneID();
    explicit CKRecordZoneID(Foundation::String zoneName, Foundation::String ownerName = CKCurrentUserDefaultName);

    static CKRecordZoneID default_() { return {}; }

    const Foundation::String& zoneName() const { return m_zoneName; }
    const Foundation::String& ownerName() const { return m_ownerName; }
    bool isDefaultZone() const;

    std::string description() const;

    friend bool operator==(const CKRecordZoneID& lhs, const CKRecordZoneID& rhs);
    friend std::strong_ordering operator<=>(const CKRecordZoneID& lhs, const CKRecordZoneID& rhs);
    std::size_t hash() const;

private:
    Foundation::String m_zoneName;
    Foundation::String m_ownerName;
};

} // namespace CloudKit

template <>
struct std::hash<CloudKit::CKRecordZoneID> {
    std::size_t operator()(const CloudKit::CKRecordZoneID& id) const { return id.hash(); }
};
