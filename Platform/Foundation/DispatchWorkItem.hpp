#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <atomic>
#include <functional>

namespace Foundation {

// A block of work that can be cancelled before it runs.
class DispatchWorkItem : public NSObject {
public:
    void perform();
    void cancel() { m_cancelled = true; }
    bool isCancelled() const { return m_cancelled; }

protected:
    friend Construct;
    explicit DispatchWorkItem(std::function<void()> block)
        : m_block(std::move(block))
    {
    }

private:
    std::function<void()> m_block;
    std::atomic<bool> m_cancelled {false};
};

} // namespace Foundation
