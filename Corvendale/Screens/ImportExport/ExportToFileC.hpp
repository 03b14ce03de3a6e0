#pragma once

#include "Corvendale/Screens/ImportExport/ExportToFileVDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Transfer/Exporter.App.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"

#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>

namespace Corvendale {

class ExportToFileCDelegate;
class ExportToFileV;
class ExportToFileVState;

// The export page's controller: keeps the user's choices (app, format, folder), shows the state they
// make with the exporter's status, and turns the page's one button into starting, cancelling,
// acknowledging and reporting by mail. The export itself is the exporter's.
class ExportToFileC : public UIKit::UIViewController, public ExportToFileVDelegate, public UIKit::UIDocumentPickerDelegate, public UnexpectedErrorHandling {
public:
    static constexpr double animationDuration = 0.25;

    ~ExportToFileC() override;

    std::shared_ptr<ExportToFileCDelegate> delegate() const { return m_delegate.lock(); }
    const std::shared_ptr<ExportToFileV>& exportToFileVC() const { return m_exportToFileVC; }

    void loadView() override;
    void viewDidLoad() override;

    ExportToFileVState makeState() const;
    void updateView(bool animated, bool scrollToBottom);

    // ExportToFileVDelegate
    void didSelect(const std::optional<Shared::ExporterApp>& app, ExportToFileV& exportToFileV) override;
    void didSelectActionButton(ExportToFileV& exportToFileV) override;
    void didSelect(const std::optional<Shared::ExporterFileFormat>& fileFormat, ExportToFileVFileFormatsV& fileFormatsV) override;
    void didSelect(const std::optional<Foundation::URL>& locationURL, ExportToFileVExportLocationV& exportLocationV) override;
    void didFailToSelectLocationURL(const Foundation::ErrorPtr& error, ExportToFileVExportLocationV& exportLocationV) override;
    void didRequestLocationURLPicker(ExportToFileVExportLocationV& exportLocationV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

    // UIDocumentPickerDelegate
    void documentPicker(UIKit::UIDocumentPickerViewController& controller, const std::vector<Foundation::URL>& urls) override;

    // UnexpectedErrorHandling
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // The report mail's subject and body; the body carries the failure text as the user left it.
    static Foundation::String failureReportSubject(Shared::ExporterFileFormat fileFormat, bool isError);
    static Foundation::String failureReportBody(Shared::ExporterFileFormat fileFormat, bool isError, const Foundation::String& failureText);

protected:
    friend Foundation::Construct;
    ExportToFileC(const std::shared_ptr<ExportToFileCDelegate>& delegate, std::optional<Shared::ExporterFileFormat> fileFormat);

private:
    void startObservingExporter();
    void startExport();
    void exportAgain();
    void presentFailureReport(Shared::ExporterFileFormat fileFormat, bool isError, bool animated);

    std::weak_ptr<ExportToFileCDelegate> m_delegate;
    std::shared_ptr<ExportToFileV> m_exportToFileVC;
    std::optional<Shared::ExporterApp> m_selectedApp;
    std::optional<Shared::ExporterFileFormat> m_selectedFileFormat;
    std::optional<Foundation::URL> m_selectedLocationURL;
    std::shared_ptr<Foundation::NSObject> m_observer;
};

} // namespace Corvendale
