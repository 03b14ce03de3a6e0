#include "Basalwork/Base/DateFormatter.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::DateFormatter> DateFormatters::withDateStyle(Foundation::DateFormatter::Style dateStyle,
                                                                         Foundation::DateFormatter::Style timeStyle,
                                                                         const Foundation::TimeZone& timeZone)
{
    auto formatter = Foundation::make<Foundation::DateFormatter>();
    formatter->setDateStyle(dateStyle);
    formatter->setTimeStyle(timeStyle);
    formatter->setTimeZone(timeZone);
    return formatter;
}

std::shared_ptr<Foundation::DateFormatter> DateFormatters::withDateFormat(const Foundation::String& dateFormat,
                                                                          const Foundation::TimeZone& timeZone)
{
    auto formatter = Foundation::make<Foundation::DateFormatter>();
    formatter->setDateFormat(dateFormat);
    formatter->setTimeZone(timeZone);
    return formatter;
}

} // namespace Basalwork
