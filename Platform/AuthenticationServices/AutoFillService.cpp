#include "Platform/AuthenticationServices/AutoFillService.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/AuthenticationServices/ASCredentialProviderViewController.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>

namespace AuthenticationServices {

namespace {

using Foundation::String;

struct PrintedOutcome {
    String request;
    String outcome;
    std::optional<String> user;
    std::optional<String> service;
    std::optional<String> password;
    std::optional<String> code;
    std::optional<String> errorDomain;
    std::optional<std::int64_t> errorCode;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(request, "request");
        container.encode(outcome, "outcome");
        container.encodeIfPresent(user, "user");
        container.encodeIfPresent(service, "service");
        container.encodeIfPresent(password, "password");
        container.encodeIfPresent(code, "code");
        container.encodeIfPresent(errorDomain, "errorDomain");
        container.encodeIfPresent(errorCode, "errorCode");
    }
};

const char* requestName(AutoFillRequest::Kind kind)
{
    switch (kind) {
    case AutoFillRequest::Kind::list:
        return "list";
    case AutoFillRequest::Kind::provide:
        return "provide";
    case AutoFillRequest::Kind::provideWithoutUserInteraction:
        return "provide-without-user-interaction";
    case AutoFillRequest::Kind::configure:
        return "configure";
    case AutoFillRequest::Kind::disable:
        return "disable";
    }
    return "";
}

} // namespace

AutoFillService::AutoFillService(AutoFillRequest request)
    : m_request(std::move(request))
{
}

std::shared_ptr<Foundation::Bundle> AutoFillService::openExtension(const std::string& path)
{
    auto bundle = Foundation::Bundle::atPath(path);
    if (!bundle || !bundle->infoDictionary())
        throw LoadFailure("no extension bundle at " + path);
    if (applicationGroup(*bundle).isEmpty())
        throw LoadFailure("the extension at " + path + " belongs to no application group");
    // The extension runs as itself: its identifier, its groups, its caches.
    Foundation::Bundle::setMain(bundle);
    return bundle;
}

Foundation::String AutoFillService::applicationGroup(const Foundation::Bundle& bundle)
{
    auto groups = bundle.object(String("com.apple.security.application-groups"));
    const auto* array = groups ? groups->array() : nullptr;
    if (!array || array->empty())
        return {};
    return array->front().as<String>().value_or(String());
}

std::shared_ptr<ASCredentialProviderViewController> AutoFillService::makeProvider(Foundation::Bundle& bundle)
{
    auto principalClass = bundle.principalClass();
    if (!principalClass)
        throw LoadFailure("the extension's code does not load or names no principal class");
    auto name = UIKit::ClassRegistry::name(principalClass->type());
    auto entry = name ? UIKit::ClassRegistry::classNamed(*name) : std::nullopt;
    auto object = entry && entry->make ? entry->make() : nullptr;
    auto provider = std::dynamic_pointer_cast<ASCredentialProviderViewController>(object);
    if (!provider)
        throw LoadFailure("the extension's principal class is no credential provider");
    return provider;
}

void AutoFillService::start(const std::shared_ptr<UIKit::UIWindowScene>& scene, std::function<void()> ended)
{
    auto bundle = openExtension(m_request.extensionPath);
    m_applicationGroup = applicationGroup(*bundle);
    auto finish = [this, ended = std::move(ended)] {
        m_hasEnded = true;
        if (ended)
            ended();
    };
    if (m_request.kind == AutoFillRequest::Kind::disable || m_request.kind == AutoFillRequest::Kind::configure) {
        try {
            ASCredentialIdentityStore(m_applicationGroup).setEnabled(m_request.kind == AutoFillRequest::Kind::configure);
        } catch (const Foundation::Error& error) {
            throw LoadFailure("the AutoFill state cannot be written: " + error.localizedDescription());
        }
        if (m_request.kind == AutoFillRequest::Kind::disable) {
            Foundation::DispatchQueue::main()->async(finish);
            return;
        }
    }
    if (m_request.kind == AutoFillRequest::Kind::provide || m_request.kind == AutoFillRequest::Kind::provideWithoutUserInteraction)
        m_identity = identity();

    m_provider = makeProvider(*bundle);
    m_context = Foundation::make<ASCredentialProviderExtensionContext>();
    m_context->setOutcomeHandler([finish](const Outcome&) { finish(); });
    m_provider->setExtensionContext(m_context);
    m_window = Foundation::make<UIKit::UIWindow>(scene);
    m_window->setRootViewController(m_provider);
    // The view exists before any entry point runs.
    m_provider->view();
    callEntryPoint();
    m_window->makeKeyAndVisible();
}

