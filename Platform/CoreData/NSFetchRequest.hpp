#pragma once

#include "Platform/CoreData/NSPredicate.hpp"
#include "Platform/CoreData/NSSortDescriptor.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <vector>

namespace CoreData {

class NSManagedObject;

// A managed-object class that names its entity: `static Foundation::String entityName()`.
template <class T>
concept NamesItsEntity = requires {
    { T::entityName() } -> std::convertible_to<Foundation::String>;
};

template <class ResultType = NSManagedObject>
class NSFetchRequest;

// Which objects of an entity to fetch, count or batch-delete: those the predicate holds for (all without
// one), in the order of the sort descriptors, skipping `fetchOffset` and at most `fetchLimit` of them
// (0: no limit). By default a context's unsaved changes count: its inserted objects can match, its
// deleted ones cannot, and its changed ones match by their new values.
template <>
class NSFetchRequest<NSManagedObject> {
public:
    explicit NSFetchRequest(Foundation::String entityName)
        : m_entityName(std::move(entityName))
    {
    }

    const Foundation::String& entityName() const { return m_entityName; }
    const std::optional<NSPredicate>& predicate() const { return m_predicate; }
    void setPredicate(std::optional<NSPredicate> predicate) { m_predicate = std::move(predicate); }
    const std::vector<NSSortDescriptor>& sortDescriptors() const { return m_sortDescriptors; }
    void setSortDescriptors(std::vector<NSSortDescriptor> sortDescriptors) { m_sortDescriptors = std::move(sortDescriptors); }
    std::int64_t fetchLimit() const { return m_fetchLimit; }
    void setFetchLimit(std::int64_t fetchLimit) { m_fetchLimit = fetchLimit; }
    std::int64_t fetchOffset() const { return m_fetchOffset; }
    void setFetchOffset(std::int64_t fetchOffset) { m_fetchOffset = fetchOffset; }
    bool includesPendingChanges() const { return m_includesPendingChanges; }
    void setIncludesPendingChanges(bool includesPendingChanges) { m_includesPendingChanges = includesPendingChanges; }
    // The attributes (or to-one relationships) `NSManagedObjectContext::fetchValues` reads; "objectID"
    // reads each object's ID.
    const std::vector<Foundation::String>& propertiesToFetch() const { return m_propertiesToFetch; }
    void setPropertiesToFetch(std::vector<Foundation::String> propertiesToFetch) { m_propertiesToFetch = std::move(propertiesToFetch); }

private:
    Foundation::String m_entityName;
    std::optional<NSPredicate> m_predicate;
    std::vector<NSSortDescriptor> m_sortDescriptors;
    std::int64_t m_fetchLimit = 0;
    std::int64_t m_fetchOffset = 0;
    bool m_includesPendingChanges = true;
    std::vector<Foundation::String> m_propertiesToFetch;
};

// A request whose results are objects of the managed-object class `ResultType`.
template <class ResultType>
class NSFetchRequest : public NSFetchRequest<NSManagedObject> {
public:
    explicit NSFetchRequest(Foundation::String entityName)
        : NSFetchRequest<NSManagedObject>(std::move(entityName))
    {
    }
    NSFetchRequest()
        requires NamesItsEntity<ResultType>
        : NSFetchRequest<NSManagedObject>(ResultType::entityName())
    {
    }
};

} // namespace CoreData
