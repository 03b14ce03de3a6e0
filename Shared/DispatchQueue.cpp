#include "Shared/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

namespace Shared {

void concurrentPerform(std::size_t iterations, const std::function<void(std::size_t)>& work)
{
    std::size_t chunks = std::min<std::size_t>(iterations, std::max(1u, std::thread::hardware_concurrency()));
    if (chunks <= 1) {
        for (std::size_t i = 0; i < iterations; ++i)
            work(i);
        return;
    }
    auto group = Foundation::make<Foundation::DispatchGroup>();
    std::mutex mutex;
    std::exception_ptr failure;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        Foundation::DispatchQueue::global()->async(group, [&, chunk] {
            try {
                for (std::size_t i = chunk; i < iterations; i += chunks)
                    work(i);
            } catch (...) {
                std::lock_guard lock(mutex);
                if (!failure)
                    failure = std::current_exception();
            }
        });
    }
    group->wait();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace Shared
