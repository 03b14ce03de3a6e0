#pragma once

#include "Basalwork/Base/AsyncOperationError.hpp"

#include "Platform/Foundation/Operation.hpp"
#include "Platform/Foundation/Result.hpp"

#include <atomic>
#include <mutex>

namespace Basalwork {

// An operation that finishes when its work says so, not when `main()` returns: a subclass starts the work
// in `main()` and calls `completeOperation(with:)` once it is done, from any thread. Until then the
// operation is executing and its result is `operationNotComplete`.
template <class Success>
class AsyncOperation : public Foundation::Operation {
public:
    Foundation::Result<Success> result() const
    {
        std::lock_guard lock(m_resultMutex);
        return m_result;
    }
    void setResult(Foundation::Result<Success> result)
    {
        std::lock_guard lock(m_resultMutex);
        m_result = std::move(result);
    }

    void completeOperation(Foundation::Result<Success> with)
    {
        setResult(std::move(with));
        completeOperation();
    }

    bool isNotCancelled() const { return !isCancelled(); }

    void start() override
    {
        if (isCancelled()) {
            setFinishedFlag(true);
            return;
        }
        setExecutingFlag(true);
        main();
    }

    // A cancelled operation that runs is finished at once, so that its queue moves on; its work may still
    // complete later and replace the cancelled result.
    void cancel() override
    {
        setResult(Foundation::Result<Success>::failure(AsyncOperationError::operationCancelled()));
        Foundation::Operation::cancel();
        if (isExecuting())
            completeOperation();
    }

    bool isAsynchronous() const override { return true; }
    bool isExecuting() const override { return m_executing.load(); }
    bool isFinished() const override { return m_finished.load(); }

protected:
    AsyncOperation()
        : m_result(Foundation::Result<Success>::failure(AsyncOperationError::operationNotComplete()))
    {
    }

private:
    void completeOperation()
    {
        setExecutingFlag(false);
        setFinishedFlag(true);
    }
    void setExecutingFlag(bool executing)
    {
        willChangeValue("isExecuting");
        m_executing = executing;
        didChangeValue("isExecuting");
    }
    void setFinishedFlag(bool finished)
    {
        willChangeValue("isFinished");
        m_finished = finished;
        didChangeValue("isFinished");
    }

    mutable std::mutex m_resultMutex;
    Foundation::Result<Success> m_result;
    std::atomic<bool> m_executing {false};
    std::atomic<bool> m_finished {false};
};

} // namespace Basalwork
