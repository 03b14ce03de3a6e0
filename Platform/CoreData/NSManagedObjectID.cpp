#include "Platform/CoreData/NSManagedObjectID.hpp"

#include <atomic>
#include <functional>

namespace CoreData {

NSManagedObjectID NSManagedObjectID::makeTemporary(Foundation::String entityName)
{
    static std::atomic<std::int64_t> last {0};
    return NSManagedObjectID(std::move(entityName), -(++last));
}

std::string NSManagedObjectID::description() const
{
    return m_entityName.utf8() + (isTemporaryID() ? "/t" + std::to_string(-m_primaryKey) : "/p" + std::to_string(m_primaryKey));
}

std::size_t NSManagedObjectID::hash() const
{
    return std::hash<std::string>()(m_entityName.utf8()) * 31 + std::hash<std::int64_t>()(m_primaryKey);
}

} // namespace CoreData
