#include "Platform/CoreData/NSManagedObject.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cstdio>

namespace CoreData {

std::size_t NSManagedObject::index(std::string_view key) const
{
    auto found = m_entity->storedPropertyIndex(key);
    if (!found) {
        Foundation::fatalError(m_entity->name().utf8() + " has no attribute or to-one relationship named \"" + std::string(key)
                               + "\"");
    }
    return *found;
}

const Value& NSManagedObject::primitiveValue(std::string_view key) const
{
    return m_values[index(key)];
}

const Value& NSManagedObject::checkedValue(std::string_view key, NSAttributeType type) const
{
    std::size_t found = index(key);
    const auto& property = m_entity->storedProperties()[found];
    if (property.relationship || property.type != type) {
        Foundation::fatalError(m_entity->name().utf8() + "." + std::string(key) + " is "
                               + (property.relationship ? std::string("a relationship") : std::string("a ") + name(property.type))
                               + ", not a " + name(type));
    }
    return m_values[found];
}

void NSManagedObject::setValue(Value value, std::string_view key)
{
    std::size_t found = index(key);
    const auto& property = m_entity->storedProperties()[found];
    std::string where = m_entity->name().utf8() + "." + std::string(key);
    if (property.relationship) {
        const auto* id = value.as<NSManagedObjectID>();
        Foundation::precondition(value.isNil() || (id && id->entityName() == property.destination->name()),
                                 where + " leads to " + property.destination->name().utf8() + " objects");
    } else if (!value.isNil()) {
        auto type = value.attributeType();
        if (property.type == NSAttributeType::double_ && type == NSAttributeType::integer64)
            value = Value(static_cast<double>(*value.as<std::int64_t>()));
        else
            Foundation::precondition(type == property.type, where + " holds a " + name(property.type) + ", not " + value.description());
    }
    setStoredValue(found, std::move(value));
}

void NSManagedObject::setStoredValue(std::size_t index, Value value)
{
    if (m_values[index] == value)
        return;
    bool known = std::any_of(m_originals.begin(), m_originals.end(), [&](const auto& original) { return original.first == index; });
    if (!known)
        m_originals.emplace_back(index, m_values[index]);
    m_values[index] = std::move(value);
    if (auto context = m_context.lock())
        context->objectDidChange(*this);
}

std::shared_ptr<NSManagedObject> NSManagedObject::relatedObject(std::string_view key) const
{
    std::size_t found = index(key);
    Foundation::precondition(m_entity->storedProperties()[found].relationship != nullptr,
                             m_entity->name().utf8() + "." + std::string(key) + " is not a to-one relationship");
    const auto* id = m_values[found].as<NSManagedObjectID>();
    auto context = m_context.lock();
    if (!id || !context)
        return nullptr;
    return context->objectIfExists(*id);
}

void NSManagedObject::setRelatedObject(const std::shared_ptr<NSManagedObject>& object, std::string_view key)
{
    if (!object) {
        setValue(Value(), key);
        return;
    }
    auto context = m_context.lock();
    Foundation::precondition(context && object->m_context.lock() == context, "Only objects of one context can be related");
    Foundation::precondition(!object->m_isDeleted, "An object cannot be related to a deleted object");
    setValue(object->objectID(), key);
}

std::vector<std::shared_ptr<NSManagedObject>> NSManagedObject::relatedObjects(std::string_view key) const
{
    const auto* relationship = m_entity->toManyRelationship(key);
    Foundation::precondition(relationship != nullptr, m_entity->name().utf8() + " has no to-many relationship named \"" + std::string(key) + "\"");
    auto context = m_context.lock();
    if (!context)
        return {};
    NSFetchRequest<NSManagedObject> request(relationship->destination->name());
    request.setPredicate(CoreData::key(relationship->destination->storedProperties()[relationship->inverseIndex].name) == m_objectID);
    return context->fetch(request);
}

std::map<Foundation::String, Value> NSManagedObject::changedValues() const
{
    std::map<Foundation::String, Value> values;
    for (const auto& [index, original] : m_originals)
        values.emplace(m_entity->storedProperties()[index].name, m_values[index]);
    return values;
}

std::map<Foundation::String, Value> NSManagedObject::committedValues() const
{
    std::map<Foundation::String, Value> values;
    for (std::size_t i = 0; i < m_values.size(); ++i)
        values.emplace(m_entity->storedProperties()[i].name, m_values[i]);
    for (const auto& [index, original] : m_originals)
        values[m_entity->storedProperties()[index].name] = original;
    return values;
}

void NSManagedObject::takeStoredValues(std::vector<Value> values)
{
    for (auto& [index, original] : m_originals)
        original = std::move(values[index]);
    for (std::size_t i = 0; i < values.size(); ++i) {
        bool changed = std::any_of(m_originals.begin(), m_originals.end(), [&](const auto& original) { return original.first == i; });
        if (!changed)
            m_values[i] = std::move(values[i]);
    }
}

void NSManagedObject::forgetChanges()
{
    m_originals.clear();
}

std::shared_ptr<NSManagedObject> NSManagedObject::self()
{
    return std::static_pointer_cast<NSManagedObject>(shared_from_this());
}

std::string NSManagedObject::description() const
{
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + address + "> (entity: " + m_entity->name().utf8() + "; id: " + m_objectID.description() + ")";
}

} // namespace CoreData
