#pragma once

#include <cstdint>

namespace Shared {

// Whether editing shows the username and password fields while they are empty (EntryDetailsVC::EmptyLoginFieldsVisibility).
enum class EntryDetailsVCEmptyLoginFieldsVisibility : std::uint8_t { hidden = 0, visible = 1 };

} // namespace Shared
