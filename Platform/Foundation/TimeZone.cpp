#include "Platform/Foundation/TimeZone.hpp"

#include <memory>
#include <mutex>

#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace Foundation {
namespace {

std::mutex currentMutex;
std::optional<TimeZone> currentOverride;

std::string utf8(const icu::UnicodeString& text)
{
    std::string bytes;
    text.toUTF8String(bytes);
    return bytes;
}

} // namespace

std::optional<TimeZone> TimeZone::withIdentifier(const String& identifier)
{
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(identifier.view())));
    if (!zone || *zone == icu::TimeZone::getUnknown())
        return std::nullopt;
    return TimeZone(identifier);
}

TimeZone TimeZone::gmt()
{
    return TimeZone("GMT");
}

TimeZone TimeZone::current()
{
    {
        std::lock_guard lock(currentMutex);
        if (currentOverride)
            return *currentOverride;
    }
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id;
    if (!zone || *zone == icu::TimeZone::getUnknown())
        return gmt();
    return TimeZone(utf8(zone->getID(id)));
}

void TimeZone::setCurrent(std::optional<TimeZone> timeZone)
{
    std::lock_guard lock(currentMutex);
    currentOverride = std::move(timeZone);
}

} // namespace Foundation
