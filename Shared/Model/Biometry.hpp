#pragma once

#include <cstdint>

namespace Shared {

// A way to unlock without the master password, by its kind's position: Touch ID, Face ID, Apple Watch,
// or none.
enum class Biometry : std::int64_t { touchID = 0, faceID = 1, appleWatch = 2, none = 3 };

} // namespace Shared
