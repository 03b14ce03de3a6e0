#pragma once

#include "Platform/Foundation/FatalError.hpp"

#include <utility>

namespace Foundation {

// The closed interval lowerBound ... upperBound. Making one with the bounds the wrong way round is a
// programming error.
template <class Bound>
class ClosedRange {
public:
    ClosedRange(Bound lowerBound, Bound upperBound)
        : m_lowerBound(std::move(lowerBound))
        , m_upperBound(std::move(upperBound))
    {
        precondition(!(m_upperBound < m_lowerBound), "ClosedRange requires lowerBound <= upperBound");
    }

    const Bound& lowerBound() const { return m_lowerBound; }
    const Bound& upperBound() const { return m_upperBound; }

    friend bool operator==(const ClosedRange&, const ClosedRange&) = default;

private:
    Bound m_lowerBound;
    Bound m_upperBound;
};

} // namespace Foundation
