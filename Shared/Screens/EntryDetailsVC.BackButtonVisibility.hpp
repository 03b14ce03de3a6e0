#pragma once

#include <cstdint>

namespace Shared {

// Whether the details header shows a back button (EntryDetailsVC::BackButtonVisibility); a column shown on its own needs one.
enum class EntryDetailsVCBackButtonVisibility : std::uint8_t { hidden = 0, visible = 1 };

} // namespace Shared
