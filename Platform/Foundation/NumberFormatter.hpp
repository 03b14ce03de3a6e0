#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <mutex>
#include <optional>

namespace Foundation {

// Writes numbers as plain decimal text in the current locale, without grouping, rounding half to even,
// within the digit limits set. Raising a minimum above its maximum raises the maximum, and lowering a
// maximum below its minimum lowers the minimum, so the limits always agree. Safe to use from several
// threads.
class NumberFormatter : public NSObject {
public:
    std::int64_t minimumIntegerDigits() const;
    void setMinimumIntegerDigits(std::int64_t digits);
    std::int64_t maximumIntegerDigits() const;
    void setMaximumIntegerDigits(std::int64_t digits);
    std::int64_t minimumFractionDigits() const;
    void setMinimumFractionDigits(std::int64_t digits);
    std::int64_t maximumFractionDigits() const;
    void setMaximumFractionDigits(std::int64_t digits);

    // string(from:): nothing for a value that cannot be written (not a number).
    std::optional<String> string(double from) const;

protected:
    friend Construct;
    NumberFormatter() = default;

private:
    mutable std::mutex m_mutex;
    std::int64_t m_minimumIntegerDigits = 0;
    std::int64_t m_maximumIntegerDigits = 42;
    std::int64_t m_minimumFractionDigits = 0;
    std::int64_t m_maximumFractionDigits = 0;
};

} // namespace Foundation
