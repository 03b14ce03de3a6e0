#pragma once

#include <cstdint>

namespace Shared {

// The small links under the unlock screen's buttons (AuthenticationV::Link), by position: the owner
// decides what each does. Showing the typed password is the screen's own doing; the owner only hears
// of it.
enum class AuthenticationVLink : std::int64_t { forgotPassword = 0, restoreFromBackup = 1, showPassword = 2, website = 3 };

} // namespace Shared
