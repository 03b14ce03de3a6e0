#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/DateComponents.hpp"
#include "Platform/Foundation/Locale.hpp"

#include "Tests/Support/Dates.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace Foundation;
using Component = Calendar::Component;

using TestSupport::utc;

namespace {

Calendar gregorian(const char* zone)
{
    Calendar calendar(Calendar::Identifier::gregorian);
    calendar.setTimeZone(*TimeZone::withIdentifier(zone));
    return calendar;
}

const std::set<Component> allComponents {Component::year, Component::month, Component::day,
                                         Component::hour, Component::minute, Component::second};

DateComponents fields(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour, std::int64_t minute, std::int64_t second)
{
    return DateComponents {std::nullopt, year, month, day, hour, minute, second};
}

} // namespace

TEST(Calendar, ReadsFieldsInItsTimeZone)
{
    Date date = utc(2023, 1, 1, 3, 30, 15);
    EXPECT_EQ(gregorian("UTC").dateComponents(allComponents, date), fields(2023, 1, 1, 3, 30, 15));
    EXPECT_EQ(gregorian("America/New_York").dateComponents(allComponents, date), fields(2022, 12, 31, 22, 30, 15));
    EXPECT_EQ(gregorian("Asia/Kolkata").dateComponents({Component::hour, Component::minute}, date).minute, 0);

    DateComponents onlyMonth = gregorian("UTC").dateComponents({Component::month}, date);
    EXPECT_EQ(onlyMonth.month, 1);
    EXPECT_EQ(onlyMonth.year, std::nullopt);
}

