#include "Basalwork/Base/NumberFormatter.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::NumberFormatter> NumberFormatters::withMinimumIntegerDigits(std::optional<std::int64_t> minimumIntegerDigits,
                                                                                        std::optional<std::int64_t> maximumIntegerDigits,
                                                                                        std::optional<std::int64_t> minimumFractionDigits,
                                                                                        std::optional<std::int64_t> maximumFractionDigits)
{
    auto formatter = Foundation::make<Foundation::NumberFormatter>();
    if (minimumIntegerDigits)
        formatter->setMinimumIntegerDigits(*minimumIntegerDigits);
    if (maximumIntegerDigits)
        formatter->setMaximumIntegerDigits(*maximumIntegerDigits);
    if (minimumFractionDigits)
        formatter->setMinimumFractionDigits(*minimumFractionDigits);
    if (maximumFractionDigits)
        formatter->setMaximumFractionDigits(*maximumFractionDigits);
    return formatter;
}

} // namespace Basalwork
