#pragma once

namespace Shared {

// Whether the system's AutoFill can use the vault (RecordStore::AutoFillAvailability, by case index):
// two kinds of not available, and available.
enum class RecordStoreAutoFillAvailability { unsupportedSystem = 0, disabled = 1, enabled = 2 };

} // namespace Shared
