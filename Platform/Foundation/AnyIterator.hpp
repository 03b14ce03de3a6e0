#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>

namespace Foundation {

// An iterator over whatever its closure answers, until the closure answers nothing. It is also a
// single-pass C++ range, so `for (auto& element : iterator)` walks it; copies share one position.
template <class Element>
class AnyIterator {
public:
    explicit AnyIterator(std::function<std::optional<Element>()> next)
        : m_next(std::make_shared<std::function<std::optional<Element>()>>(std::move(next)))
    {
    }

    std::optional<Element> next() { return (*m_next)(); }

    class Position {
    public:
        using iterator_concept = std::input_iterator_tag;
        using value_type = Element;
        using difference_type = std::ptrdiff_t;

        Position() = default;
        const Element& operator*() const { return *m_current; }
        const Element* operator->() const { return &*m_current; }
        Position& operator++()
        {
            m_current = (*m_next)();
            return *this;
        }
        void operator++(int) { ++*this; }
        friend bool operator==(const Position& position, std::default_sentinel_t) { return !position.m_current; }

    private:
        friend class AnyIterator;
        explicit Position(std::shared_ptr<std::function<std::optional<Element>()>> next)
            : m_next(std::move(next))
            , m_current((*m_next)())
        {
        }
        std::shared_ptr<std::function<std::optional<Element>()>> m_next;
        std::optional<Element> m_current;
    };

    // Takes the first element.
    Position begin() const { return Position(m_next); }
    std::default_sentinel_t end() const { return {}; }

private:
    std::shared_ptr<std::function<std::optional<Element>()>> m_next;
};

} // namespace Foundation
