#pragma once

#include "Platform/AuthenticationServices/ASOneTimeCodeCredential.hpp"
#include "Platform/AuthenticationServices/ASPasswordCredential.hpp"

#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace AuthenticationServices {

// The request's line back to the AutoFill service. A request ends once: the first completion or
// cancellation is the outcome, and every later one is logged and ignored (a double click must not hand
// a credential over twice). The service hears of the outcome on a later turn of the main loop.
class ASCredentialProviderExtensionContext : public Foundation::NSObject {
public:
    struct CompletedWithPassword {
        ASPasswordCredential credential;
        friend bool operator==(const CompletedWithPassword&, const CompletedWithPassword&) = default;
    };
    struct CompletedWithOneTimeCode {
        ASOneTimeCodeCredential credential;
        friend bool operator==(const CompletedWithOneTimeCode&, const CompletedWithOneTimeCode&) = default;
    };
    struct CompletedConfiguration {
        friend bool operator==(const CompletedConfiguration&, const CompletedConfiguration&) = default;
    };
    // Only the error's domain and code reach the service.
    struct Cancelled {
        std::string domain;
        std::int64_t code = 0;
        friend bool operator==(const Cancelled&, const Cancelled&) = default;
    };
    using Outcome = std::variant<CompletedWithPassword, CompletedWithOneTimeCode, CompletedConfiguration, Cancelled>;
    // Told whether the request had expired (never, here).
    using CompletionHandler = std::function<void(bool expired)>;

    void completeRequest(const ASPasswordCredential& credential, CompletionHandler completionHandler);
    void completeOneTimeCodeRequest(const ASOneTimeCodeCredential& credential, CompletionHandler completionHandler);
    void completeExtensionConfigurationRequest();
    void cancelRequest(const Foundation::Error& error);

    const std::optional<Outcome>& outcome() const { return m_outcome; }
    bool hasEnded() const { return m_outcome.has_value(); }
    // How many calls came after the end and were ignored.
    std::int64_t ignoredCallCount() const { return m_ignoredCallCount; }

    // For the service: called once, with the outcome.
    void setOutcomeHandler(std::function<void(const Outcome&)> handler) { m_outcomeHandler = std::move(handler); }

protected:
    friend Foundation::Construct;
    ASCredentialProviderExtensionContext() = default;

private:
    bool end(Outcome outcome, const char* call);

    std::optional<Outcome> m_outcome;
    std::int64_t m_ignoredCallCount = 0;
    std::function<void(const Outcome&)> m_outcomeHandler;
};

} // namespace AuthenticationServices
