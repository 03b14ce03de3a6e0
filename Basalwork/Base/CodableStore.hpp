#pragma once

#include "Basalwork/Base/BinaryDataStore.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// Codable items kept as JSON files, one per ID with no extension, coded with a JSONCoder. IDs that could
// lead outside the directory are refused with StoreKeyError; coder and file errors pass through.
class CodableStore : public Foundation::NSObject {
public:
    const std::shared_ptr<BinaryDataStore>& binaryDataStore() const { return m_binaryDataStore; }
    const std::shared_ptr<JSONCoder>& coder() const { return m_coder; }

    // item(forID:): nothing when no file exists; a file that does not decode as T throws and stays.
    template <Foundation::Codable T>
    std::optional<T> item(const Foundation::String& id) const
    {
        auto data = m_binaryDataStore->data(id, std::nullopt);
        if (!data)
            return std::nullopt;
        return m_coder->decode<T>(*data);
    }
    // save(codable:forID:): encodes first, so an encoding error leaves the earlier file untouched.
    template <Foundation::Codable T>
    void save(const T& codable, const Foundation::String& id) const
    {
        Foundation::Data data = m_coder->encode(codable);
        m_binaryDataStore->save(data, id, std::nullopt);
    }
    // A missing file is no error.
    virtual void deleteItem(const Foundation::String& id) const;
    virtual void deleteAllItems() const;
    virtual bool itemExists(const Foundation::String& id) const;
    virtual bool itemDoesNotExist(const Foundation::String& id) const;

protected:
    friend Foundation::Construct;
    CodableStore(const File::Location& location, std::shared_ptr<Foundation::FileManager> fileManager, std::shared_ptr<JSONCoder> coder);

private:
    std::shared_ptr<BinaryDataStore> m_binaryDataStore;
    std::shared_ptr<JSONCoder> m_coder;
};

} // namespace Basalwork
