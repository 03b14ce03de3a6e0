#include "Basalwork/Base/Timer.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::Timer> Timers::scheduledTimer(double withTimeInterval, Foundation::RunLoop& onRunLoop, bool repeats,
                                                          Foundation::Timer::Block block)
{
    auto timer = Foundation::make<Foundation::Timer>(withTimeInterval, repeats, std::move(block));
    onRunLoop.add(timer, Foundation::RunLoop::Mode::default_());
    return timer;
}

} // namespace Basalwork
