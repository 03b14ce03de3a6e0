#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchScheduler.hpp"
#include "Platform/Foundation/RunLoop.hpp"

namespace TestSupport {

void runMainLoopUntilIdle()
{
    Foundation::RunLoop::main()->runUntilIdleAwaitingWork();
}

void advanceClock(double seconds)
{
    using Foundation::Clock;
    runMainLoopUntilIdle();
    const double target = Clock::uptime() + seconds;
    for (;;) {
        auto deadline = Foundation::DispatchScheduler::nextDeadline();
        if (!deadline || *deadline > target)
            break;
        if (*deadline > Clock::uptime())
            Clock::advance(*deadline - Clock::uptime());
        runMainLoopUntilIdle();
    }
    if (target > Clock::uptime())
        Clock::advance(target - Clock::uptime());
    runMainLoopUntilIdle();
}

} // namespace TestSupport
