#pragma once

#include "Platform/CoreData/NSSortDescriptor.hpp"

#include <memory>
#include <string>
#include <vector>

namespace CoreData {

class NSEntityDescription;
class NSManagedObject;

// The order a fetch asks for, as SQL and in memory alike: by each sort descriptor's attribute, then saved
// objects by key and unsaved ones as they were inserted, so that equal keys keep one order. Throws when a
// descriptor names no attribute of the entity.
class FetchOrder {
public:
    FetchOrder(const NSEntityDescription& entity, const std::vector<NSSortDescriptor>& descriptors);

    // For ORDER BY.
    std::string sql() const;
    void sort(std::vector<std::shared_ptr<NSManagedObject>>& objects) const;

private:
    struct Key {
        std::size_t index;
        bool ascending;
        bool caseInsensitive;
    };
    const NSEntityDescription& m_entity;
    std::vector<Key> m_keys;
};

} // namespace CoreData
