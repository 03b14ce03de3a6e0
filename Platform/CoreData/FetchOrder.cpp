#include "Platform/CoreData/FetchOrder.hpp"

#include "Platform/CoreData/BoundPredicate.hpp"
#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"

#include <algorithm>

namespace CoreData {

FetchOrder::FetchOrder(const NSEntityDescription& entity, const std::vector<NSSortDescriptor>& descriptors)
    : m_entity(entity)
{
    for (const auto& descriptor : descriptors) {
        auto index = entity.storedPropertyIndex(descriptor.key().view());
        if (!index || entity.storedProperties()[*index].relationship) {
            throw CoreDataError::make(CoreDataError::persistentStoreOperation, entity.name().utf8() + " objects cannot be sorted by "
                                          + descriptor.key().utf8() + ": it is not an attribute of theirs.");
        }
        m_keys.push_back({*index, descriptor.ascending(), descriptor.selector() == NSSortDescriptor::Selector::caseInsensitiveCompare});
    }
}

std::string FetchOrder::sql() const
{
    std::string sql;
    for (const auto& key : m_keys) {
        const auto& property = m_entity.storedProperties()[key.index];
        sql += "\"" + property.name.utf8() + "\"";
        if (key.caseInsensitive && property.type == NSAttributeType::string)
            sql += " COLLATE cd_string_ci";
        sql += key.ascending ? " ASC, " : " DESC, ";
    }
    return sql + "\"_pk\"";
}

void FetchOrder::sort(std::vector<std::shared_ptr<NSManagedObject>>& objects) const
{
    std::stable_sort(objects.begin(), objects.end(), [&](const auto& lhs, const auto& rhs) {
        for (const auto& key : m_keys) {
            int order = sortOrder(lhs->primitiveValue(key.index), rhs->primitiveValue(key.index), key.caseInsensitive);
            if (order != 0)
                return key.ascending ? order < 0 : order > 0;
        }
        const auto& left = lhs->objectID();
        const auto& right = rhs->objectID();
        if (left.isTemporaryID() != right.isTemporaryID())
            return right.isTemporaryID();
        return left.isTemporaryID() ? left.primaryKey() > right.primaryKey() : left.primaryKey() < right.primaryKey();
    });
}

} // namespace CoreData
