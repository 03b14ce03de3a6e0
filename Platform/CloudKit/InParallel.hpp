#pragma once

#include <cstddef>
#include <functional>

namespace CloudKit {

// Runs `work` once for each index below `count`, on the global queue's workers and the calling thread,
// and returns once every index ran. `work` must not throw.
void inParallel(std::size_t count, const std::function<void(std::size_t)>& work);

} // namespace CloudKit
