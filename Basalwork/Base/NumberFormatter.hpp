#pragma once

#include "Platform/Foundation/NumberFormatter.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace Basalwork {

struct NumberFormatters {
    // init(minimumIntegerDigits:maximumIntegerDigits:minimumFractionDigits:maximumFractionDigits:): each
    // limit given is set, in this order; the others keep the formatter's defaults.
    static std::shared_ptr<Foundation::NumberFormatter> withMinimumIntegerDigits(std::optional<std::int64_t> minimumIntegerDigits,
                                                                                  std::optional<std::int64_t> maximumIntegerDigits,
                                                                                  std::optional<std::int64_t> minimumFractionDigits,
                                                                                  std::optional<std::int64_t> maximumFractionDigits);
};

} // namespace Basalwork
