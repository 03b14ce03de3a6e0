#pragma once

#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/TimeZone.hpp"

#include <cstdint>
#include <optional>

namespace Foundation {

// Calendar fields, each present or absent. Months count from 1.
struct DateComponents {
    std::optional<TimeZone> timeZone;
    std::optional<std::int64_t> year;
    std::optional<std::int64_t> month;
    std::optional<std::int64_t> day;
    std::optional<std::int64_t> hour;
    std::optional<std::int64_t> minute;
    std::optional<std::int64_t> second;

    // value(for:) and setValue(_:for:)
    std::optional<std::int64_t> value(Calendar::Component for_) const;
    void setValue(std::optional<std::int64_t> value, Calendar::Component for_);

    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

} // namespace Foundation
