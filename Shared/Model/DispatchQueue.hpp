#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace Shared {

// DispatchQueue.concurrentPerform(iterations:execute:): runs `work` once for each index on the global
// queue's workers and the calling thread, in parallel, and returns when all have run. The first error
// thrown is rethrown here; the rest of the batch that threw is skipped, other indices still run.
void concurrentPerform(std::size_t iterations, const std::function<void(std::size_t)>& work);

// Work handed over in pieces while it is still being made (rows read a batch at a time): each piece is
// offered to the global queue's workers as it is added; `finish` has the caller run the pieces no worker
// has taken yet, waits for the others and rethrows the first error a piece threw (the other pieces still
// run). Pieces are added from one thread. Destroyed without `finish`, it still waits for the pieces.
class ConcurrentPipeline {
public:
    ConcurrentPipeline();
    ~ConcurrentPipeline();
    ConcurrentPipeline(const ConcurrentPipeline&) = delete;
    ConcurrentPipeline& operator=(const ConcurrentPipeline&) = delete;

    void add(std::function<void()> piece);
    void finish();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace Shared
