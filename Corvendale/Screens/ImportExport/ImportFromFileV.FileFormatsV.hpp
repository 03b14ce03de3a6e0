#pragma once

#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Importer.App.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class ImportFromFileV_FileFormatsV_Delegate;

// ImportFromFileV.FileFormatsV: how to export from the chosen app, and which of its formats the file is.
class ImportFromFileVFileFormatsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        std::optional<Shared::ImporterApp> selectedApp;
        std::optional<Shared::ImporterFileFormat> selectedFileFormat;
    };

    std::shared_ptr<ImportFromFileV_FileFormatsV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ImportFromFileV_FileFormatsV_Delegate>& delegate) { m_delegate = delegate; }
    const std::optional<Shared::ImporterApp>& selectedApp() const { return m_selectedApp; }
    void setSelectedApp(std::optional<Shared::ImporterApp> app) { m_selectedApp = app; }
    const std::shared_ptr<UIKit::UILabel>& exportRequirementLabel() const { return m_exportRequirementLabel; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::ImporterFileFormat>>& fileFormatsV() const { return m_fileFormatsV; }

    void update(const Shared::Settings::Appearance& appearance) override;
    void update(const Config& config);

protected:
    friend Foundation::Construct;
    ImportFromFileVFileFormatsV();
    void initialize() override;

private:
    std::weak_ptr<ImportFromFileV_FileFormatsV_Delegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_exportRequirementLabel;
    std::shared_ptr<SettingsVOptionSettingV<Shared::ImporterFileFormat>> m_fileFormatsV;
    std::optional<Shared::ImporterApp> m_selectedApp;
};

} // namespace Corvendale
