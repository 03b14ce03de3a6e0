#pragma once

#include "Shared/Screens/FileURLInputDelegate.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Shared {
class FileURLInput;
}

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class ExportToFileV_ExportLocationV_Delegate;

// ExportToFileV.ExportLocationV: the folder the export goes to, and, once one is chosen, the warning
// that what lands there is not encrypted.
class ExportToFileVExportLocationV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling, public Shared::FileURLInputDelegate {
public:
    static constexpr const char* unencryptedWarning =
        "Please remember exported items and attachments are NOT encrypted. Anyone with access to these files can read them. Please keep them safe!";

    std::shared_ptr<ExportToFileV_ExportLocationV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ExportToFileV_ExportLocationV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Shared::FileURLInput>& fileURLInput() const { return m_fileURLInput; }
    const std::shared_ptr<UIKit::UILabel>& warningLabel() const { return m_warningLabel; }

    const std::optional<Shared::ExporterFileFormat>& selectedFileFormat() const { return m_selectedFileFormat; }
    void setSelectedFileFormat(std::optional<Shared::ExporterFileFormat> format);
    std::optional<Foundation::String> locationText() const;
    void setLocationText(std::optional<Foundation::String> text);

    void update(const Shared::Settings::Appearance& appearance) override;

    void didSelect(const Foundation::URL& fileURL, Shared::FileURLInput& fileURLInput) override;
    void didSelectClear(Shared::FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(Shared::FileURLInput& fileURLInput) override;

protected:
    friend Foundation::Construct;
    ExportToFileVExportLocationV();
    void initialize() override;

private:
    std::weak_ptr<ExportToFileV_ExportLocationV_Delegate> m_delegate;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Shared::FileURLInput> m_fileURLInput;
    std::shared_ptr<UIKit::UILabel> m_warningLabel;
    std::optional<Shared::ExporterFileFormat> m_selectedFileFormat;
};

} // namespace Corvendale
