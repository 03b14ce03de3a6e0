#pragma once

#include "Corvendale/Screens/ImportExport/ImportFromFileV.State.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Transfer/Importer.App.hpp"

#include <memory>

namespace Basalwork {
class PromotionButton;
}

namespace Corvendale {

class ImportFromFileVAttachmentsToImportV;
class ImportFromFileVDelegate;
class ImportFromFileVFileFormatsV;
class ImportFromFileVFileToImportV;
class ImportFromFileVReportV;
class ImportFromFileVTagsToAddV;
class TransferInProgressV;

// The import page: every step of an import in one column, each shown only in the states it belongs to.
// It keeps nothing: the controller hands it the whole state after every change.
class ImportFromFileV : public SettingsPageV {
public:
    using State = ImportFromFileVState;

    std::shared_ptr<ImportFromFileVDelegate> delegate() const { return m_delegate.lock(); }
    // Handed on to the header and the parts that report.
    void setDelegate(const std::shared_ptr<ImportFromFileVDelegate>& delegate);

    const std::shared_ptr<SettingsVOptionSettingV<Shared::ImporterApp>>& appsV() const { return m_appsV; }
    const std::shared_ptr<ImportFromFileVFileFormatsV>& fileFormatsV() const { return m_fileFormatsV; }
    const std::shared_ptr<ImportFromFileVFileToImportV>& fileToImportV() const { return m_fileToImportV; }
    const std::shared_ptr<ImportFromFileVAttachmentsToImportV>& attachmentsToImportV() const { return m_attachmentsToImportV; }
    const std::shared_ptr<ImportFromFileVTagsToAddV>& tagsToAddV() const { return m_tagsToAddV; }
    const std::shared_ptr<TransferInProgressV>& importInProgressV() const { return m_importInProgressV; }
    const std::shared_ptr<ImportFromFileVReportV>& reportV() const { return m_reportV; }
    const std::shared_ptr<Basalwork::PromotionButton>& actionButton() const { return m_actionButton; }

    void update(const State& state);
    void scrollToBottom(bool animated);
    // What the report's failure box holds now.
    Foundation::String failureText() const;

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    explicit ImportFromFileV(const std::shared_ptr<ImportFromFileVDelegate>& delegate);
    void initialize() override;

private:
    void setupPage();
    void handOnDelegate();

    std::weak_ptr<ImportFromFileVDelegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<Shared::ImporterApp>> m_appsV;
    std::shared_ptr<ImportFromFileVFileFormatsV> m_fileFormatsV;
    std::shared_ptr<ImportFromFileVFileToImportV> m_fileToImportV;
    std::shared_ptr<ImportFromFileVAttachmentsToImportV> m_attachmentsToImportV;
    std::shared_ptr<ImportFromFileVTagsToAddV> m_tagsToAddV;
    std::shared_ptr<TransferInProgressV> m_importInProgressV;
    std::shared_ptr<ImportFromFileVReportV> m_reportV;
    std::shared_ptr<Basalwork::PromotionButton> m_actionButton;
};

} // namespace Corvendale
