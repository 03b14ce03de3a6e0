#pragma once

#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <vector>

namespace Shared {

// What the importer needs of the record store.
class ImporterRecordSource {
public:
    virtual ~ImporterRecordSource() = default;
    // Those of `ids` that items of the vault already have (items in the trash included).
    virtual std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const = 0;
    // Adds the items and the descriptions of their attachments in one save: all of them, or none when
    // it throws.
    virtual void insertEntries(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments) = 0;
    // Where the parts of an import go.
    class BatchSink {
    public:
        virtual ~BatchSink() = default;
        // As `existingEntryIDs` above, answered while parts go in.
        virtual std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const = 0;
        // Takes a part: its items and the descriptions of their attachments (it may take them out of the
        // vectors).
        virtual void add(std::vector<Entry>& entries, std::vector<Attachment>& attachments) = 0;
    };
    // Adds what `produce` hands to the sink, a part at a time, in one save: all of it, or nothing when
    // `produce` or the save throws. A store may take in the parts already handed over while `produce`
    // makes the next one, and may run `produce` on another thread. By default, everything is gathered
    // first and added with `insertEntries`.
    virtual void insertEntryBatches(const std::function<void(BatchSink& sink)>& produce);
};

} // namespace Shared
