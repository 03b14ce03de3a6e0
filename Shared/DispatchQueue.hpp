#pragma once

#include <cstddef>
#include <functional>

namespace Shared {

// DispatchQueue.concurrentPerform(iterations:execute:): runs `work` once for each index on the global
// queue's workers, in parallel, and returns when all have run. The first error thrown is rethrown here.
void concurrentPerform(std::size_t iterations, const std::function<void(std::size_t)>& work);

} // namespace Shared
