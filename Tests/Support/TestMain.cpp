#include "Tests/Support/LayoutConflicts.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <cstdlib>
#include <gtest/gtest.h>

// Every test process runs on the manual clock, with its home and XDG folders inside a temporary folder,
// keeps the log off standard error unless CORVENDALE_LOG_LEVEL asks for it, and fails a test whose screens
// make the layout refuse a constraint.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Foundation::Clock::useManual(TestSupport::referenceTestDate);
    if (!std::getenv("CORVENDALE_LOG_LEVEL"))
        Foundation::Logger::setMinimumLevelForStandardError(std::nullopt);
    TestSupport::watchLayoutConflicts();
    TestSupport::TemporaryHome home;
    return RUN_ALL_TESTS();
}
