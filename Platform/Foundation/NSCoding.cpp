#include "Platform/Foundation/NSCoding.hpp"

#include <map>
#include <mutex>
#include <typeindex>

namespace Foundation {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, NSCodingFactory> factories;
    std::map<std::type_index, std::string> names;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

void registerCodingClass(const std::string& className, const std::type_info& type, NSCodingFactory factory)
{
    auto& shared = registry();
    std::lock_guard lock(shared.mutex);
    shared.factories[className] = std::move(factory);
    shared.names[std::type_index(type)] = className;
}

std::optional<std::string> codingClassName(const std::type_info& type)
{
    auto& shared = registry();
    std::lock_guard lock(shared.mutex);
    auto found = shared.names.find(std::type_index(type));
    if (found == shared.names.end())
        return std::nullopt;
    return found->second;
}

NSCodingFactory codingClassFactory(const std::string& className)
{
    auto& shared = registry();
    std::lock_guard lock(shared.mutex);
    auto found = shared.factories.find(className);
    return found == shared.factories.end() ? NSCodingFactory() : found->second;
}

} // namespace Foundation
