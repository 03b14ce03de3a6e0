#include "Basalwork/Base/TimeZone.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork {
namespace {

// ICU's zone data is built into the library, so a missing zone means a broken installation.
Foundation::TimeZone known(const char* identifier)
{
    auto zone = Foundation::TimeZone::withIdentifier(identifier);
    if (!zone)
        Foundation::fatalError(std::string("Time zone data lacks ") + identifier);
    return *zone;
}

} // namespace

Foundation::TimeZone TimeZones::gmt()
{
    static const Foundation::TimeZone zone = known("GMT");
    return zone;
}

Foundation::TimeZone TimeZones::utc()
{
    static const Foundation::TimeZone zone = known("UTC");
    return zone;
}

Foundation::TimeZone TimeZones::winnipeg()
{
    static const Foundation::TimeZone zone = known("America/Winnipeg");
    return zone;
}

} // namespace Basalwork
