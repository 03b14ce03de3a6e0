#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Corvendale {

class ExportToFileVExportLocationV;

// Told what happens to the destination folder input: a folder chosen or dropped (none: cleared), a drop
// it could not take, a request for the folder picker.
class ExportToFileV_ExportLocationV_Delegate {
public:
    virtual ~ExportToFileV_ExportLocationV_Delegate() = default;
    virtual void didSelect(const std::optional<Foundation::URL>& locationURL, ExportToFileVExportLocationV& exportLocationV) = 0;
    virtual void didFailToSelectLocationURL(const Foundation::ErrorPtr& error, ExportToFileVExportLocationV& exportLocationV) = 0;
    virtual void didRequestLocationURLPicker(ExportToFileVExportLocationV& exportLocationV) = 0;
};

} // namespace Corvendale
