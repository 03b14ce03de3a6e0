#include "Shared/Stores/ImporterRecordSource.hpp"

#include <iterator>
#include <utility>

namespace Shared {

void ImporterRecordSource::insertEntryBatches(const std::function<void(BatchSink& sink)>& produce)
{
    struct Gathering : BatchSink {
        const ImporterRecordSource& source;
        std::vector<Entry> entries;
        std::vector<Attachment> attachments;

        explicit Gathering(const ImporterRecordSource& source)
            : source(source)
        {
        }
        std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const override { return source.existingEntryIDs(ids); }
        void add(std::vector<Entry>& partEntries, std::vector<Attachment>& partAttachments) override
        {
            std::move(partEntries.begin(), partEntries.end(), std::back_inserter(entries));
            std::move(partAttachments.begin(), partAttachments.end(), std::back_inserter(attachments));
        }
    } gathering(*this);
    produce(gathering);
    insertEntries(gathering.entries, gathering.attachments);
}

} // namespace Shared
