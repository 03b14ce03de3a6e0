#pragma once

#include "Platform/Foundation/DispatchQueue.hpp"

#include <concepts>
#include <functional>

namespace Basalwork {

// Runs `completion` once on `queue`, `seconds` from now; never inside the call, even for zero.
void asyncAfter(Foundation::DispatchQueue& queue, double seconds, std::function<void()> completion);

template <std::integral Seconds>
void asyncAfter(Foundation::DispatchQueue& queue, Seconds seconds, std::function<void()> completion)
{
    asyncAfter(queue, static_cast<double>(seconds), std::move(completion));
}

} // namespace Basalwork
