#pragma once

#include <mutex>
#include <utility>

namespace CloudKit {

// A value read and written from several threads: an operation's settings and blocks are set by its
// owner and read on the thread that runs it.
template <class T>
class Locked {
public:
    Locked() = default;
    explicit Locked(T value)
        : m_value(std::move(value))
    {
    }

    T get() const
    {
        std::lock_guard lock(m_mutex);
        return m_value;
    }
    void set(T value)
    {
        std::lock_guard lock(m_mutex);
        m_value = std::move(value);
    }

private:
    mutable std::mutex m_mutex;
    T m_value {};
};

} // namespace CloudKit
