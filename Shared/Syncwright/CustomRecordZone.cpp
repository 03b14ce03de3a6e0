#include "Shared/Syncwright/CustomRecordZone.hpp"

namespace Syncwright {

const CloudKit::CKRecordZoneID& customRecordZoneID()
{
    static const CloudKit::CKRecordZoneID zoneID("CustomRecordZone", CloudKit::CKCurrentUserDefaultName);
    return zoneID;
}

} // namespace Syncwright
