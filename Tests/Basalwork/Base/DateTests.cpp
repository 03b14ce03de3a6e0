#include "Basalwork/Base/Date.hpp"

#include "Platform/Foundation/Calendar.hpp"
#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/Locale.hpp"

#include "Tests/Support/Dates.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <list>
#include <ranges>
#include <vector>

using namespace Basalwork;
using Foundation::Date;

using TestSupport::utc;

namespace {

const Date notANumber(std::nan(""));

// The current calendar is the Gregorian one in New York, where the clocks change; the clock is put back
// where it was.
class DateAdditions : public testing::Test {
protected:
    void SetUp() override
    {
        Foundation::Locale::setCurrent(Foundation::Locale("en_US"));
        Foundation::TimeZone::setCurrent(Foundation::TimeZone::withIdentifier("America/New_York"));
    }
    void TearDown() override
    {
        Foundation::Clock::useManual(m_savedNow);
        Foundation::TimeZone::setCurrent(std::nullopt);
        Foundation::Locale::setCurrent(std::nullopt);
    }
    static void setNow(Date date) { Foundation::Clock::useManual(date.timeIntervalSinceReferenceDate()); }

private:
    double m_savedNow = Foundation::Clock::now();
};

} // namespace

TEST_F(DateAdditions, IntervalNamesTheLargestWholeUnit)
{
    Date start = utc(2023, 6, 1, 12);
    EXPECT_EQ(interval(start, start + 36 * 3600), "1 days");
    EXPECT_EQ(interval(start, start + 90 * 60), "1 hours");
    EXPECT_EQ(interval(start, start + 30), "30 seconds");
    EXPECT_EQ(interval(start, start + 59.9), "59 seconds");
    EXPECT_EQ(interval(start, start), "0 seconds");
    EXPECT_EQ(interval(start, start - 2 * 86400), "-2 days");
    EXPECT_EQ(interval(start, start - 90), "-1 minutes");
}

TEST_F(DateAdditions, MillisecondsSince1970RoundHalvesAwayFromZero)
{
    EXPECT_EQ(millisecondsSince1970(Date::fromTimeIntervalSince1970(0.0015)), 2);
    EXPECT_EQ(millisecondsSince1970(Date::fromTimeIntervalSince1970(-0.0015)), -2);
    EXPECT_EQ(millisecondsSince1970(Date::fromTimeIntervalSince1970(1.0004)), 1000);
    EXPECT_EQ(Dates::withMillisecondsSince1970(1500), Date::fromTimeIntervalSince1970(1.5));
    EXPECT_EQ(Dates::withMillisecondsSince1970(std::int64_t {-1500}), Date::fromTimeIntervalSince1970(-1.5));
    EXPECT_EQ(Dates::withMillisecondsSince1970(2.5), Date::fromTimeIntervalSince1970(0.0025));
    EXPECT_EQ(millisecondsSince1970(Dates::withMillisecondsSince1970(1'700'000'000'123)), 1'700'000'000'123);
}

TEST_F(DateAdditions, MillisecondsSince1970FromTextTakeTheWholeNumber)
{
    EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String("1500")), Date::fromTimeIntervalSince1970(1.5));
    EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String("-1.5e3")), Date::fromTimeIntervalSince1970(-1.5));
    EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String("0x10")), Date::fromTimeIntervalSince1970(0.016));

    for (const char* text : {"", " 1500", "\t1500", "1500 ", "abc", "15abc", "1,5"})
        EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String(text)), std::nullopt) << text;
    EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String(std::string("\0" "1500", 5))), std::nullopt);
    EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String(std::string("15\0" "00", 5))), std::nullopt);
    // Counts that name no moment, or none that milliseconds could give back, are not dates.
    for (const char* text : {"nan", "inf", "-infinity", "1e400", "1e300", "-9.3e18"})
        EXPECT_EQ(Dates::withMillisecondsSince1970(Foundation::String(text)), std::nullopt) << text;
    EXPECT_TRUE(Dates::withMillisecondsSince1970(Foundation::String("9e18")).has_value());
}

TEST(DateAdditionsDeathTest, MillisecondsOfADateBeyondThemStopTheProgram)
{
    EXPECT_DEATH(millisecondsSince1970(notANumber), "Date has no count of milliseconds since 1970");
    EXPECT_DEATH(millisecondsSince1970(Date(1e300)), "Date has no count of milliseconds since 1970");
}

