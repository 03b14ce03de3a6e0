#pragma once

namespace Shared {

// Initialises libsodium once per process, from any thread; later calls return at once.
void ensureSodium();

} // namespace Shared
