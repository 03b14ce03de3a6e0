#pragma once

namespace TestSupport {

// Runs the main queue, and whatever falls due at the current time, until nothing is left, work that the
// main loop awaits from other threads included (RunLoop::beginAwaitedWork).
void runMainLoopUntilIdle();

// Moves the manual clock forward by `seconds`, stopping at every deadline on the way so that work runs
// at the time it is due and work it schedules falls due in turn.
void advanceClock(double seconds);

} // namespace TestSupport
