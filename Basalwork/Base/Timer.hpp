#pragma once

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/Timer.hpp"

#include <memory>

namespace Basalwork {

struct Timers {
    // scheduledTimer(withTimeInterval:onRunLoop:repeats:block:): a new timer added to `onRunLoop` in its
    // default mode; the block runs there and receives the timer.
    static std::shared_ptr<Foundation::Timer> scheduledTimer(double withTimeInterval, Foundation::RunLoop& onRunLoop, bool repeats,
                                                             Foundation::Timer::Block block);
};

} // namespace Basalwork
