#include "Basalwork/Interface/UILayoutPriority.hpp"

#include <atomic>

namespace Basalwork {
namespace {

std::atomic<float> highestPriority {999};
std::atomic<float> lowestPriority {1};

} // namespace

UIKit::UILayoutPriority UILayoutPriorities::highest()
{
    return {highestPriority.load(std::memory_order_relaxed)};
}

void UILayoutPriorities::setHighest(UIKit::UILayoutPriority priority)
{
    highestPriority.store(priority.rawValue, std::memory_order_relaxed);
}

UIKit::UILayoutPriority UILayoutPriorities::lowest()
{
    return {lowestPriority.load(std::memory_order_relaxed)};
}

void UILayoutPriorities::setLowest(UIKit::UILayoutPriority priority)
{
    lowestPriority.store(priority.rawValue, std::memory_order_relaxed);
}

} // namespace Basalwork
