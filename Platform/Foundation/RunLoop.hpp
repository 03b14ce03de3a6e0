#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace Foundation {

class Timer;

// The main thread's event loop: each turn hands due deadlines to their queues and runs the main queue's
// work in submission order. Only the main run loop exists; work elsewhere runs on dispatch queues.
class RunLoop : public NSObject {
public:
    static const std::shared_ptr<RunLoop>& main();
    static const std::shared_ptr<RunLoop>& current() { return main(); }

    struct Mode;
    // Schedules the timer here. The loop runs in one mode only, so every mode fires it.
    void add(const std::shared_ptr<Timer>& timer, const Mode& forMode);

    // One turn: fires what is due now and runs the work that was queued when the turn began.
    // True when anything ran.
    bool runOnce();
    // Turns until no work is queued or due at the current time, including work that the turns add.
    void runUntilIdle();
    // Work on another thread whose outcome comes back to the main queue and which the main loop
    // awaits, such as a list computing its rows: the work holds the token until its outcome is queued.
    class AwaitedWork;
    static std::shared_ptr<const AwaitedWork> beginAwaitedWork();
    // The same as `runUntilIdle`, but the loop is idle only once no awaited work is left either (tests
    // run the loop so; a program's loop never waits for it).
    void runUntilIdleAwaitingWork();
    // Turns until `stop()`, waiting for work in between (programs, on the real clock).
    void run();
    // Turns until the queues' threads have nothing left to run, for at most `realSeconds`: a program
    // ending lets the work in flight (a sync's round, a save) end first, since what that work uses goes
    // with the process's static objects. False when time ran out.
    bool runUntilBackgroundWorkEnds(double realSeconds);
    // For a program about to return from main with `status`: the work in flight ends first; work that
    // outlasts `realSeconds` is left unfinished, and so are the static objects' destructors (the
    // process ends here with the status), so that neither side sees the other half torn down. A quit
    // stays within a second: what a sync's round had not yet committed is fetched again at the next
    // launch, since the stores commit a whole transaction or nothing.
    void endBackgroundWorkBeforeExit(int status, double realSeconds = 0.5);
    void stop();

    // Called on the main thread each time the loop has nothing left to run and is about to wait: where
    // a display shows what the turns before changed. Observers stay for the process's life.
    void addBeforeWaitingObserver(std::function<void()> observer);

protected:
    friend Construct;
    RunLoop() = default;

private:
    std::atomic<bool> m_stopped {false};
    std::vector<std::function<void()>> m_beforeWaitingObservers;
};

} // namespace Foundation

#include "Platform/Foundation/RunLoop.Mode.hpp"
