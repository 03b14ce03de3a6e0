#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Corvendale {

class ImportFromFileVFileToImportV;

// Told what happens to the export file input: a file chosen or dropped (none: cleared), a drop it
// could not take, a request for the file picker.
class ImportFromFileV_FileToImportV_Delegate {
public:
    virtual ~ImportFromFileV_FileToImportV_Delegate() = default;
    virtual void didSelect(const std::optional<Foundation::URL>& fileURL, ImportFromFileVFileToImportV& fileToImportV) = 0;
    virtual void didFailToSelectFileURL(const Foundation::ErrorPtr& error, ImportFromFileVFileToImportV& fileToImportV) = 0;
    virtual void didRequestFileURLPicker(ImportFromFileVFileToImportV& fileToImportV) = 0;
};

} // namespace Corvendale
