#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/Result.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace Foundation;

namespace {

struct SampleError : ErrorOf<SampleError> {
    explicit SampleError(int value)
        : value(value)
    {
    }
    std::string domain() const override { return "Tests.SampleError"; }
    std::int64_t code() const override { return value; }
    std::string description() const override { return "sample(" + std::to_string(value) + ")"; }
    int value;
};

} // namespace

TEST(Result, KeepsTheConcreteErrorTypeThroughCopies)
{
    auto failure = Result<int>::failure(SampleError(3));
    auto copy = failure;
    EXPECT_TRUE(copy.isFailure());
    EXPECT_EQ(copy.successValue(), nullptr);
    try {
        copy.get();
        FAIL();
    } catch (const SampleError& error) {
        EXPECT_EQ(error.value, 3);
    }
}

TEST(Result, CatchingCapturesValuesAndErrors)
{
    EXPECT_EQ(Result<int>::catching([] { return 5; }).get(), 5);
    auto thrown = Result<void>::catching([] { throw SampleError(9); });
    ASSERT_TRUE(thrown.isFailure());
    EXPECT_EQ(thrown.failureError()->code(), 9);
    // Exceptions that are not errors of ours still arrive as errors.
    auto foreign = Result<int>::catching([]() -> int { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(foreign.failureError()->domain(), "Foundation.CxxException");
    EXPECT_NE(foreign.failureError()->description().find("disk on fire"), std::string::npos);
}

TEST(NSError, DescribesDomainCodeAndUserInfo)
{
    NSError error(NSCocoaErrorDomain, 4, {{NSFilePathErrorKey, "/tmp/x"}},
                  std::make_shared<NSError>(NSPOSIXErrorDomain, 2));
    auto text = error.description();
    EXPECT_EQ(text.rfind("Error Domain=NSCocoaErrorDomain Code=4 ", 0), 0u) << text;
    EXPECT_NE(text.find("NSFilePath=/tmp/x"), std::string::npos);
    EXPECT_NE(text.find("NSUnderlyingError=Error Domain=NSPOSIXErrorDomain Code=2"), std::string::npos);
    EXPECT_STREQ(error.what(), text.c_str());
}

TEST(FatalErrorDeathTest, PrintsTheMessageAndStops)
{
    EXPECT_DEATH(fatalError("init(coder:) has not been implemented"), "Fatal error: init\\(coder:\\) has not been implemented");
    EXPECT_DEATH(precondition(false, "broken invariant"), "broken invariant");
}
