#pragma once

#include "Shared/Stores/ImporterRecordSource.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace Shared {

class RecordStore;
struct Attachment;
class Entry;
struct EntryIndex;

// Many items in or out of the record store at once: an import, an export, a restore. Sealing and
// opening run on every core while the store's queue reads or writes the rows; the store keeps its
// index and announcements itself, from what each transfer answers.
class RecordStoreBulkTransfer {
public:
    explicit RecordStoreBulkTransfer(const RecordStore& store)
        : m_store(store)
    {
    }

    // As `ExporterRecordSource::readEntries`, the vault locked or not.
    void readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                     const std::function<void(std::vector<Entry>& batch)>& batch) const;
    // As `ImporterRecordSource::insertEntryBatches`; answers the summaries of the items written, a
    // part at a time.
    std::vector<std::vector<EntryIndex>> insertEntryBatches(const std::function<void(ImporterRecordSource::BatchSink& sink)>& produce) const;
    // Adds the items not yet there and the descriptions of the attachments in one save; replacing all,
    // what is not among them is deleted, also from the account. Answers the summaries written and the
    // items removed.
    std::pair<std::vector<EntryIndex>, std::vector<Foundation::String>> writeRecords(const std::vector<Entry>& entries,
                                                                                      const std::vector<Attachment>& attachments,
                                                                                      bool replacingAll) const;

private:
    class Reading;
    class Inserting;

    const RecordStore& m_store;
};

} // namespace Shared
