#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace CoreData {

class SQLiteStore;

// A store a coordinator opened: its type, where it lives and the identifier it keeps for its lifetime.
class NSPersistentStore : public Foundation::NSObject {
public:
    const Foundation::String& type() const { return m_type; }
    const std::optional<Foundation::URL>& url() const { return m_url; }
    const Foundation::String& identifier() const;

    ~NSPersistentStore() override;

protected:
    friend Foundation::Construct;
    NSPersistentStore(Foundation::String type, std::optional<Foundation::URL> url, std::unique_ptr<SQLiteStore> store);

private:
    friend class NSPersistentStoreCoordinator;
    Foundation::String m_type;
    std::optional<Foundation::URL> m_url;
    std::unique_ptr<SQLiteStore> m_store;
};

} // namespace CoreData
