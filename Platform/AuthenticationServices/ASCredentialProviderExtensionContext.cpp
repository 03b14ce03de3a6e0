#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"

namespace AuthenticationServices {

namespace {

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("AuthenticationServices", "ASCredentialProviderExtensionContext");
    return logger;
}

} // namespace

bool ASCredentialProviderExtensionContext::end(Outcome outcome, const char* call)
{
    if (m_outcome) {
        ++m_ignoredCallCount;
        logger().error("%{public}s after the request ended: ignored", call);
        return false;
    }
    m_outcome = std::move(outcome);
    if (auto handler = std::move(m_outcomeHandler))
        Foundation::DispatchQueue::main()->async([handler, outcome = *m_outcome] { handler(outcome); });
    return true;
}

void ASCredentialProviderExtensionContext::completeRequest(const ASPasswordCredential& credential, CompletionHandler completionHandler)
{
    if (end(CompletedWithPassword {credential}, "completeRequest(withSelectedCredential:)") && completionHandler)
        Foundation::DispatchQueue::main()->async([completionHandler] { completionHandler(false); });
}

void ASCredentialProviderExtensionContext::completeOneTimeCodeRequest(const ASOneTimeCodeCredential& credential, CompletionHandler completionHandler)
{
    if (end(CompletedWithOneTimeCode {credential}, "completeOneTimeCodeRequest(withSelectedCredential:)") && completionHandler)
        Foundation::DispatchQueue::main()->async([completionHandler] { completionHandler(false); });
}

void ASCredentialProviderExtensionContext::completeExtensionConfigurationRequest()
{
    end(CompletedConfiguration {}, "completeExtensionConfigurationRequest()");
}

void ASCredentialProviderExtensionContext::cancelRequest(const Foundation::Error& error)
{
    end(Cancelled {error.domain(), error.code()}, "cancelRequest(withError:)");
}

} // namespace AuthenticationServices
