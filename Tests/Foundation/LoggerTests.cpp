#include "Platform/Foundation/Logger.hpp"

#include <gtest/gtest.h>
#include <vector>

using namespace Foundation;

TEST(Logger, FormatsDirectivesWithArgumentsInOrder)
{
    EXPECT_EQ(Logger::formatLogMessage("Saved %{public}@ in %{public}@ (%ld items, 100%%)", {"a", "b", "3"}),
              "Saved a in b (3 items, 100%)");
    // Objects are private unless marked public; scalars are public unless marked private.
    EXPECT_EQ(Logger::formatLogMessage("%@ %d %{private}d", {"secret", "4", "5"}), "<private> 4 <private>");
    EXPECT_EQ(Logger::formatLogMessage("Password %{private}@ for %{public}@", {"hunter2", "mail"}),
              "Password <private> for mail");
    // Missing arguments print as nothing rather than reading past the list.
    EXPECT_EQ(Logger::formatLogMessage("%{public}@ and %{public}@", {"one"}), "one and ");
    EXPECT_EQ(Logger::formatLogMessage("trailing %", {}), "trailing %");
}

TEST(Logger, EveryFormOfATextOrObjectArgumentIsRedactedUnlessMarkedPublic)
{
    for (const char* format : {"%@", "%s", "%20@", "%-@", "%.40@", "%1$@", "%-20.3s", "%*s", "%.*@", "%{private}20@", "%ls"}) {
        auto message = Logger::formatLogMessage(format, {"9", "hunter2"});
        EXPECT_EQ(message.find("hunter2"), std::string::npos) << format;
        EXPECT_NE(message.find("<private>"), std::string::npos) << format;
    }
    // Marked public, width, precision and position apply as in printf.
    EXPECT_EQ(Logger::formatLogMessage("[%{public}8@][%{public}-4s][%{public}.3@]", {"abc", "de", "fghij"}),
              "[     abc][de  ][fgh]");
    EXPECT_EQ(Logger::formatLogMessage("%{public}2$@ before %{public}1$@", {"one", "two"}), "two before one");
    EXPECT_EQ(Logger::formatLogMessage("%05d|%-3d|%x", {"-42", "7", "ff"}), "-0042|7  |ff");
    EXPECT_EQ(Logger::formatLogMessage("%{public}.2@", {"\u00e9t\u00e9"}), "\u00e9");
}

TEST(Logger, CaptureSinkReceivesEveryRecordWithItsCategory)
{
    std::vector<LogRecord> records;
    auto previous = Logger::setCaptureSink([&](const LogRecord& record) { records.push_back(record); });
    Logger logger("Basalwork", "CellHeight");
    logger.debug("height %{public}@ for %{public}@", 44.5, String("row"));
    logger.error("failed: %{public}@ with %@", std::string("disk full"), std::string("secret"));
    Logger::setCaptureSink(previous);

    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].category, "CellHeight");
    EXPECT_EQ(records[0].type, OSLogType::debug);
    EXPECT_EQ(records[0].message, "height 44.5 for row");
    EXPECT_EQ(records[1].type, OSLogType::error);
    EXPECT_EQ(records[1].message, "failed: disk full with <private>");
    EXPECT_EQ(records[1].unredactedMessage, "failed: disk full with secret");
}
