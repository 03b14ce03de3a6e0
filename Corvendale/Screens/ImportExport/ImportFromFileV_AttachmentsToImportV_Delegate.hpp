#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Corvendale {

class ImportFromFileVAttachmentsToImportV;

// Told what happens to the attachments folder input: a folder chosen or dropped (none: cleared), a drop
// it could not take, a request for the folder picker.
class ImportFromFileV_AttachmentsToImportV_Delegate {
public:
    virtual ~ImportFromFileV_AttachmentsToImportV_Delegate() = default;
    virtual void didSelect(const std::optional<Foundation::URL>& attachmentsURL, ImportFromFileVAttachmentsToImportV& attachmentsToImportV) = 0;
    virtual void didFailToSelectAttachmentsURL(const Foundation::ErrorPtr& error, ImportFromFileVAttachmentsToImportV& attachmentsToImportV) = 0;
    virtual void didRequestAttachmentsURLPicker(ImportFromFileVAttachmentsToImportV& attachmentsToImportV) = 0;
};

} // namespace Corvendale
