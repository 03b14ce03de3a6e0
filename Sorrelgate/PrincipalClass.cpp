// How the AutoFill service finds the extension's principal class: the bundle's entry point names its
// type, and the class registry makes it.
#include "Sorrelgate/CredentialProviderVC.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"

#include <cstring>
#include <typeinfo>

namespace {

const bool registered = [] {
    UIKit::ClassRegistry::registerClass<Sorrelgate::CredentialProviderVC>(Sorrelgate::CredentialProviderVC::className);
    return true;
}();

} // namespace

extern "C" __attribute__((visibility("default"))) const std::type_info* FoundationBundlePrincipalClass(const char* className)
{
    (void)registered;
    if (std::strcmp(className, Sorrelgate::CredentialProviderVC::className) != 0)
        return nullptr;
    return &typeid(Sorrelgate::CredentialProviderVC);
}
