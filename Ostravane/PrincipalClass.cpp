// How the bundle loader finds the plug-in's principal class by the name its information names.
#include "Ostravane/AppKitPrincipal.hpp"

#include <cstring>
#include <typeinfo>

extern "C" __attribute__((visibility("default"))) const std::type_info* FoundationBundlePrincipalClass(const char* className)
{
    return className && std::strcmp(className, "AppKitPrincipal") == 0 ? &typeid(Ostravane::AppKitPrincipal) : nullptr;
}
