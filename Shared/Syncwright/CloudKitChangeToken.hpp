#pragma once

#include "Shared/Syncwright/CKServerChangeToken.Key.hpp"

#include "Platform/CoreData/NSFetchRequest.hpp"
#include "Platform/CoreData/NSManagedObject.hpp"

#include <memory>
#include <optional>

namespace CloudKit {
class CKServerChangeToken;
}

namespace CoreData {
class NSEntityDescription;
class NSManagedObjectContext;
}

namespace Syncwright {

// A change token kept in the record store, one per key: where the fetches of the private database and
// of the custom zone got to. The record store's model includes its entity.
class CloudKitChangeToken : public CoreData::NSManagedObject {
public:
    static Foundation::String entityName() { return "CloudKitChangeToken"; }
    // The entity to add to a model: "key" (the key's raw value) and "token" (the keyed archive of the
    // token, or nothing).
    static std::shared_ptr<CoreData::NSEntityDescription> makeEntityDescription();

    // Every stored token.
    static CoreData::NSFetchRequest<CloudKitChangeToken> all();
    // The tokens stored under a key: one, or none; more only when two writers raced.
    static CoreData::NSFetchRequest<CloudKitChangeToken> with(CKServerChangeToken::Key key);
    // The first object under the key, or a new one inserted into the context. Throws what the fetch throws.
    static std::shared_ptr<CloudKitChangeToken> fetchFirstOrInsertNew(CKServerChangeToken::Key key, CoreData::NSManagedObjectContext& context);

    // Nothing for a raw value this version does not know.
    std::optional<CKServerChangeToken::Key> key() const;
    void setKey(CKServerChangeToken::Key key);
    // Nothing when none is stored or the stored archive cannot be read (the next fetch then starts over).
    std::shared_ptr<CloudKit::CKServerChangeToken> token() const;
    void setToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token);

protected:
    friend Foundation::Construct;
    CloudKitChangeToken() = default;
};

} // namespace Syncwright
