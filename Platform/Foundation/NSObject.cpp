#include "Platform/Foundation/NSObject.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <string_view>
#include <typeinfo>

namespace Foundation {

std::string demangledTypeName(const char* mangled, bool qualified)
{
    int status = 0;
    char* raw = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string_view name = (status == 0 && raw) ? std::string_view(raw) : std::string_view(mangled);
    if (!qualified) {
        // Logs want the type without its namespaces.
        auto templateStart = name.find('<');
        auto lastColon = name.rfind("::", templateStart);
        if (lastColon != std::string_view::npos)
            name.remove_prefix(lastColon + 2);
    }
    std::string result(name);
    std::free(raw);
    return result;
}

namespace Detail {

const Construction*& currentConstruction()
{
    static thread_local const Construction* current = nullptr;
    return current;
}

} // namespace Detail

NSObject::NSObject()
{
    const auto* construction = Detail::currentConstruction();
    const void* self = this;
    if (!construction || self < construction->begin || self >= construction->end)
        fatalError("An object must be made with Foundation::make, which runs its initialize()");
}

std::string NSObject::className() const
{
    return demangledTypeName(typeid(*this).name());
}

std::string NSObject::description() const
{
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + address + ">";
}

} // namespace Foundation
