#pragma once

#include "Platform/Foundation/DispatchQueue.hpp"

#include <functional>
#include <memory>

namespace Basalwork {

// A completion bound to the queue it must run on. Producers on any thread hand their outcome to it; the
// handler always runs on `queue`, with a copy of the value taken at the call.
template <class T>
class ResultHandler {
public:
    ResultHandler(std::shared_ptr<Foundation::DispatchQueue> queue, std::function<void(T)> handler)
        : m_queue(std::move(queue))
        , m_handler(std::move(handler))
    {
    }

    const std::shared_ptr<Foundation::DispatchQueue>& queue() const { return m_queue; }
    const std::function<void(T)>& handler() const { return m_handler; }

    // Returns at once; the handler runs on a later turn of the queue, also when called from the queue.
    void invokeAsynchronously(T value) const
    {
        m_queue->async([handler = m_handler, value = std::move(value)] { handler(value); });
    }
    // Returns once the handler has run. Must not be called from `queue` itself when it is serial.
    void invokeSynchronously(T value) const
    {
        m_queue->sync([&] { m_handler(std::move(value)); });
    }

private:
    std::shared_ptr<Foundation::DispatchQueue> m_queue;
    std::function<void(T)> m_handler;
};

} // namespace Basalwork
