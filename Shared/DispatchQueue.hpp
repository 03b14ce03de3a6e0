#pragma once

#include <cstddef>
#include <functional>

namespace Shared {

// DispatchQueue.concurrentPerform(iterations:execute:): runs `work` once for each index on the global
// queue's workers and the calling thread, in parallel, and returns when all have run. The first error
// thrown is rethrown here; the rest of the batch that threw is skipped, other indices still run.
void concurrentPerform(std::size_t iterations, const std::function<void(std::size_t)>& work);

} // namespace Shared