TEST(Calendar, BuildsDatesFromFieldsLenientlyAndInTheirTimeZone)
{
    Calendar calendar = gregorian("America/New_York");
    EXPECT_EQ(calendar.date(fields(2023, 7, 1, 12, 0, 0)), utc(2023, 7, 1, 16));
    EXPECT_EQ(calendar.date(fields(2023, 13, 1, 0, 0, 0)), calendar.date(fields(2024, 1, 1, 0, 0, 0)));
    EXPECT_EQ(calendar.date(fields(2023, 2, 30, 0, 0, 0)), calendar.date(fields(2023, 3, 2, 0, 0, 0)));

    DateComponents inTokyo = fields(2023, 7, 1, 12, 0, 0);
    inTokyo.timeZone = TimeZone::withIdentifier("Asia/Tokyo");
    EXPECT_EQ(calendar.date(inTokyo), utc(2023, 7, 1, 3));

    EXPECT_EQ(calendar.date(fields(5'000'000'000, 1, 1, 0, 0, 0)), std::nullopt);
}

TEST(Calendar, AddsCalendarUnitsByTheCalendarAndClockUnitsAsElapsedTime)
{
    Calendar calendar = gregorian("America/New_York");
    // 31 January plus a month pins to the end of February.
    EXPECT_EQ(calendar.date(Component::month, 1, utc(2023, 1, 31, 17)), utc(2023, 2, 28, 17));
    EXPECT_EQ(calendar.date(Component::year, 1, utc(2024, 2, 29, 17)), utc(2025, 2, 28, 17));
    // A day across the spring change keeps noon; 24 hours do not.
    Date noonBefore = utc(2023, 3, 11, 17);
    EXPECT_EQ(calendar.date(Component::day, 1, noonBefore), utc(2023, 3, 12, 16));
    EXPECT_EQ(calendar.date(Component::hour, 24, noonBefore), utc(2023, 3, 12, 17));
    EXPECT_EQ(calendar.date(Component::day, -1, utc(2023, 3, 12, 16)), noonBefore);
    // Counts beyond 32 bits, and parts of a millisecond, survive.
    EXPECT_EQ(calendar.date(Component::second, 3'000'000'000, utc(2000, 1, 1)), utc(2000, 1, 1) + 3'000'000'000.0);
    Date withFraction = utc(2023, 1, 15) + 0.0004;
    EXPECT_NEAR(calendar.date(Component::month, 1, withFraction)->timeIntervalSince(utc(2023, 2, 15)), 0.0004, 1e-6);

    EXPECT_EQ(calendar.date(Component::day, 5'000'000'000, noonBefore), std::nullopt);
    EXPECT_EQ(calendar.date(Component::day, 1, Date(std::nan(""))), std::nullopt);
}

TEST(Calendar, CountsDifferencesInWholeUnitsTowardZero)
{
    Calendar calendar = gregorian("America/New_York");
    // The spring-forward day is one day long in the calendar, 23 hours on the clock.
    Date midnight = utc(2023, 3, 12, 5);
    Date nextMidnight = utc(2023, 3, 13, 4);
    EXPECT_EQ(calendar.dateComponents({Component::day}, midnight, nextMidnight).day, 1);
    EXPECT_EQ(calendar.dateComponents({Component::hour}, midnight, nextMidnight).hour, 23);
    EXPECT_EQ(calendar.dateComponents({Component::day}, nextMidnight, midnight).day, -1);
    EXPECT_EQ(calendar.dateComponents({Component::day}, midnight, nextMidnight - 1).day, 0);
    EXPECT_EQ(calendar.dateComponents({Component::minute}, midnight, midnight - 90).minute, -1);

    DateComponents mixed = calendar.dateComponents({Component::day, Component::hour, Component::minute}, utc(2023, 6, 1), utc(2023, 6, 2, 2, 30));
    EXPECT_EQ(mixed.day, 1);
    EXPECT_EQ(mixed.hour, 2);
    EXPECT_EQ(mixed.minute, 30);

    // A century of seconds does not fit in 32 bits.
    EXPECT_EQ(calendar.dateComponents({Component::second}, utc(1950, 1, 1), utc(2050, 1, 1)).second, 3'155'760'000);
}

TEST(Calendar, StartsTheDayAtItsFirstMoment)
{
    EXPECT_EQ(gregorian("America/New_York").startOfDay(utc(2023, 7, 1, 3)), utc(2023, 6, 30, 4));
    // São Paulo skipped midnight on 4 November 2018: the day began at 01:00, three hours behind UTC.
    EXPECT_EQ(gregorian("America/Sao_Paulo").startOfDay(utc(2018, 11, 4, 15)), utc(2018, 11, 4, 3));

    Calendar calendar = gregorian("UTC");
    EXPECT_TRUE(calendar.isDate(utc(2023, 7, 1, 0, 0, 1), utc(2023, 7, 1, 23, 59, 59)));
    EXPECT_FALSE(calendar.isDate(utc(2023, 7, 1, 23, 59, 59), utc(2023, 7, 2)));
    EXPECT_FALSE(gregorian("America/New_York").isDate(utc(2023, 7, 1, 3), utc(2023, 7, 1, 5)));
}

TEST(Calendar, LeavesDatesItCannotPlaceAlone)
{
    Calendar calendar = gregorian("UTC");
    for (Date date : {Date(std::nan("")), Date(1e300), Date(-INFINITY)}) {
        EXPECT_EQ(calendar.dateComponents(allComponents, date), DateComponents {});
        EXPECT_EQ(calendar.dateComponents({Component::day}, utc(2023, 1, 1), date), DateComponents {});
        EXPECT_FALSE(calendar.isDate(date, date));
    }
    EXPECT_EQ(calendar.startOfDay(Date(1e300)), Date(1e300));
}

TEST(Calendar, CurrentFollowsTheProcessSettings)
{
    TimeZone::setCurrent(TimeZone::withIdentifier("Europe/Berlin"));
    Locale::setCurrent(Locale("th_TH@calendar=buddhist"));
    Calendar buddhist = Calendar::current();
    EXPECT_EQ(buddhist.identifier(), Calendar::Identifier::buddhist);
    EXPECT_EQ(buddhist.timeZone().identifier(), "Europe/Berlin");
    EXPECT_EQ(buddhist.dateComponents({Component::year}, utc(2023, 6, 1)).year, 2566);

    Locale::setCurrent(Locale("en_US"));
    EXPECT_EQ(Calendar::current().identifier(), Calendar::Identifier::gregorian);

    Calendar::setCurrent(gregorian("Asia/Tokyo"));
    EXPECT_EQ(Calendar::current().timeZone().identifier(), "Asia/Tokyo");

    Calendar::setCurrent(std::nullopt);
    Locale::setCurrent(std::nullopt);
    TimeZone::setCurrent(std::nullopt);
}
