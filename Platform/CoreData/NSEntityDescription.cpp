#include "Platform/CoreData/NSEntityDescription.hpp"

#include "Platform/CoreData/NSManagedObject.hpp"
#include "Platform/CoreData/NSManagedObjectModel.hpp"
#include "Platform/Foundation/FatalError.hpp"

namespace CoreData {

NSEntityDescription::NSEntityDescription(Foundation::String name)
    : m_name(std::move(name))
    , m_factory([] { return Foundation::make<NSManagedObject>(); })
{
}

const NSAttributeDescription* NSEntityDescription::attribute(std::string_view name) const
{
    for (const auto& attribute : m_attributes) {
        if (attribute.name().view() == name)
            return &attribute;
    }
    return nullptr;
}

const NSRelationshipDescription* NSEntityDescription::relationship(std::string_view name) const
{
    for (const auto& relationship : m_relationships) {
        if (relationship.name().view() == name)
            return &relationship;
    }
    return nullptr;
}

void NSEntityDescription::requireMutable() const
{
    Foundation::precondition(!m_isFrozen, "Entity " + m_name.utf8() + " cannot change once its model is in use");
}

void NSEntityDescription::addAttribute(NSAttributeDescription attribute)
{
    requireMutable();
    m_attributes.push_back(std::move(attribute));
}

void NSEntityDescription::addRelationship(NSRelationshipDescription relationship)
{
    requireMutable();
    m_relationships.push_back(std::move(relationship));
}

void NSEntityDescription::setManagedObjectClass(std::string className, std::function<std::shared_ptr<NSManagedObject>()> factory)
{
    requireMutable();
    m_className = std::move(className);
    m_factory = std::move(factory);
}

std::optional<std::size_t> NSEntityDescription::storedPropertyIndex(std::string_view name) const
{
    auto found = m_storedIndex.find(name);
    if (found == m_storedIndex.end())
        return std::nullopt;
    return found->second;
}

const NSEntityDescription::ToManyRelationship* NSEntityDescription::toManyRelationship(std::string_view name) const
{
    for (const auto& relationship : m_toMany) {
        if (relationship.relationship->name().view() == name)
            return &relationship;
    }
    return nullptr;
}

std::shared_ptr<NSManagedObject> NSEntityDescription::makeObject() const
{
    return m_factory();
}

void NSEntityDescription::layOut()
{
    m_isFrozen = true;
    m_stored.clear();
    m_storedIndex.clear();
    for (const auto& attribute : m_attributes) {
        auto defaultType = attribute.defaultValue().attributeType();
        Foundation::precondition(attribute.defaultValue().isNil() || defaultType == attribute.attributeType(),
                                 "The default value of " + m_name.utf8() + "." + attribute.name().utf8() + " is not a "
                                     + CoreData::name(attribute.attributeType()));
        m_storedIndex.emplace(attribute.name().utf8(), m_stored.size());
        m_stored.push_back({attribute.name(), attribute.attributeType(), attribute.isOptional(), attribute.defaultValue(),
                            attribute.isIndexed(), nullptr, nullptr, attribute.preservesValueInHistoryOnDeletion()});
    }
    for (const auto& relationship : m_relationships) {
        if (relationship.isToMany())
            continue;
        m_storedIndex.emplace(relationship.name().utf8(), m_stored.size());
        // The related row's key; always indexed, since the to-many side is found through it.
        m_stored.push_back({relationship.name(), NSAttributeType::integer64, relationship.isOptional(), {}, true, &relationship});
    }
}

void NSEntityDescription::resolveRelationships(const NSManagedObjectModel& model)
{
    m_toMany.clear();
    for (const auto& relationship : m_relationships) {
        std::string where = m_name.utf8() + "." + relationship.name().utf8();
        auto destination = model.entity(relationship.destinationEntityName().view());
        Foundation::precondition(destination != nullptr,
                                 "Relationship " + where + " leads to no entity named " + relationship.destinationEntityName().utf8());
        const auto* inverse = destination->relationship(relationship.inverseRelationshipName().view());
        Foundation::precondition(inverse != nullptr && inverse->destinationEntityName().view() == m_name.view()
                                     && inverse->inverseRelationshipName().view() == relationship.name().view(),
                                 "Relationship " + where + " needs an inverse on " + destination->name().utf8()
                                     + " that leads back to it");
        Foundation::precondition(inverse->isToMany() != relationship.isToMany(),
                                 "Relationship " + where
                                     + ": only one-to-many relationships are supported (one side to-one, the other to-many)");
        if (relationship.isToMany()) {
            m_toMany.push_back({&relationship, destination.get(), *destination->storedPropertyIndex(inverse->name().view())});
        } else {
            m_stored[*storedPropertyIndex(relationship.name().view())].destination = destination.get();
        }
    }
}

} // namespace CoreData
