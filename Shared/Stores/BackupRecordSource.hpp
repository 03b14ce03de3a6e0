#pragma once

#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <vector>

namespace Shared {

class Cryptor;

// What the backup store needs of the record store. Reads may come from a worker thread.
class BackupRecordSource {
public:
    virtual ~BackupRecordSource() = default;
    virtual std::shared_ptr<Cryptor> cryptor() const = 0;
    virtual std::vector<Entry> allEntries() const = 0;
    // The attachments whose descriptions open; each one that does not is named in `unreadable`.
    virtual std::vector<Attachment> allAttachments(std::vector<Foundation::String>* unreadable = nullptr) const = 0;
    // Replaces every item and attachment description in one save: all of it, or nothing when it throws.
    virtual void replaceAllRecords(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments) = 0;
};

} // namespace Shared
