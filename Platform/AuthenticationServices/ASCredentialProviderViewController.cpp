#include "Platform/AuthenticationServices/ASCredentialProviderViewController.hpp"

namespace AuthenticationServices {

void ASCredentialProviderViewController::prepareCredentialList(const std::vector<ASCredentialServiceIdentifier>&) {}
void ASCredentialProviderViewController::prepareInterfaceToProvideCredential(const ASPasswordCredentialIdentity&) {}
void ASCredentialProviderViewController::prepareInterfaceToProvideCredential(const ASCredentialRequest&) {}
void ASCredentialProviderViewController::provideCredentialWithoutUserInteraction(const ASPasswordCredentialIdentity&) {}
void ASCredentialProviderViewController::provideCredentialWithoutUserInteraction(const ASCredentialRequest&) {}
void ASCredentialProviderViewController::prepareInterfaceForExtensionConfiguration() {}

} // namespace AuthenticationServices
