#include "Platform/CloudKit/CKRecordZone.hpp"

namespace CloudKit {

CKRecordZone::CKRecordZone(Foundation::String zoneName)
    : m_zoneID(std::move(zoneName))
{
}

CKRecordZone::CKRecordZone(ID zoneID)
    : m_zoneID(std::move(zoneID))
{
}

std::shared_ptr<CKRecordZone> CKRecordZone::default_()
{
    return Foundation::make<CKRecordZone>(ID::default_());
}

CKRecordZone::Capabilities CKRecordZone::capabilities() const
{
    if (m_zoneID.isDefaultZone())
        return {};
    return {Capabilities::fetchChanges().rawValue | Capabilities::atomic().rawValue};
}

std::string CKRecordZone::description() const
{
    return "<CKRecordZone: " + m_zoneID.description() + ">";
}

} // namespace CloudKit
