#include "Platform/Foundation/NSObject.hpp"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace Foundation {

std::string demangledTypeName(const char* mangled, bool qualified)
{
    int status = 0;
    char* raw = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && raw) ? raw : mangled;
    std::free(raw);
    if (qualified)
        return name;
    // Drop namespaces but keep nesting of classes readable ("File::Location" stays qualified by its parent
    // only through the namespace-free tail, which is what logs want).
    auto templateStart = name.find('<');
    auto lastColon = name.rfind("::", templateStart);
    return lastColon == std::string::npos ? name : name.substr(lastColon + 2);
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
