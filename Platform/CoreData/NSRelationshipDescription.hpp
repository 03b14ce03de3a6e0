#pragma once

#include "Platform/CoreData/NSDeleteRule.hpp"
#include "Platform/Foundation/String.hpp"

namespace CoreData {

// One side of a one-to-many relationship between two entities. Every relationship names its inverse: the
// to-one side is a column of its entity's table holding the related row's key, and the to-many side is
// found through that column.
class NSRelationshipDescription {
public:
    static NSRelationshipDescription toOne(Foundation::String name, Foundation::String destinationEntityName,
                                           Foundation::String inverseName, NSDeleteRule deleteRule = NSDeleteRule::nullify,
                                           bool isOptional = true)
    {
        return NSRelationshipDescription(std::move(name), std::move(destinationEntityName), std::move(inverseName), false,
                                         deleteRule, isOptional);
    }
    static NSRelationshipDescription toMany(Foundation::String name, Foundation::String destinationEntityName,
                                            Foundation::String inverseName, NSDeleteRule deleteRule = NSDeleteRule::nullify)
    {
        return NSRelationshipDescription(std::move(name), std::move(destinationEntityName), std::move(inverseName), true,
                                         deleteRule, true);
    }

    const Foundation::String& name() const { return m_name; }
    const Foundation::String& destinationEntityName() const { return m_destinationEntityName; }
    const Foundation::String& inverseRelationshipName() const { return m_inverseName; }
    bool isToMany() const { return m_isToMany; }
    NSDeleteRule deleteRule() const { return m_deleteRule; }
    // A required to-one relationship must lead to an object when its object is saved.
    bool isOptional() const { return m_isOptional; }

private:
    NSRelationshipDescription(Foundation::String name, Foundation::String destinationEntityName, Foundation::String inverseName,
                              bool isToMany, NSDeleteRule deleteRule, bool isOptional)
        : m_name(std::move(name))
        , m_destinationEntityName(std::move(destinationEntityName))
        , m_inverseName(std::move(inverseName))
        , m_isToMany(isToMany)
        , m_deleteRule(deleteRule)
        , m_isOptional(isOptional)
    {
    }

    Foundation::String m_name;
    Foundation::String m_destinationEntityName;
    Foundation::String m_inverseName;
    bool m_isToMany;
    NSDeleteRule m_deleteRule;
    bool m_isOptional;
};

} // namespace CoreData
