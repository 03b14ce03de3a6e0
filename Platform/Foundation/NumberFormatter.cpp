#include "Platform/Foundation/NumberFormatter.hpp"

#include "Platform/Foundation/Locale.hpp"

#include <algorithm>
#include <cmath>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>

namespace Foundation {
namespace {

// ICU refuses digit counts above 999.
std::int32_t icuDigits(std::int64_t digits)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(digits, 0, 999));
}

} // namespace

std::int64_t NumberFormatter::minimumIntegerDigits() const
{
    std::lock_guard lock(m_mutex);
    return m_minimumIntegerDigits;
}

void NumberFormatter::setMinimumIntegerDigits(std::int64_t digits)
{
    std::lock_guard lock(m_mutex);
    m_minimumIntegerDigits = std::max<std::int64_t>(digits, 0);
    m_maximumIntegerDigits = std::max(m_maximumIntegerDigits, m_minimumIntegerDigits);
}

std::int64_t NumberFormatter::maximumIntegerDigits() const
{
    std::lock_guard lock(m_mutex);
    return m_maximumIntegerDigits;
}

void NumberFormatter::setMaximumIntegerDigits(std::int64_t digits)
{
    std::lock_guard lock(m_mutex);
    m_maximumIntegerDigits = std::max<std::int64_t>(digits, 0);
    m_minimumIntegerDigits = std::min(m_minimumIntegerDigits, m_maximumIntegerDigits);
}

std::int64_t NumberFormatter::minimumFractionDigits() const
{
    std::lock_guard lock(m_mutex);
    return m_minimumFractionDigits;
}

void NumberFormatter::setMinimumFractionDigits(std::int64_t digits)
{
    std::lock_guard lock(m_mutex);
    m_minimumFractionDigits = std::max<std::int64_t>(digits, 0);
    m_maximumFractionDigits = std::max(m_maximumFractionDigits, m_minimumFractionDigits);
}

std::int64_t NumberFormatter::maximumFractionDigits() const
{
    std::lock_guard lock(m_mutex);
    return m_maximumFractionDigits;
}

void NumberFormatter::setMaximumFractionDigits(std::int64_t digits)
{
    std::lock_guard lock(m_mutex);
    m_maximumFractionDigits = std::max<std::int64_t>(digits, 0);
    m_minimumFractionDigits = std::min(m_minimumFractionDigits, m_maximumFractionDigits);
}

std::optional<String> NumberFormatter::string(double from) const
{
    if (std::isnan(from))
        return std::nullopt;
    std::int32_t minimumInteger, maximumInteger, minimumFraction, maximumFraction;
    {
        std::lock_guard lock(m_mutex);
        minimumInteger = icuDigits(m_minimumIntegerDigits);
        maximumInteger = icuDigits(m_maximumIntegerDigits);
        minimumFraction = icuDigits(m_minimumFractionDigits);
        maximumFraction = icuDigits(m_maximumFractionDigits);
    }
    auto formatter = icu::number::NumberFormatter::withLocale(icu::Locale::createCanonical(Locale::current().identifier().c_str()))
                         .grouping(UNUM_GROUPING_OFF)
                         .roundingMode(UNUM_ROUND_HALFEVEN)
                         .integerWidth(icu::number::IntegerWidth::zeroFillTo(minimumInteger).truncateAt(maximumInteger))
                         .precision(icu::number::Precision::minMaxFraction(minimumFraction, maximumFraction));
    UErrorCode status = U_ZERO_ERROR;
    auto formatted = formatter.formatDouble(from, status);
    std::string text;
    if (U_SUCCESS(status))
        text = formatted.toTempString(status).toUTF8String(text);
    if (U_FAILURE(status))
        return std::nullopt;
    return String(std::move(text));
}

} // namespace Foundation
