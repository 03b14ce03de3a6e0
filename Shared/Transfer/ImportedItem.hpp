#pragma once

#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <vector>

namespace Shared {

// A file that comes with an imported item: the attachment field whose text is `attachmentID` gets it.
// The file's name is the attachment's name.
struct ImportedAttachment {
    Foundation::String attachmentID;
    Foundation::URL fileURL;
};

// One item read from an export, with its files.
struct ImportedItem {
    Entry entry;
    std::vector<ImportedAttachment> attachments;
};

// What a reader made of a file: the items, and one text per item it had to leave out.
struct ImportReadResult {
    std::vector<ImportedItem> items;
    std::vector<Foundation::String> failures;
};

// Takes a part of what a reader made as it reads on (it may take the items and failures out).
using ImportReadDelivery = std::function<void(ImportReadResult& part)>;

// Tells how far reading has come (0 to 1); throws ImporterError.cancelled once the user cancelled.
using ImportReadProgress = std::function<void(double fraction)>;

} // namespace Shared
