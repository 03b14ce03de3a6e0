#include "Shared/Stores/RecordSealing.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

namespace Shared {

Foundation::Data RecordSealing::entryContext(const Foundation::String& id)
{
    return Foundation::Data::fromString(id.utf8());
}

Foundation::Data RecordSealing::indexContext(const Foundation::String& id)
{
    return Foundation::Data::fromString(id.utf8() + "/index");
}

Foundation::Data RecordSealing::attachmentContext(const Foundation::String& id)
{
    return Foundation::Data::fromString(id.utf8() + "/attachment");
}

EntryRevision RecordSealing::openRevision(const Foundation::String& id, const Foundation::Data* sealed, const Cryptor::Key& key)
{
    if (!sealed)
        throw RecordStoreError::entryNotFound(id);
    auto revision = EntryRevision::decoded(Cryptor::open(*sealed, key, entryContext(id)));
    if (revision.entry.id != id)
        throw CryptorError::authenticationFailed();
    return revision;
}

std::optional<EntryIndex> RecordSealing::openSummary(const Foundation::String& id, const Foundation::Data& sealed, const Cryptor::Key& key)
{
    try {
        auto summary = RecordStore::Index::unpacked(Cryptor::open(sealed, key, indexContext(id)));
        // The same bytes nearly always: the text comparison only for the rest.
        if (summary.entryID.view() == id.view() || summary.entryID == id)
            return summary;
    } catch (const Foundation::Error&) {
        // Made again from the item.
    }
    return std::nullopt;
}

std::pair<Foundation::Data, Foundation::Data> RecordSealing::sealRevision(const Foundation::String& id, const EntryRevision& revision,
                                                                          const EntryIndex& summary, const Cryptor::Key& key)
{
    return {Cryptor::seal(revision.encoded(), key, entryContext(id)), Cryptor::seal(RecordStore::Index::packed(summary), key, indexContext(id))};
}

Foundation::Data RecordSealing::sealAttachment(const Attachment& attachment, const Cryptor::Key& key)
{
    return Cryptor::seal(Basalwork::JSONCoder::shared()->encode(attachment), key, attachmentContext(attachment.id));
}

} // namespace Shared
