#include "Platform/CoreData/NSManagedObjectModel.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>
#include <string>

namespace CoreData {

namespace {

// Names become table and column names, which the store compares without regard to case.
std::string folded(std::string_view name)
{
    std::string result(name);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

void requireIdentifier(std::string_view name, const std::string& what)
{
    bool valid = !name.empty() && std::isalpha(static_cast<unsigned char>(name.front()))
        && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
    Foundation::precondition(valid, what + " \"" + std::string(name)
                                        + "\" must start with a letter and hold only letters, digits and underscores");
}

} // namespace

void NSManagedObjectModel::setEntities(std::vector<std::shared_ptr<NSEntityDescription>> entities)
{
    Foundation::precondition(!m_isFrozen, "A model cannot change once it is in use");
    m_entities = std::move(entities);
}

std::shared_ptr<NSEntityDescription> NSManagedObjectModel::entity(std::string_view name) const
{
    for (const auto& entity : m_entities) {
        if (entity->name().view() == name)
            return entity;
    }
    return nullptr;
}

void NSManagedObjectModel::freeze()
{
    // Two coordinators may take one model at the same time.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (m_isFrozen)
        return;
    std::set<std::string> entityNames;
    for (const auto& entity : m_entities) {
        const std::string& name = entity->name().utf8();
        requireIdentifier(name, "Entity name");
        Foundation::precondition(!folded(name).starts_with("sqlite"), "Entity name \"" + name + "\" is reserved by the store");
        Foundation::precondition(entityNames.insert(folded(name)).second, "The model has two entities named \"" + name + "\"");
        std::set<std::string> propertyNames;
        auto addProperty = [&](const Foundation::String& property) {
            requireIdentifier(property.view(), "Property name of " + name);
            Foundation::precondition(propertyNames.insert(folded(property.view())).second,
                                     "Entity " + name + " has two properties named \"" + property.utf8() + "\"");
        };
        for (const auto& attribute : entity->attributes())
            addProperty(attribute.name());
        for (const auto& relationship : entity->relationships())
            addProperty(relationship.name());
        entity->layOut();
    }
    for (const auto& entity : m_entities)
        entity->resolveRelationships(*this);
    m_isFrozen = true;
}

} // namespace CoreData
