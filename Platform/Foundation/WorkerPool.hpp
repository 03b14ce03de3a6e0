#pragma once

#include <functional>

namespace Foundation {

// The threads behind every queue but the main one. It grows when all its threads are busy, so work that
// blocks waiting for other work cannot starve the pool.
class WorkerPool {
public:
    static WorkerPool& shared();
    void submit(std::function<void()> task);

private:
    WorkerPool() = default;
    void workerLoop();
    struct State;
    State& state();
};

} // namespace Foundation
