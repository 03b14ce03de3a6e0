#pragma once

#include "Platform/CloudKit/CKRecordZone.ID.hpp"

namespace Syncwright {

// The one zone of the private database that the synced records live in: "CustomRecordZone" of the
// signed-in user.
const CloudKit::CKRecordZoneID& customRecordZoneID();

} // namespace Syncwright
