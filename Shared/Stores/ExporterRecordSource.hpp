#pragma once

#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstddef>
#include <functional>
#include <vector>

namespace Shared {

// What the exporter needs of the record store.
class ExporterRecordSource {
public:
    virtual ~ExporterRecordSource() = default;
    // Every item, those in the trash included.
    virtual std::vector<Entry> allEntries() const = 0;
    // The items of `allEntries` in its order (those in the trash only when asked for), a batch at a
    // time: `counted` hears how many there are before the first batch. A store that can open its
    // items a batch at a time keeps the memory of one batch; this one takes them all at once.
    virtual void readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                             const std::function<void(std::vector<Entry>& batch)>& batch) const;
    // The attachments whose descriptions open; each one that does not is named in `unreadable`.
    virtual std::vector<Attachment> allAttachments(std::vector<Foundation::String>* unreadable = nullptr) const = 0;
    // A decrypted copy of an attachment in a temporary folder of its own, which the caller removes.
    virtual Foundation::URL decryptAttachmentToTemporaryFile(const Foundation::String& attachmentID) const = 0;
};

} // namespace Shared
