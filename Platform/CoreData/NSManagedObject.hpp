#pragma once

#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSManagedObjectID.hpp"
#include "Platform/CoreData/Value.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CoreData {

class NSManagedObjectContext;

// One object of an entity, living in one context and used on that context's queue. Its attributes are
// read and set by name, typed (`value<Foundation::String>("title")`); its to-one relationships hold the
// related object, its to-many relationships are the objects whose inverse leads here. Subclasses add
// named accessors over these and are made by the context (`NSEntityDescription::setManagedObjectClass`).
// Naming a key the entity lacks, or reading or setting it as another type, is a programming error.
class NSManagedObject : public Foundation::NSObject {
public:
    const std::shared_ptr<NSEntityDescription>& entity() const { return m_entity; }
    // Nothing once the object is deleted and saved, or its context is gone.
    std::shared_ptr<NSManagedObjectContext> managedObjectContext() const { return m_context.lock(); }
    const NSManagedObjectID& objectID() const { return m_objectID; }

    bool isInserted() const { return m_isInserted; }
    bool isUpdated() const { return m_isUpdated; }
    bool isDeleted() const { return m_isDeleted; }
    bool hasChanges() const { return m_isInserted || m_isUpdated || m_isDeleted; }
    // The attributes and to-one relationships set since the object was last saved, with their new values.
    std::map<Foundation::String, Value> changedValues() const;
    // The values they held when last saved or fetched.
    std::map<Foundation::String, Value> committedValues() const;

    // An attribute's value (nil when it holds none), or the ID of the object a to-one relationship leads to.
    const Value& primitiveValue(std::string_view key) const;
    const Value& primitiveValue(std::size_t storedPropertyIndex) const { return m_values[storedPropertyIndex]; }
    Value value(std::string_view key) const { return primitiveValue(key); }
    template <class T>
    std::optional<T> value(std::string_view key) const
    {
        const Value& stored = checkedValue(key, attributeTypeFor<T>());
        if (const T* typed = stored.as<T>())
            return *typed;
        return std::nullopt;
    }
    // An integer goes into a double attribute as its value; any other mismatch stops the program.
    void setValue(Value value, std::string_view key);

    // The object a to-one relationship leads to: nothing when it leads nowhere or the object is gone.
    std::shared_ptr<NSManagedObject> relatedObject(std::string_view key) const;
    template <class T>
    std::shared_ptr<T> relatedObject(std::string_view key) const
    {
        return std::dynamic_pointer_cast<T>(relatedObject(key));
    }
    // Sets a to-one relationship to an object of the same context (or to nothing).
    void setRelatedObject(const std::shared_ptr<NSManagedObject>& object, std::string_view key);
    // The objects of a to-many relationship, unsaved changes of the context included, in no set order.
    std::vector<std::shared_ptr<NSManagedObject>> relatedObjects(std::string_view key) const;

    std::string description() const override;

protected:
    friend Foundation::Construct;
    NSManagedObject() = default;

    // Called once when the object is inserted into a context, and each time it is made from a fetched
    // row: the place for a subclass to give a new object its identity and dates.
    virtual void awakeFromInsert() { }
    virtual void awakeFromFetch() { }

private:
    friend class NSManagedObjectContext;

    std::size_t index(std::string_view key) const;
    const Value& checkedValue(std::string_view key, NSAttributeType type) const;
    void setStoredValue(std::size_t index, Value value);
    // Takes the stored values, keeping those the context changed.
    void takeStoredValues(std::vector<Value> values);
    void forgetChanges();
    std::shared_ptr<NSManagedObject> self();

    std::shared_ptr<NSEntityDescription> m_entity;
    std::weak_ptr<NSManagedObjectContext> m_context;
    NSManagedObjectID m_objectID;
    std::vector<Value> m_values;
    // The committed value of each property changed since the last save.
    std::vector<std::pair<std::size_t, Value>> m_originals;
    bool m_isInserted = false;
    bool m_isUpdated = false;
    bool m_isDeleted = false;
    // Changes the context has yet to announce (objects-did-change).
    unsigned m_unannounced = 0;
};

} // namespace CoreData
