#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace CoreData {

class NSEntityDescription;
class NSManagedObject;

// A context's saved objects by entity and key, held weakly: an object nobody holds goes, and its entry
// is dropped now and then.
class ObjectRegistry {
public:
    std::shared_ptr<NSManagedObject> object(const NSEntityDescription& entity, std::int64_t primaryKey) const;
    std::vector<std::shared_ptr<NSManagedObject>> objects() const;
    void add(const NSEntityDescription& entity, std::int64_t primaryKey, const std::shared_ptr<NSManagedObject>& object);
    void remove(const NSEntityDescription& entity, std::int64_t primaryKey);
    void clear();

private:
    std::unordered_map<const NSEntityDescription*, std::unordered_map<std::int64_t, std::weak_ptr<NSManagedObject>>> m_objects;
    std::size_t m_addedSincePurge = 0;
    std::size_t m_purgeThreshold = 1024;
};

} // namespace CoreData
