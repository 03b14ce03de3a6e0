#pragma once

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <ranges>
#include <vector>

namespace Basalwork {

// An array that any number of threads may use at once: every operation has the buffer to itself.
template <class Element>
class ArrayActor : public Foundation::NSObject {
public:
    std::int64_t count() const
    {
        std::lock_guard lock(m_mutex);
        return static_cast<std::int64_t>(m_buffer.size());
    }

    void append(Element element)
    {
        std::lock_guard lock(m_mutex);
        m_buffer.push_back(std::move(element));
    }

    // Closes the gap. An index outside 0..<count stops the program.
    Element remove(std::int64_t at)
    {
        std::lock_guard lock(m_mutex);
        Foundation::precondition(at >= 0 && at < static_cast<std::int64_t>(m_buffer.size()), "Index out of range");
        auto position = m_buffer.begin() + at;
        Element removed = std::move(*position);
        m_buffer.erase(position);
        return removed;
    }

protected:
    friend Foundation::Construct;
    template <std::ranges::input_range Elements>
    explicit ArrayActor(Elements&& elements)
        : m_buffer(std::ranges::begin(elements), std::ranges::end(elements))
    {
    }
    ArrayActor(std::initializer_list<Element> arrayLiteral)
        : m_buffer(arrayLiteral)
    {
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Element> m_buffer;
};

} // namespace Basalwork
