#pragma once

#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Exporter.App.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class ExportToFileV_FileFormatsV_Delegate;

// ExportToFileV.FileFormatsV: the chosen app's formats, with a note on what some of them leave out.
class ExportToFileVFileFormatsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        std::optional<Shared::ExporterApp> selectedApp;
        std::optional<Shared::ExporterFileFormat> selectedFileFormat;
    };

    std::shared_ptr<ExportToFileV_FileFormatsV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ExportToFileV_FileFormatsV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<SettingsVOptionSettingV<Shared::ExporterFileFormat>>& fileFormatsV() const { return m_fileFormatsV; }
    const std::shared_ptr<UIKit::UILabel>& warningLabel() const { return m_warningLabel; }

    void update(const Config& config);
    void update(const Shared::Settings::Appearance& appearance) override;
    static std::optional<Foundation::String> warningText(const Config& config);

protected:
    friend Foundation::Construct;
    ExportToFileVFileFormatsV();
    void initialize() override;

private:
    std::weak_ptr<ExportToFileV_FileFormatsV_Delegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<Shared::ExporterFileFormat>> m_fileFormatsV;
    std::shared_ptr<UIKit::UILabel> m_warningLabel;
    std::optional<Shared::ExporterApp> m_selectedApp;
};

} // namespace Corvendale
