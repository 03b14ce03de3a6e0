#pragma once

#include "Platform/Foundation/FatalError.hpp"

#include <utility>

namespace Foundation {

// The half-open interval lowerBound ..< upperBound. Making one with the bounds the wrong way round is a
// programming error.
template <class Bound>
class Range {
public:
    Range(Bound lowerBound, Bound upperBound)
        : m_lowerBound(std::move(lowerBound))
        , m_upperBound(std::move(upperBound))
    {
        precondition(!(m_upperBound < m_lowerBound), "Range requires lowerBound <= upperBound");
    }

    const Bound& lowerBound() const { return m_lowerBound; }
    const Bound& upperBound() const { return m_upperBound; }

    friend bool operator==(const Range&, const Range&) = default;

private:
    Bound m_lowerBound;
    Bound m_upperBound;
};

} // namespace Foundation
