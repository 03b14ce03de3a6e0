#include "Platform/Foundation/Locale.hpp"

#include <mutex>

#include <unicode/locid.h>

namespace Foundation {
namespace {

std::mutex currentMutex;
std::optional<Locale> currentOverride;

} // namespace

Locale Locale::current()
{
    {
        std::lock_guard lock(currentMutex);
        if (currentOverride)
            return *currentOverride;
    }
    return Locale(icu::Locale::getDefault().getName());
}

void Locale::setCurrent(std::optional<Locale> locale)
{
    std::lock_guard lock(currentMutex);
    currentOverride = std::move(locale);
}

} // namespace Foundation
