#include "Platform/Foundation/NSObject.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <string_view>
#include <typeinfo>

namespace Foundation {

namespace {

bool isNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

// Drops every enclosing scope of every name in a type, as the platform prints types: the scope before
// each "::" goes, with its template arguments or parenthesised part ("(anonymous namespace)").
std::string withoutScopes(std::string_view name)
{
    std::string result;
    for (std::size_t index = 0; index < name.size();) {
        if (name.compare(index, 2, "::") != 0) {
            result += name[index++];
            continue;
        }
        index += 2;
        std::size_t end = result.size();
        int depth = 0;
        while (end > 0) {
            const char c = result[end - 1];
            if (c == '>' || c == ')')
                ++depth;
            else if ((c == '<' || c == '(') && depth > 0)
                --depth;
            else if (depth == 0 && !isNameCharacter(c))
                break;
            --end;
        }
        result.erase(end);
    }
    return result;
}

} // namespace

std::string demangledTypeName(const char* mangled, bool qualified)
{
    int status = 0;
    char* raw = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string_view name = (status == 0 && raw) ? std::string_view(raw) : std::string_view(mangled);
    std::string result = qualified ? std::string(name) : withoutScopes(name);
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