TEST_F(DateAdditions, IsBetweenCountsCalendarDaysFromTheArgument)
{
    Date start = utc(2023, 6, 1, 12);
    EXPECT_TRUE(isBetween(start + 6 * 86400, 0, 7, start));
    EXPECT_FALSE(isBetween(start + 7 * 86400, 0, 7, start));
    EXPECT_TRUE(isBetween(start, 0, 7, start));
    EXPECT_FALSE(isBetween(start - 86400, 0, 7, start));
    EXPECT_TRUE(isBetween(start - 86400, -1, 0, start));
    // No day count for a date the calendar cannot place: it counts as 0.
    EXPECT_TRUE(isBetween(notANumber, 0, 1, start));
    EXPECT_FALSE(isBetween(notANumber, 1, 7, start));
}

TEST_F(DateAdditions, AddingCarriesIntoLargerUnitsAndKeepsTheTimeOfDay)
{
    Date endOfJanuary = utc(2023, 1, 31, 17); // noon in New York
    EXPECT_EQ(addingMonths(endOfJanuary, 1), utc(2023, 2, 28, 17));
    EXPECT_EQ(addingDays(endOfJanuary, 1), utc(2023, 2, 1, 17));
    EXPECT_EQ(addingYears(endOfJanuary, -1), utc(2022, 1, 31, 17));
    EXPECT_EQ(addingMinutes(endOfJanuary, 90), utc(2023, 1, 31, 18, 30));
    EXPECT_EQ(addingSeconds(endOfJanuary, -61), utc(2023, 1, 31, 16, 58, 59));
    // Across the spring change a day keeps noon; 24 hours are elapsed time.
    Date noonBefore = utc(2023, 3, 11, 17);
    EXPECT_EQ(addingDays(noonBefore, 1), utc(2023, 3, 12, 16));
    EXPECT_EQ(addingHours(noonBefore, 24), utc(2023, 3, 12, 17));

    EXPECT_EQ(subtractingMonths(utc(2023, 3, 31, 16), 1), utc(2023, 2, 28, 17));
    EXPECT_EQ(subtractingDays(utc(2023, 3, 12, 16), 1), noonBefore);
    EXPECT_EQ(subtractingYears(endOfJanuary, 1), utc(2022, 1, 31, 17));
    EXPECT_EQ(subtractingHours(endOfJanuary, 1), utc(2023, 1, 31, 16));
    EXPECT_EQ(subtractingMinutes(endOfJanuary, 1), utc(2023, 1, 31, 16, 59));
    EXPECT_EQ(subtractingSeconds(endOfJanuary, 1), utc(2023, 1, 31, 16, 59, 59));
}

TEST_F(DateAdditions, ArithmeticTheCalendarCannotDoLeavesTheDateAlone)
{
    Date date = utc(2023, 1, 31, 17);
    EXPECT_EQ(subtractingDays(date, std::numeric_limits<std::int64_t>::min()), date);
    EXPECT_EQ(addingDays(date, std::numeric_limits<std::int64_t>::max()), date);
    EXPECT_EQ(addingYears(Date(1e300), 1), Date(1e300));
    EXPECT_TRUE(std::isnan(addingMonths(notANumber, 1).timeIntervalSinceReferenceDate()));
    EXPECT_EQ(numberOfDays(notANumber, date), 0);
    EXPECT_EQ(interval(date, notANumber), "0 seconds");
    EXPECT_EQ(monthComponent(notANumber), std::nullopt);
    EXPECT_EQ(yearComponent(Date(1e300)), std::nullopt);
}

TEST_F(DateAdditions, DifferencesCountWholeUnitsTowardZero)
{
    // The spring-forward day: one calendar day, 23 hours.
    Date midnight = utc(2023, 3, 12, 5);
    Date nextMidnight = utc(2023, 3, 13, 4);
    EXPECT_EQ(numberOfDays(midnight, nextMidnight), 1);
    EXPECT_EQ(numberOfHours(midnight, nextMidnight), 23);
    EXPECT_EQ(numberOfDays(nextMidnight, midnight), -1);
    EXPECT_EQ(numberOfMinutes(midnight, midnight + 119.9), 1);
    EXPECT_EQ(numberOfMinutes(midnight, midnight - 119.9), -1);
    EXPECT_EQ(numberOfSeconds(midnight, midnight + 1.999), 1);
    EXPECT_EQ(numberOfHoursAheadOf(nextMidnight, midnight), 23);
    EXPECT_EQ(numberOfHoursAheadOf(midnight, nextMidnight), -23);
}

