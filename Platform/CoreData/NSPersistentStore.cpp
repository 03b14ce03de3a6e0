#include "Platform/CoreData/NSPersistentStore.hpp"

#include "Platform/CoreData/SQLiteStore.hpp"

namespace CoreData {

NSPersistentStore::NSPersistentStore(Foundation::String type, std::optional<Foundation::URL> url, std::unique_ptr<SQLiteStore> store)
    : m_type(std::move(type))
    , m_url(std::move(url))
    , m_store(std::move(store))
{
}

NSPersistentStore::~NSPersistentStore() = default;

const Foundation::String& NSPersistentStore::identifier() const
{
    return m_store->identifier();
}

} // namespace CoreData
