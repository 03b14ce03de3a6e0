#pragma once

#include "Corvendale/Screens/ImportExport/ExportToFileV_ExportLocationV_Delegate.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV_FileFormatsV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Transfer/Exporter.App.hpp"

#include <optional>

namespace Corvendale {

class ExportToFileV;

// What the export page's view reports: everything its parts report, the app chosen (none: cleared) and
// a press of the page's one button.
class ExportToFileVDelegate : public ExportToFileV_ExportLocationV_Delegate, public ExportToFileV_FileFormatsV_Delegate, public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(const std::optional<Shared::ExporterApp>& app, ExportToFileV& exportToFileV) = 0;
    virtual void didSelectActionButton(ExportToFileV& exportToFileV) = 0;

    using ExportToFileV_ExportLocationV_Delegate::didSelect;
    using ExportToFileV_FileFormatsV_Delegate::didSelect;
};

} // namespace Corvendale
