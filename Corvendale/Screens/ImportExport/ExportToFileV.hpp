#pragma once

#include "Corvendale/Screens/ImportExport/ExportToFileV.State.hpp"
#include "Corvendale/Screens/Settings/SettingsPageV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"

#include "Shared/Transfer/Exporter.App.hpp"

#include <memory>

namespace Basalwork {
class PromotionButton;
}

namespace Corvendale {

class ExportToFileVDelegate;
class ExportToFileVExportLocationV;
class ExportToFileVFileFormatsV;
class ExportToFileVReportV;
class TransferInProgressV;

// The export page: app, format, folder, progress and report in one column, each shown only in the
// states it belongs to. It keeps nothing: the controller hands it the whole state after every change.
class ExportToFileV : public SettingsPageV {
public:
    using State = ExportToFileVState;

    std::shared_ptr<ExportToFileVDelegate> delegate() const { return m_delegate.lock(); }
    // Handed on to the header and the parts that report.
    void setDelegate(const std::shared_ptr<ExportToFileVDelegate>& delegate);

    const std::shared_ptr<SettingsVOptionSettingV<Shared::ExporterApp>>& appsV() const { return m_appsV; }
    const std::shared_ptr<ExportToFileVFileFormatsV>& fileFormatsV() const { return m_fileFormatsV; }
    const std::shared_ptr<ExportToFileVExportLocationV>& exportLocationV() const { return m_exportLocationV; }
    const std::shared_ptr<TransferInProgressV>& exportInProgressV() const { return m_exportInProgressV; }
    const std::shared_ptr<ExportToFileVReportV>& reportV() const { return m_reportV; }
    const std::shared_ptr<Basalwork::PromotionButton>& actionButton() const { return m_actionButton; }

    void update(const State& state);
    void scrollToBottom(bool animated);
    Foundation::String failureText() const;

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    explicit ExportToFileV(const std::shared_ptr<ExportToFileVDelegate>& delegate);
    void initialize() override;

private:
    void setupPage();
    void handOnDelegate();

    std::weak_ptr<ExportToFileVDelegate> m_delegate;
    std::shared_ptr<SettingsVOptionSettingV<Shared::ExporterApp>> m_appsV;
    std::shared_ptr<ExportToFileVFileFormatsV> m_fileFormatsV;
    std::shared_ptr<ExportToFileVExportLocationV> m_exportLocationV;
    std::shared_ptr<TransferInProgressV> m_exportInProgressV;
    std::shared_ptr<ExportToFileVReportV> m_reportV;
    std::shared_ptr<Basalwork::PromotionButton> m_actionButton;
};

} // namespace Corvendale