ASPasswordCredentialIdentity AutoFillService::identity() const
{
    // As the user picked it from the service's list; a record the list does not know still reaches the
    // extension, which answers for it.
    std::vector<ASPasswordCredentialIdentity> identities;
    Foundation::catchError([&] { identities = ASCredentialIdentityStore(m_applicationGroup).credentialIdentities(); });
    auto found = std::ranges::find_if(identities, [&](const auto& identity) { return identity.recordIdentifier == m_request.recordIdentifier; });
    ASPasswordCredentialIdentity identity = found != identities.end()
        ? *found
        : ASPasswordCredentialIdentity {ASCredentialServiceIdentifier(String(), ASCredentialServiceIdentifierType::domain), String(), m_request.recordIdentifier};
    if (m_request.service)
        identity.serviceIdentifier = *m_request.service;
    return identity;
}

void AutoFillService::callEntryPoint()
{
    switch (m_request.kind) {
    case AutoFillRequest::Kind::list:
        m_provider->prepareCredentialList(m_request.serviceIdentifiers);
        break;
    case AutoFillRequest::Kind::provide:
        if (m_request.asksForOneTimeCode)
            m_provider->prepareInterfaceToProvideCredential(ASCredentialRequest(ASCredentialRequestType::oneTimeCode, *m_identity));
        else
            m_provider->prepareInterfaceToProvideCredential(*m_identity);
        break;
    case AutoFillRequest::Kind::provideWithoutUserInteraction:
        if (m_request.asksForOneTimeCode)
            m_provider->provideCredentialWithoutUserInteraction(ASCredentialRequest(ASCredentialRequestType::oneTimeCode, *m_identity));
        else
            m_provider->provideCredentialWithoutUserInteraction(*m_identity);
        break;
    case AutoFillRequest::Kind::configure:
        m_provider->prepareInterfaceForExtensionConfiguration();
        break;
    case AutoFillRequest::Kind::disable:
        break;
    }
}

const std::optional<AutoFillService::Outcome>& AutoFillService::outcome() const
{
    static const std::optional<Outcome> none;
    return m_context ? m_context->outcome() : none;
}

std::optional<String> AutoFillService::secret() const
{
    const auto& outcome = this->outcome();
    if (!outcome)
        return std::nullopt;
    if (const auto* password = std::get_if<ASCredentialProviderExtensionContext::CompletedWithPassword>(&*outcome))
        return password->credential.password;
    if (const auto* code = std::get_if<ASCredentialProviderExtensionContext::CompletedWithOneTimeCode>(&*outcome))
        return code->credential.code;
    return std::nullopt;
}

std::string AutoFillService::outcomeJSON() const
{
    PrintedOutcome printed;
    printed.request = String(requestName(m_request.kind));
    printed.outcome = String("completed");
    if (!m_request.serviceIdentifiers.empty())
        printed.service = m_request.serviceIdentifiers.front().identifier();
    else if (m_identity && !m_identity->serviceIdentifier.identifier().isEmpty())
        printed.service = m_identity->serviceIdentifier.identifier();
    const auto& outcome = this->outcome();
    if (!outcome && m_request.kind != AutoFillRequest::Kind::disable) {
        printed.outcome = String("unfinished");
    } else if (outcome) {
        std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, ASCredentialProviderExtensionContext::CompletedWithPassword>) {
                    printed.user = value.credential.user;
                    if (m_request.printsSecret)
                        printed.password = value.credential.password;
                } else if constexpr (std::is_same_v<T, ASCredentialProviderExtensionContext::CompletedWithOneTimeCode>) {
                    if (m_request.printsSecret)
                        printed.code = value.credential.code;
                } else if constexpr (std::is_same_v<T, ASCredentialProviderExtensionContext::Cancelled>) {
                    printed.outcome = String("cancelled");
                    printed.errorDomain = String(value.domain);
                    printed.errorCode = value.code;
                }
            },
            *outcome);
    }
    auto encoder = Foundation::make<Foundation::JSONEncoder>();
    encoder->setOutputFormatting(Foundation::JSONEncoder::OutputFormatting::withoutEscapingSlashes);
    return std::string(encoder->encode(printed).view());
}

int AutoFillService::exitStatus() const
{
    const auto& outcome = this->outcome();
    if (!outcome)
        return m_request.kind == AutoFillRequest::Kind::disable && m_hasEnded ? 0 : 1;
    return std::holds_alternative<ASCredentialProviderExtensionContext::Cancelled>(*outcome) ? 1 : 0;
}

} // namespace AuthenticationServices
