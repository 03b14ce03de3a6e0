#pragma once

#include "Platform/CoreData/NSAttributeDescription.hpp"
#include "Platform/CoreData/NSRelationshipDescription.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace CoreData {

class NSManagedObject;
class NSManagedObjectModel;

// A kind of object in a model: a name, attributes and relationships, and the class its objects are made
// of. Its objects are the rows of one table in the store. An entity is changed only until a store
// coordinator takes its model.
class NSEntityDescription : public Foundation::NSObject {
public:
    // A column of the entity's table: an attribute, or the to-one side of a relationship (holding the
    // related object's ID, stored as the related row's key).
    struct StoredProperty {
        Foundation::String name;
        NSAttributeType type;
        bool isOptional;
        Value defaultValue;
        bool isIndexed;
        const NSRelationshipDescription* relationship = nullptr;
        const NSEntityDescription* destination = nullptr;
        bool preservesValueInHistoryOnDeletion = false;
    };
    // The to-many side of a relationship: the destination's objects whose inverse leads here.
    struct ToManyRelationship {
        const NSRelationshipDescription* relationship;
        const NSEntityDescription* destination;
        std::size_t inverseIndex; // in the destination's stored properties
    };

    const Foundation::String& name() const { return m_name; }
    const std::vector<NSAttributeDescription>& attributes() const { return m_attributes; }
    const std::vector<NSRelationshipDescription>& relationships() const { return m_relationships; }
    const NSAttributeDescription* attribute(std::string_view name) const;
    const NSRelationshipDescription* relationship(std::string_view name) const;

    void addAttribute(NSAttributeDescription attribute);
    void addRelationship(NSRelationshipDescription relationship);

    // Objects of this entity are made as `T`, a subclass of NSManagedObject made through `Foundation::make`.
    template <class T>
    void setManagedObjectClass()
    {
        setManagedObjectClass(Foundation::demangledTypeName(typeid(T).name()),
                              [] { return std::static_pointer_cast<NSManagedObject>(Foundation::make<T>()); });
    }
    const std::string& managedObjectClassName() const { return m_className; }

    // Known once the model is in use.
    const std::vector<StoredProperty>& storedProperties() const { return m_stored; }
    std::optional<std::size_t> storedPropertyIndex(std::string_view name) const;
    const std::vector<ToManyRelationship>& toManyRelationships() const { return m_toMany; }
    const ToManyRelationship* toManyRelationship(std::string_view name) const;
    std::shared_ptr<NSManagedObject> makeObject() const;

protected:
    friend Foundation::Construct;
    explicit NSEntityDescription(Foundation::String name);

private:
    friend class NSManagedObjectModel;
    void setManagedObjectClass(std::string className, std::function<std::shared_ptr<NSManagedObject>()> factory);
    void requireMutable() const;
    // Lays out the stored properties; `resolveRelationships` then links them to the other entities.
    void layOut();
    void resolveRelationships(const NSManagedObjectModel& model);

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    Foundation::String m_name;
    std::vector<NSAttributeDescription> m_attributes;
    std::vector<NSRelationshipDescription> m_relationships;
    std::string m_className = "NSManagedObject";
    std::function<std::shared_ptr<NSManagedObject>()> m_factory;
    bool m_isFrozen = false;
    std::vector<StoredProperty> m_stored;
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> m_storedIndex;
    std::vector<ToManyRelationship> m_toMany;
};

} // namespace CoreData
