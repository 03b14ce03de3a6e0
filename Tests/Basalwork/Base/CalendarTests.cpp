#include "Basalwork/Base/Calendar.hpp"
#include "Basalwork/Base/TimeZone.hpp"

#include <gtest/gtest.h>

#include <limits>

using namespace Basalwork;
using Foundation::Calendar;
using Foundation::Date;

TEST(CalendarAdditions, ACalendarInAGivenZone)
{
    auto tokyo = *Foundation::TimeZone::withIdentifier("Asia/Tokyo");
    Calendar calendar = Calendars::withIdentifier(Calendar::Identifier::gregorian, tokyo);
    EXPECT_EQ(calendar.identifier(), Calendar::Identifier::gregorian);
    EXPECT_EQ(calendar.timeZone(), tokyo);
    // 2001-01-01 00:00 UTC is nine in the morning in Tokyo.
    EXPECT_EQ(calendar.dateComponents({Calendar::Component::hour}, Date(0)).hour, 9);
}

TEST(CalendarAdditions, SubtractingIsAddingTheNegatedCount)
{
    Calendar calendar = Calendars::withIdentifier(Calendar::Identifier::gregorian, TimeZones::utc());
    Date now(700'000'000);
    EXPECT_EQ(date(calendar, Calendar::Component::minute, 10, now), now - 600);
    EXPECT_EQ(date(calendar, Calendar::Component::day, -2, now), calendar.date(Calendar::Component::day, 2, now));
    EXPECT_EQ(date(calendar, Calendar::Component::month, 0, now), now);
    EXPECT_EQ(date(calendar, Calendar::Component::second, std::numeric_limits<std::int64_t>::min(), now), std::nullopt);
    EXPECT_EQ(date(calendar, Calendar::Component::year, 10'000'000'000, now), std::nullopt);
}

TEST(TimeZoneAdditions, SharedZonesKeepTheirIdentifiers)
{
    EXPECT_EQ(TimeZones::gmt().identifier(), "GMT");
    EXPECT_EQ(TimeZones::utc().identifier(), "UTC");
    EXPECT_EQ(TimeZones::winnipeg().identifier(), "America/Winnipeg");
    EXPECT_EQ(TimeZones::winnipeg(), *Foundation::TimeZone::withIdentifier("America/Winnipeg"));
}
