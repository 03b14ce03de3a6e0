#pragma once

#include <cstdint>

namespace Shared {

// Whether editing shows the one-time password field while it is empty (EntryDetailsVC::EmptyTOTPFieldVisibility).
enum class EntryDetailsVCEmptyTOTPFieldVisibility : std::uint8_t { hidden = 0, visible = 1 };

} // namespace Shared
