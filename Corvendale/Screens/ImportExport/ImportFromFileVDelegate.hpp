#pragma once

#include "Corvendale/Screens/ImportExport/ImportFromFileV_AttachmentsToImportV_Delegate.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV_FileFormatsV_Delegate.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV_FileToImportV_Delegate.hpp"
#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Shared/Transfer/Importer.App.hpp"

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Corvendale {

class ImportFromFileV;

// What the import page's view reports: everything its parts report, and the app chosen (none: cleared),
// the tags text as typed and a press of the page's one button.
class ImportFromFileVDelegate : public ImportFromFileV_AttachmentsToImportV_Delegate,
                                public ImportFromFileV_FileFormatsV_Delegate,
                                public ImportFromFileV_FileToImportV_Delegate,
                                public SettingsV_HeaderV_Delegate {
public:
    virtual void didSelect(const std::optional<Shared::ImporterApp>& app, ImportFromFileV& importFromFileV) = 0;
    virtual void didUpdate(const Foundation::String& tagsToAddText, ImportFromFileV& importFromFileV) = 0;
    virtual void didSelectActionButton(ImportFromFileV& importFromFileV) = 0;

    using ImportFromFileV_AttachmentsToImportV_Delegate::didSelect;
    using ImportFromFileV_FileFormatsV_Delegate::didSelect;
    using ImportFromFileV_FileToImportV_Delegate::didSelect;
};

} // namespace Corvendale
