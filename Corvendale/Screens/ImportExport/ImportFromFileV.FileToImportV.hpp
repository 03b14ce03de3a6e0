#pragma once

#include "Shared/Screens/FileURLInputDelegate.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

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

class ImportFromFileV_FileToImportV_Delegate;
class ImportFromFileVFileToImportVRequiredColumnLabelsV;

// ImportFromFileV.FileToImportV: the export file, with the column labels a CSV format requires.
class ImportFromFileVFileToImportV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling, public Shared::FileURLInputDelegate {
public:
    std::shared_ptr<ImportFromFileV_FileToImportV_Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ImportFromFileV_FileToImportV_Delegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<ImportFromFileVFileToImportVRequiredColumnLabelsV>& requiredColumnLabelsV() const { return m_requiredColumnLabelsV; }
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Shared::FileURLInput>& fileURLInput() const { return m_fileURLInput; }

    const std::optional<Shared::ImporterFileFormat>& selectedFileFormat() const { return m_selectedFileFormat; }
    // Rewrites the question, the required labels and the kind of file the input takes.
    void setSelectedFileFormat(std::optional<Shared::ImporterFileFormat> format);
    std::optional<Foundation::String> locationText() const;
    void setLocationText(std::optional<Foundation::String> text);

    void update(const Shared::Settings::Appearance& appearance) override;

    void didSelect(const Foundation::URL& fileURL, Shared::FileURLInput& fileURLInput) override;
    void didSelectClear(Shared::FileURLInput& fileURLInput) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, Shared::FileURLInput& fileURLInput) override;
    void didRequestFileURLPicker(Shared::FileURLInput& fileURLInput) override;

protected:
    friend Foundation::Construct;
    ImportFromFileVFileToImportV();
    void initialize() override;

private:
    void updateRequiredColumnLabels();

    std::weak_ptr<ImportFromFileV_FileToImportV_Delegate> m_delegate;
    std::shared_ptr<ImportFromFileVFileToImportVRequiredColumnLabelsV> m_requiredColumnLabelsV;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<Shared::FileURLInput> m_fileURLInput;
    std::optional<Shared::ImporterFileFormat> m_selectedFileFormat;
};

} // namespace Corvendale
