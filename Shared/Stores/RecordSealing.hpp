#pragma once

#include "Shared/Crypto/Cryptor.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <utility>

namespace Shared {

struct Attachment;
struct EntryIndex;
struct EntryRevision;

// How the record store seals what it keeps under the vault key. Each sealed value is bound to its
// item and its column: a value moved to another item, or into another column, is refused.
class RecordSealing {
public:
    static Foundation::Data entryContext(const Foundation::String& id);
    static Foundation::Data indexContext(const Foundation::String& id);
    static Foundation::Data attachmentContext(const Foundation::String& id);

    // An item's sealed revision, opened; it must be the item it is stored as (nothing sealed is
    // entryNotFound).
    static EntryRevision openRevision(const Foundation::String& id, const Foundation::Data* sealed, const Cryptor::Key& key);
    // An item's sealed summary, opened; nothing when it does not open, is of an earlier format or names
    // another item (it is made again from the item then).
    static std::optional<EntryIndex> openSummary(const Foundation::String& id, const Foundation::Data& sealed, const Cryptor::Key& key);
    // An item's revision and its summary, sealed to be stored as that item.
    static std::pair<Foundation::Data, Foundation::Data> sealRevision(const Foundation::String& id, const EntryRevision& revision,
                                                                      const EntryIndex& summary, const Cryptor::Key& key);
    // An attachment's description, sealed to be stored as that attachment.
    static Foundation::Data sealAttachment(const Attachment& attachment, const Cryptor::Key& key);
};

} // namespace Shared
