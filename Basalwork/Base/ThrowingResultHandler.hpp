#pragma once

#include "Platform/Foundation/DispatchQueue.hpp"

#include <functional>
#include <memory>

namespace Basalwork {

// A completion bound to a queue whose handler may fail; the failure reaches the caller that waited.
template <class T>
class ThrowingResultHandler {
public:
    ThrowingResultHandler(std::shared_ptr<Foundation::DispatchQueue> queue, std::function<void(T)> handler)
        : m_queue(std::move(queue))
        , m_handler(std::move(handler))
    {
    }

    const std::shared_ptr<Foundation::DispatchQueue>& queue() const { return m_queue; }
    const std::function<void(T)>& handler() const { return m_handler; }

    // Runs the handler on `queue`, waits, and throws what the handler threw.
    void invokeSynchronously(T value) const
    {
        m_queue->sync([&] { m_handler(std::move(value)); });
    }

private:
    std::shared_ptr<Foundation::DispatchQueue> m_queue;
    std::function<void(T)> m_handler;
};

} // namespace Basalwork
