#include "Tests/Support/LayoutConflicts.hpp"

#include "Platform/Foundation/Logger.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <string_view>

namespace TestSupport {
namespace {

std::atomic<int> g_expected {0};

constexpr std::string_view conflictReport = "Unable to simultaneously satisfy constraints.";

class Watch : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        Foundation::Logger::setCaptureSink([](const Foundation::LogRecord& record) {
            if (g_expected.load() == 0 && record.message.find(conflictReport) != std::string::npos)
                ADD_FAILURE() << "The layout refused a constraint:\n" << record.message;
        });
    }
    void OnTestEnd(const testing::TestInfo&) override { Foundation::Logger::setCaptureSink({}); }
};

} // namespace

ExpectedLayoutConflicts::ExpectedLayoutConflicts()
{
    ++g_expected;
}

ExpectedLayoutConflicts::~ExpectedLayoutConflicts()
{
    --g_expected;
}

void watchLayoutConflicts()
{
    testing::UnitTest::GetInstance()->listeners().Append(new Watch);
}

} // namespace TestSupport
