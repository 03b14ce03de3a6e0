// A plug-in whose principal class answers no message, for the tests of bundle loading.
#include <cstring>
#include <typeinfo>

namespace {

class SilentPrincipal {};

} // namespace

extern "C" __attribute__((visibility("default"))) const std::type_info* FoundationBundlePrincipalClass(const char* className)
{
    return std::strcmp(className, "SilentPrincipal") == 0 ? &typeid(SilentPrincipal) : nullptr;
}
