#include "Basalwork/Base/LAContext.hpp"

#include "Basalwork/Base/Error.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/LocalAuthentication/LAError.hpp"

#include <optional>

namespace Basalwork {

using LocalAuthentication::LABiometryType;
using LocalAuthentication::LAPolicy;

namespace {

bool biometryAvailable(const LocalAuthentication::LAContext& context, LABiometryType type)
{
    return canEvaluate(context, LAPolicy::deviceOwnerAuthenticationWithBiometrics).as<LAContext::CanEvaluateResult::AbleToEvaluate>()
        && context.biometryType() == type;
}

Foundation::Result<void> resultOfReply(bool success, const Foundation::ErrorPtr& error)
{
    if (success && !error)
        return Foundation::Result<void>::success();
    if (!success && error)
        return Foundation::Result<void>::failure(error);
    return Foundation::Result<void>::failure(GeneralError::failedWithMessage(
        "LAContext.evaluatePolicy(_) returned unsupported combination of success: " + std::string(success ? "true" : "false")
        + ", and error: " + nonOptionalDescription(error)));
}

} // namespace

LAContext::CanEvaluateResult canEvaluate(const LocalAuthentication::LAContext& context, LAPolicy policy)
{
    Foundation::ErrorPtr error;
    context.canEvaluatePolicy(policy, &error);
    if (!error)
        return LAContext::CanEvaluateResult::ableToEvaluate();
    if (error->domain() == LocalAuthentication::LAErrorDomain
        && error->code() == static_cast<std::int64_t>(LocalAuthentication::LAError::Code::passcodeNotSet))
        return LAContext::CanEvaluateResult::passcodeNotSet();
    return LAContext::CanEvaluateResult::failed(std::move(error));
}

bool isFaceIDAvailable(const LocalAuthentication::LAContext& context)
{
    return biometryAvailable(context, LABiometryType::faceID);
}

bool isTouchIDAvailable(const LocalAuthentication::LAContext& context)
{
    return biometryAvailable(context, LABiometryType::touchID);
}

bool isAppleWatchAvailable(const LocalAuthentication::LAContext& context)
{
    return canEvaluate(context, LAPolicy::deviceOwnerAuthenticationWithWatch).as<LAContext::CanEvaluateResult::AbleToEvaluate>() != nullptr;
}

void evaluate(const LocalAuthentication::LAContext& context, LAPolicy policy, const Foundation::String& reason,
              ResultHandler<Foundation::Result<void>> resultHandler)
{
    context.evaluatePolicy(policy, reason, [resultHandler = std::move(resultHandler)](bool success, Foundation::ErrorPtr error) {
        resultHandler.invokeAsynchronously(resultOfReply(success, error));
    });
}

void evaluateSynchronously(const LocalAuthentication::LAContext& context, LAPolicy policy, const Foundation::String& reason)
{
    auto semaphore = Foundation::make<Foundation::DispatchSemaphore>(0);
    // Written before the signal and read after the wait, so the semaphore orders the two.
    auto outcome = std::make_shared<std::optional<Foundation::Result<void>>>();
    auto store = [semaphore, outcome](Foundation::Result<void> result) {
        outcome->emplace(std::move(result));
        semaphore->signal();
    };
    evaluate(context, policy, reason, ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::global(), store));
    semaphore->wait();
    outcome->value().get();
}

} // namespace Basalwork
