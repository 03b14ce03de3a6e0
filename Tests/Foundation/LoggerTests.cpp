#include "Platform/Foundation/Logger.hpp"

#include <gtest/gtest.h>
#include <vector>

using namespace Foundation;

TEST(Logger, FormatsDirectivesWithArgumentsInOrder)
{
    EXPECT_EQ(Logger::formatLogMessage("Saved %{public}@ in %@ (%ld items, 100%%)", {"a", "b", "3"}),
              "Saved a in b (3 items, 100%)");
    EXPECT_EQ(Logger::formatLogMessage("Password %{private}@ for %{public}@", {"hunter2", "mail"}),
              "Password <private> for mail");
    // Missing arguments print as nothing rather than reading past the list.
    EXPECT_EQ(Logger::formatLogMessage("%@ and %@", {"one"}), "one and ");
    EXPECT_EQ(Logger::formatLogMessage("trailing %", {}), "trailing %");
}

TEST(Logger, CaptureSinkReceivesEveryRecordWithItsCategory)
{
    std::vector<LogRecord> records;
    auto previous = Logger::setCaptureSink([&](const LogRecord& record) { records.push_back(record); });
    Logger logger("Basalwork", "CellHeight");
    logger.debug("height %{public}@ for %@", 44.5, String("row"));
    logger.error("failed: %{public}@", std::string("disk full"));
    Logger::setCaptureSink(previous);

    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].category, "CellHeight");
    EXPECT_EQ(records[0].type, OSLogType::debug);
    EXPECT_EQ(records[0].message, "height 44.5 for row");
    EXPECT_EQ(records[1].type, OSLogType::error);
    EXPECT_EQ(records[1].message, "failed: disk full");
}
