#pragma once

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/Result.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/LocalAuthentication/LAContext.hpp"

namespace Basalwork {

// Types the kit adds to the local-authentication context.
struct LAContext {
    class CanEvaluateResult;
};

// Answers from the context's error alone, whatever its yes or no says.
LAContext::CanEvaluateResult canEvaluate(const LocalAuthentication::LAContext& context, LocalAuthentication::LAPolicy policy);
bool isFaceIDAvailable(const LocalAuthentication::LAContext& context);
bool isTouchIDAvailable(const LocalAuthentication::LAContext& context);
bool isAppleWatchAvailable(const LocalAuthentication::LAContext& context);

// Returns at once; the outcome reaches the handler on its queue. A reply that is both a success and an
// error, or neither, is a failure with a message naming the combination.
void evaluate(const LocalAuthentication::LAContext& context, LocalAuthentication::LAPolicy policy, const Foundation::String& reason,
              ResultHandler<Foundation::Result<void>> resultHandler);
// Blocks until the evaluation has ended, without time limit; throws its failure.
void evaluateSynchronously(const LocalAuthentication::LAContext& context, LocalAuthentication::LAPolicy policy,
                           const Foundation::String& reason);

} // namespace Basalwork

#include "Basalwork/Base/LAContext.CanEvaluateResult.hpp"
