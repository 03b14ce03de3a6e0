#include "Platform/LocalAuthentication/LAContext.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/LocalAuthentication/LAError.hpp"

#include <memory>
#include <mutex>

namespace LocalAuthentication {
namespace {

LAContext::Reply unavailableReply(LAPolicy policy)
{
    switch (policy) {
    case LAPolicy::deviceOwnerAuthentication:
        return {false, std::make_shared<LAError>(LAError::Code::passcodeNotSet, "Passcode not set.")};
    case LAPolicy::deviceOwnerAuthenticationWithWatch:
        return {false, std::make_shared<LAError>(LAError::Code::watchNotAvailable, "No paired watch is available.")};
    case LAPolicy::deviceOwnerAuthenticationWithBiometrics:
    case LAPolicy::deviceOwnerAuthenticationWithBiometricsOrWatch:
        break;
    }
    return {false, std::make_shared<LAError>(LAError::Code::biometryNotAvailable, "Biometry is not available on this device.")};
}

struct State {
    std::mutex mutex;
    LAContext::Authenticator authenticator = LAContext::Authenticator::unavailable();
};

State& state()
{
    static auto* instance = new State;
    return *instance;
}

LAContext::Authenticator currentAuthenticator()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.authenticator;
}

const std::shared_ptr<Foundation::DispatchQueue>& replyQueue()
{
    static auto* queue = new std::shared_ptr<Foundation::DispatchQueue>(Foundation::DispatchQueue::create("LAContext.reply"));
    return *queue;
}

} // namespace

LAContext::Authenticator LAContext::Authenticator::unavailable()
{
    return {LABiometryType::none, unavailableReply, [](LAPolicy policy, const Foundation::String&) { return unavailableReply(policy); }};
}

void LAContext::setAuthenticator(std::optional<Authenticator> authenticator)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.authenticator = authenticator.value_or(Authenticator::unavailable());
}

bool LAContext::canEvaluatePolicy(LAPolicy policy, Foundation::ErrorPtr* error) const
{
    auto authenticator = currentAuthenticator();
    Reply reply = authenticator.canEvaluatePolicy ? authenticator.canEvaluatePolicy(policy) : unavailableReply(policy);
    if (error)
        *error = reply.error;
    return reply.success;
}

LABiometryType LAContext::biometryType() const
{
    return currentAuthenticator().biometryType;
}

void LAContext::evaluatePolicy(LAPolicy policy, const Foundation::String& localizedReason,
                               std::function<void(bool success, Foundation::ErrorPtr error)> reply) const
{
    auto authenticator = currentAuthenticator();
    replyQueue()->async([authenticator = std::move(authenticator), policy, localizedReason, reply = std::move(reply)] {
        Reply answer = authenticator.evaluatePolicy ? authenticator.evaluatePolicy(policy, localizedReason) : unavailableReply(policy);
        reply(answer.success, answer.error);
    });
}

} // namespace LocalAuthentication
