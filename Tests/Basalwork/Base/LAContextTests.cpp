#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/LAContext.hpp"

#include "Platform/Foundation/NSError.hpp"
#include "Platform/LocalAuthentication/LAError.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::ErrorPtr;
using Foundation::make;
using LocalAuthentication::LABiometryType;
using LocalAuthentication::LAError;
using LocalAuthentication::LAPolicy;
using Context = LocalAuthentication::LAContext;

namespace {

class LAContextTest : public testing::Test {
protected:
    void TearDown() override { Context::setAuthenticator(std::nullopt); }

    // Every policy answers `canEvaluate`; evaluation replies `evaluation`.
    static void answer(Context::Reply canEvaluate, Context::Reply evaluation = {}, LABiometryType type = LABiometryType::none)
    {
        Context::setAuthenticator(Context::Authenticator {
            type,
            [canEvaluate](LAPolicy) { return canEvaluate; },
            [evaluation](LAPolicy, const Foundation::String&) { return evaluation; },
        });
    }

    // The failure message of a synchronous evaluation.
    static std::string failureMessage()
    {
        try {
            evaluateSynchronously(*make<Context>(), LAPolicy::deviceOwnerAuthenticationWithBiometrics, "Unlock");
        } catch (const GeneralError& error) {
            if (auto failed = error.as<GeneralError::FailedWithMessage>())
                return failed->message.utf8();
        }
        return "(no message)";
    }
};

ErrorPtr laError(LAError::Code code)
{
    return std::make_shared<LAError>(code, "test");
}

} // namespace

TEST_F(LAContextTest, CanEvaluateAnswersFromTheErrorAlone)
{
    answer({false, nullptr});
    auto silentNo = canEvaluate(*make<Context>(), LAPolicy::deviceOwnerAuthenticationWithBiometrics);
    EXPECT_NE(silentNo.as<LAContext::CanEvaluateResult::AbleToEvaluate>(), nullptr);

    answer({true, laError(LAError::Code::passcodeNotSet)}, {}, LABiometryType::faceID);
    auto context = make<Context>();
    EXPECT_NE(canEvaluate(*context, LAPolicy::deviceOwnerAuthentication).as<LAContext::CanEvaluateResult::PasscodeNotSet>(), nullptr);
    EXPECT_FALSE(isFaceIDAvailable(*context));
    EXPECT_FALSE(isTouchIDAvailable(*context));
    EXPECT_FALSE(isAppleWatchAvailable(*context));

    // The same code from another domain is just a failure.
    auto foreign = std::make_shared<Foundation::NSError>("OtherDomain", -5);
    answer({false, foreign});
    auto result = canEvaluate(*make<Context>(), LAPolicy::deviceOwnerAuthentication);
    auto failed = result.as<LAContext::CanEvaluateResult::Failed>();
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->error, foreign);
}

TEST_F(LAContextTest, AvailabilityNeedsAnEvaluablePolicyAndTheMatchingSensor)
{
    answer({true, nullptr}, {}, LABiometryType::faceID);
    auto context = make<Context>();
    EXPECT_TRUE(isFaceIDAvailable(*context));
    EXPECT_FALSE(isTouchIDAvailable(*context));
    EXPECT_TRUE(isAppleWatchAvailable(*context));

    // Nothing is available on a machine nobody has configured.
    Context::setAuthenticator(std::nullopt);
    EXPECT_FALSE(isFaceIDAvailable(*context));
    EXPECT_FALSE(isTouchIDAvailable(*context));
    EXPECT_FALSE(isAppleWatchAvailable(*context));
    EXPECT_NE(canEvaluate(*context, LAPolicy::deviceOwnerAuthenticationWithBiometrics).as<LAContext::CanEvaluateResult::Failed>(), nullptr);
}

TEST_F(LAContextTest, EvaluationRepliesBecomeOneResult)
{
    answer({true, nullptr}, {true, nullptr});
    EXPECT_NO_THROW(evaluateSynchronously(*make<Context>(), LAPolicy::deviceOwnerAuthenticationWithBiometrics, "Unlock"));

    answer({true, nullptr}, {false, laError(LAError::Code::userCancel)});
    try {
        evaluateSynchronously(*make<Context>(), LAPolicy::deviceOwnerAuthenticationWithBiometrics, "Unlock");
        FAIL() << "expected the reply's error";
    } catch (const LAError& error) {
        EXPECT_EQ(error.code(), -2);
    }

    auto odd = laError(LAError::Code::systemCancel);
    answer({true, nullptr}, {true, odd});
    EXPECT_EQ(failureMessage(),
              "LAContext.evaluatePolicy(_) returned unsupported combination of success: true, and error: " + odd->description());

    answer({true, nullptr}, {false, nullptr});
    EXPECT_EQ(failureMessage(), "LAContext.evaluatePolicy(_) returned unsupported combination of success: false, and error: nil");
}
