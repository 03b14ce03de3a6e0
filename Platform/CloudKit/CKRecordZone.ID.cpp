#include "Platform/CloudKit/CKRecordZone.ID.hpp"

#include <functional>

namespace CloudKit {

CKRecordZoneID::CKRecordZoneID()
    : m_zoneName(CKRecordZoneDefaultName)
    , m_ownerName(CKCurrentUserDefaultName)
{
}

CKRecordZoneID::CKRecordZoneID(Foundation::String zoneName, Foundation::String ownerName)
    : m_zoneName(std::move(zoneName))
    , m_ownerName(std::move(ownerName))
{
}

bool CKRecordZoneID::isDefaultZone() const
{
    return m_zoneName.utf8() == CKRecordZoneDefaultName && m_ownerName.utf8() == CKCurrentUserDefaultName;
}

std::string CKRecordZoneID::description() const
{
    return "<CKRecordZoneID: zoneName=" + m_zoneName.utf8() + ", ownerName=" + m_ownerName.utf8() + ">";
}

bool operator==(const CKRecordZoneID& lhs, const CKRecordZoneID& rhs)
{
    return lhs.m_zoneName.utf8() == rhs.m_zoneName.utf8() && lhs.m_ownerName.utf8() == rhs.m_ownerName.utf8();
}

std::strong_ordering operator<=>(const CKRecordZoneID& lhs, const CKRecordZoneID& rhs)
{
    if (auto order = lhs.m_ownerName.utf8() <=> rhs.m_ownerName.utf8(); order != 0)
        return order;
    return lhs.m_zoneName.utf8() <=> rhs.m_zoneName.utf8();
}

std::size_t CKRecordZoneID::hash() const
{
    std::hash<std::string> text;
    return text(m_zoneName.utf8()) * 31 + text(m_ownerName.utf8());
}

} // namespace CloudKit
