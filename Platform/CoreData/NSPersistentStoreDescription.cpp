#include "Platform/CoreData/NSPersistentStoreDescription.hpp"

namespace CoreData {

bool NSPersistentStoreDescription::isInMemory() const
{
    if (m_type == NSInMemoryStoreType)
        return true;
    return m_url && (m_url->lastPathComponent() == ":memory:" || m_url->path() == "/dev/null");
}

} // namespace CoreData
