#include "Basalwork/Base/CodableStore.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork {

CodableStore::CodableStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager,
                           std::shared_ptr<JSONCoder> coder)
    : m_binaryDataStore(Foundation::make<BinaryDataStore>(location, std::move(fileManager)))
    , m_coder(std::move(coder))
{
    Foundation::precondition(m_coder != nullptr, "CodableStore needs a coder");
}

void CodableStore::deleteItem(const Foundation::String& id) const
{
    m_binaryDataStore->deleteData(id, std::nullopt);
}

void CodableStore::deleteAllItems() const
{
    m_binaryDataStore->deleteAllData();
}

bool CodableStore::itemExists(const Foundation::String& id) const
{
    return m_binaryDataStore->dataExists(id, std::nullopt);
}

bool CodableStore::itemDoesNotExist(const Foundation::String& id) const
{
    return !itemExists(id);
}

} // namespace Basalwork
