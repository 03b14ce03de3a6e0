#pragma once

#include <cstdint>

namespace Shared {

// Whether AutoFill can use the vault and whether the details show the item's AutoFill domains
// (EntryDetailsVC::AutoFillDomainsState): the two ways of not available, then available with the domains
// hidden or shown.
enum class EntryDetailsVCAutoFillDomainsState : std::uint8_t { unsupportedSystem = 0, disabled = 1, hidden = 2, shown = 3 };

} // namespace Shared
