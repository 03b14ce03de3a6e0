#pragma once

#include "Platform/CoreData/NSAttributeType.hpp"
#include "Platform/CoreData/Value.hpp"
#include "Platform/Foundation/String.hpp"

namespace CoreData {

// One attribute of an entity: a column of the entity's table. A new object starts with the default value;
// a required (non-optional) attribute must hold a value when the object is saved.
class NSAttributeDescription {
public:
    NSAttributeDescription(Foundation::String name, NSAttributeType attributeType, bool isOptional = true,
                           Value defaultValue = {}, bool isIndexed = false)
        : m_name(std::move(name))
        , m_attributeType(attributeType)
        , m_isOptional(isOptional)
        , m_defaultValue(std::move(defaultValue))
        , m_isIndexed(isIndexed)
    {
    }

    const Foundation::String& name() const { return m_name; }
    NSAttributeType attributeType() const { return m_attributeType; }
    bool isOptional() const { return m_isOptional; }
    void setIsOptional(bool isOptional) { m_isOptional = isOptional; }
    const Value& defaultValue() const { return m_defaultValue; }
    void setDefaultValue(Value defaultValue) { m_defaultValue = std::move(defaultValue); }
    // An indexed attribute gets an index in the store, for predicates and sorts that use it often.
    bool isIndexed() const { return m_isIndexed; }
    void setIsIndexed(bool isIndexed) { m_isIndexed = isIndexed; }
    // A deleted object's value stays in the store's history (a text or a number; not data).
    bool preservesValueInHistoryOnDeletion() const { return m_preservesValueInHistoryOnDeletion; }
    void setPreservesValueInHistoryOnDeletion(bool preserves) { m_preservesValueInHistoryOnDeletion = preserves; }

private:
    Foundation::String m_name;
    NSAttributeType m_attributeType;
    bool m_isOptional;
    Value m_defaultValue;
    bool m_isIndexed;
    bool m_preservesValueInHistoryOnDeletion = false;
};

} // namespace CoreData