TEST_F(DateAdditions, DaysFollowTheCurrentTimeZone)
{
    Date lateEvening = utc(2023, 7, 2, 3, 30); // 23:30 on 1 July in New York
    EXPECT_TRUE(isSameDay(lateEvening, utc(2023, 7, 1, 4)));
    EXPECT_FALSE(isSameDay(lateEvening, utc(2023, 7, 2, 4)));
    EXPECT_EQ(startOfDay(lateEvening), utc(2023, 7, 1, 4));
    EXPECT_EQ(monthComponent(lateEvening), 7);
    EXPECT_EQ(yearComponent(utc(2023, 1, 1, 3)), 2022);

    setNow(lateEvening);
    EXPECT_TRUE(isToday(utc(2023, 7, 1, 4, 10)));
    EXPECT_FALSE(isToday(utc(2023, 7, 2, 4, 10)));
    EXPECT_EQ(Dates::startOfToday(), utc(2023, 7, 1, 4));
    EXPECT_DOUBLE_EQ(timeIntervalToNow(lateEvening + 60), 60);
    EXPECT_DOUBLE_EQ(timeIntervalToNow(lateEvening - 60), -60);

    Foundation::TimeZone::setCurrent(Foundation::TimeZone::withIdentifier("Europe/Berlin"));
    EXPECT_FALSE(isToday(utc(2023, 7, 1, 4, 10)));
}

TEST_F(DateAdditions, StartOfCurrentHourStaysInThePassOfARepeatedHour)
{
    setNow(utc(2023, 6, 1, 14, 25, 40) + 0.75);
    EXPECT_EQ(Dates::startOfCurrentHour(), utc(2023, 6, 1, 14));
    // 01:00 to 02:00 happens twice on 5 November 2023, first in daylight time, then in standard time.
    setNow(utc(2023, 11, 5, 5, 30));
    EXPECT_EQ(Dates::startOfCurrentHour(), utc(2023, 11, 5, 5));
    setNow(utc(2023, 11, 5, 6, 30));
    EXPECT_EQ(Dates::startOfCurrentHour(), utc(2023, 11, 5, 6));
    // An hour offset by half an hour starts at half past in UTC.
    Foundation::TimeZone::setCurrent(Foundation::TimeZone::withIdentifier("Asia/Kolkata"));
    setNow(utc(2023, 6, 1, 14, 25));
    EXPECT_EQ(Dates::startOfCurrentHour(), utc(2023, 6, 1, 13, 30));
}

TEST_F(DateAdditions, WithYearTakesOnlyFieldsThatNameAMoment)
{
    auto tokyo = *Foundation::TimeZone::withIdentifier("Asia/Tokyo");
    auto newYork = *Foundation::TimeZone::withIdentifier("America/New_York");
    EXPECT_EQ(Dates::withYear(2023, 7, 1, 12, 30, 15, tokyo), utc(2023, 7, 1, 3, 30, 15));
    EXPECT_EQ(Dates::withYear(2024, 2, 29, 0, 0, 0, newYork), utc(2024, 2, 29, 5));
    // Nothing rolls over: these are not 2 March, next January, the next day or a time after the gap.
    EXPECT_EQ(Dates::withYear(2023, 2, 30, 0, 0, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(2023, 13, 1, 0, 0, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(2023, 6, 1, 24, 0, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(2023, 6, 1, 12, 60, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(2023, 3, 12, 2, 30, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(2023, 0, 1, 0, 0, 0, newYork), std::nullopt);
    EXPECT_EQ(Dates::withYear(5'000'000'000, 1, 1, 0, 0, 0, newYork), std::nullopt);
}

TEST(DateAdditionsMostRecent, IsTheLatestDate)
{
    EXPECT_EQ(mostRecent(std::vector<Date> {}), std::nullopt);
    std::list<Date> dates {Date(5), Date(-3), Date(12), Date(7)};
    EXPECT_EQ(mostRecent(dates), Date(12));
    EXPECT_EQ(mostRecent(dates | std::views::filter([](Date d) { return d < Date(10); })), Date(7));
}
