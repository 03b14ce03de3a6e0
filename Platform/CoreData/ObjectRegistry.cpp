#include "Platform/CoreData/ObjectRegistry.hpp"

#include <algorithm>

namespace CoreData {

std::shared_ptr<NSManagedObject> ObjectRegistry::object(const NSEntityDescription& entity, std::int64_t primaryKey) const
{
    auto table = m_objects.find(&entity);
    if (table == m_objects.end())
        return nullptr;
    auto found = table->second.find(primaryKey);
    return found == table->second.end() ? nullptr : found->second.lock();
}

std::vector<std::shared_ptr<NSManagedObject>> ObjectRegistry::objects() const
{
    std::vector<std::shared_ptr<NSManagedObject>> objects;
    for (const auto& [entity, table] : m_objects) {
        for (const auto& [key, weak] : table) {
            if (auto object = weak.lock())
                objects.push_back(std::move(object));
        }
    }
    return objects;
}

void ObjectRegistry::add(const NSEntityDescription& entity, std::int64_t primaryKey, const std::shared_ptr<NSManagedObject>& object)
{
    m_objects[&entity][primaryKey] = object;
    if (++m_addedSincePurge < m_purgeThreshold)
        return;
    std::size_t live = 0;
    for (auto& [described, table] : m_objects) {
        std::erase_if(table, [](const auto& entry) { return entry.second.expired(); });
        live += table.size();
    }
    m_addedSincePurge = 0;
    m_purgeThreshold = std::max<std::size_t>(1024, live);
}

void ObjectRegistry::remove(const NSEntityDescription& entity, std::int64_t primaryKey)
{
    auto table = m_objects.find(&entity);
    if (table != m_objects.end())
        table->second.erase(primaryKey);
}

void ObjectRegistry::clear()
{
    m_objects.clear();
    m_addedSincePurge = 0;
}

} // namespace CoreData
