#include "Basalwork/Base/Decimal.hpp"

#include <charconv>
#include <string>

namespace Basalwork {

double doubleValue(const Foundation::Decimal& decimal)
{
    if (decimal.isZero())
        return 0.0;
    // Digits and exponent in scientific notation let the library round once, correctly; multiplying by
    // powers of ten would round at every step.
    std::string text = (decimal.isNegative() ? "-" : "") + decimal.significandDigits() + "e" + std::to_string(decimal.exponent());
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace Basalwork
