#include "Platform/CoreData/NSBatchInsertRequest.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"

namespace CoreData {

NSBatchInsertRequest::Object::Object(const NSEntityDescription& entity)
    : m_entity(&entity)
{
    reset();
}

void NSBatchInsertRequest::Object::reset()
{
    const auto& properties = m_entity->storedProperties();
    m_values.resize(properties.size());
    for (std::size_t i = 0; i < properties.size(); ++i)
        m_values[i] = properties[i].defaultValue;
}

void NSBatchInsertRequest::Object::setValue(Value value, std::string_view key)
{
    auto index = m_entity->storedPropertyIndex(key);
    const auto* property = index ? &m_entity->storedProperties()[*index] : nullptr;
    if (!property || property->relationship) {
        throw CoreDataError::make(CoreDataError::managedObjectValidation,
                                  m_entity->name().utf8() + "." + std::string(key) + " is not an attribute a batch insert can set.");
    }
    if (!value.isNil() && value.attributeType() != property->type) {
        if (property->type == NSAttributeType::double_ && value.attributeType() == NSAttributeType::integer64) {
            value = Value(static_cast<double>(*value.as<std::int64_t>()));
        } else {
            throw CoreDataError::make(CoreDataError::managedObjectValidation,
                                      m_entity->name().utf8() + "." + std::string(key) + " cannot hold " + value.description() + ".");
        }
    }
    m_values[*index] = std::move(value);
}

} // namespace CoreData
