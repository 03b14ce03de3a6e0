#include "Platform/CloudKit/CKRecord.ID.hpp"

#include <functional>

namespace CloudKit {

CKRecordID::CKRecordID(Foundation::String recordName, CKRecordZoneID zoneID)
    : m_recordName(std::move(recordName))
    , m_zoneID(std::move(zoneID))
{
}

std::string CKRecordID::description() const
{
    return "<CKRecordID: recordName=" + m_recordName.utf8() + ", zoneID=" + m_zoneID.zoneName().utf8() + ":"
        + m_zoneID.ownerName().utf8() + ">";
}

bool operator==(const CKRecordID& lhs, const CKRecordID& rhs)
{
    return lhs.m_recordName.utf8() == rhs.m_recordName.utf8() && lhs.m_zoneID == rhs.m_zoneID;
}

std::strong_ordering operator<=>(const CKRecordID& lhs, const CKRecordID& rhs)
{
    if (auto order = lhs.m_zoneID <=> rhs.m_zoneID; order != 0)
        return order;
    return lhs.m_recordName.utf8() <=> rhs.m_recordName.utf8();
}

std::size_t CKRecordID::hash() const
{
    return std::hash<std::string>()(m_recordName.utf8()) * 31 + m_zoneID.hash();
}

} // namespace CloudKit
