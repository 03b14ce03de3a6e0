#include "Corvendale/Screens/Details/MailCoordinator.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileC.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/UIViewController.hpp"
#include "Shared/Transfer/Exporter.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"

namespace Corvendale {

using State = ExportToFileVState;

ExportToFileC::ExportToFileC(const std::shared_ptr<ExportToFileCDelegate>& delegate, std::optional<Shared::ExporterFileFormat> fileFormat)
    : UIViewController(std::nullopt, nullptr)
    , m_delegate(delegate)
    , m_selectedFileFormat(fileFormat)
{
}

ExportToFileC::~ExportToFileC()
{
    if (m_observer)
        dependencies().notificationCenter->removeObserver(m_observer.get());
}

void ExportToFileC::loadView()
{
    m_exportToFileVC = Foundation::make<ExportToFileV>(std::static_pointer_cast<ExportToFileVDelegate>(sharedSelf(this)));
    setView(m_exportToFileVC);
}

void ExportToFileC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    m_selectedFileFormat.reset();
    m_selectedLocationURL.reset();
    // Leaves a running export alone, so that the page shows it with its Cancel rather than a second start.
    dependencies().exporter->resetStatus();
    updateView(false, false);
    startObservingExporter();
}

void ExportToFileC::startObservingExporter()
{
    std::weak_ptr<ExportToFileC> weak = sharedSelf(this);
    m_observer = dependencies().notificationCenter->addObserver(Shared::Exporter::exporterDidUpdateExportStatus(), dependencies().exporter,
                                                                Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                                    if (auto self = weak.lock())
                                                                        self->updateView(true, false);
                                                                });
}

State ExportToFileC::makeState() const
{
    using Status = Shared::Exporter::Status;
    const auto& status = dependencies().exporter->status();
    if (const auto* running = status.as<Status::InProgress>())
        return State::ExportInProgress {running->fileFormat, running->progress};
    if (const auto* completed = status.as<Status::Completed>()) {
        if (completed->report.failures.empty())
            return State::ExportComplete {completed->report};
        return State::ExportCompleteWithFailures {completed->report};
    }
    if (const auto* failed = status.as<Status::Failed>())
        return State::ExportFailed {failed->fileFormat, Foundation::String(failed->error ? failed->error->description() : std::string())};
    if (!m_selectedApp)
        return State::SelectApp {};
    if (!m_selectedFileFormat)
        return State::SelectFileFormat {*m_selectedApp};
    return State::SelectLocationURL {*m_selectedFileFormat, m_selectedLocationURL};
}

void ExportToFileC::updateView(bool animated, bool scrollToBottom)
{
    loadViewIfNeeded();
    const auto state = makeState();
    std::weak_ptr<ExportToFileC> weak = sharedSelf(this);
    Shared::perform(
        *this, [this, &state] { m_exportToFileVC->update(state); }, animated, animationDuration,
        [weak, scrollToBottom, animated] {
            if (auto self = weak.lock(); self && scrollToBottom)
                self->m_exportToFileVC->scrollToBottom(animated);
        });
}

void ExportToFileC::didSelect(const std::optional<Shared::ExporterApp>& app, ExportToFileV&)
{
    if (app) {
        m_selectedApp = app;
        const auto formats = Shared::availableFileFormats(*app);
        if (formats.size() == 1)
            m_selectedFileFormat = formats.front();
        return updateView(true, true);
    }
    m_selectedApp.reset();
    m_selectedFileFormat.reset();
    m_selectedLocationURL.reset();
    updateView(true, false);
}

void ExportToFileC::didSelect(const std::optional<Shared::ExporterFileFormat>& fileFormat, ExportToFileVFileFormatsV&)
{
    if (fileFormat) {
        m_selectedFileFormat = fileFormat;
        return updateView(true, true);
    }
    m_selectedFileFormat.reset();
    m_selectedLocationURL.reset();
    updateView(true, false);
}

void ExportToFileC::didSelect(const std::optional<Foundation::URL>& locationURL, ExportToFileVExportLocationV&)
{
    m_selectedLocationURL = locationURL;
    updateView(true, locationURL.has_value());
}

void ExportToFileC::didFailToSelectLocationURL(const Foundation::ErrorPtr& error, ExportToFileVExportLocationV&)
{
    if (error)
        handleUnexpectedError(*error, Foundation::String("didFailToSelectLocationURL(error:exportLocationV:)"));
}

void ExportToFileC::didRequestLocationURLPicker(ExportToFileVExportLocationV&)
{
    auto picker = Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {UniformTypeIdentifiers::UTType::folder()});
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    present(picker, true);
}

void ExportToFileC::documentPicker(UIKit::UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls)
{
    if (urls.empty())
        return;
    m_selectedLocationURL = urls.front();
    updateView(true, false);
}

void ExportToFileC::didSelectDone(SettingsVHeaderV&)
{
    if (auto delegate = this->delegate())
        delegate->didSelectDone(*this);
}

void ExportToFileC::didSelectActionButton(ExportToFileV&)
{
    const auto state = makeState();
    auto reportAndExportAgain = [this](Shared::ExporterFileFormat format, bool isError) {
        if (auto responder = Basalwork::findFirstResponder(*m_exportToFileVC))
            responder->resignFirstResponder();
        presentFailureReport(format, isError, true);
        exportAgain();
    };
    if (const auto* locationStep = state.as<State::SelectLocationURL>()) {
        if (locationStep->locationURL)
            startExport();
    } else if (const auto* running = state.as<State::ExportInProgress>()) {
        if (running->progress)
            running->progress->cancel();
    } else if (state.is<State::ExportComplete>()) {
        exportAgain();
    } else if (const auto* withFailures = state.as<State::ExportCompleteWithFailures>()) {
        reportAndExportAgain(withFailures->report.fileFormat, false);
    } else if (const auto* failed = state.as<State::ExportFailed>()) {
        reportAndExportAgain(failed->fileFormat, true);
    }
}

void ExportToFileC::startExport()
{
    if (m_selectedFileFormat && m_selectedLocationURL)
        return dependencies().exporter->exportItems(*m_selectedFileFormat, *m_selectedLocationURL);
    updateView(true, true);
}

// Back to the format step with the app kept.
void ExportToFileC::exportAgain()
{
    m_selectedFileFormat.reset();
    m_selectedLocationURL.reset();
    dependencies().exporter->resetStatus();
    updateView(true, false);
}

void ExportToFileC::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                          std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

Foundation::String ExportToFileC::failureReportSubject(Shared::ExporterFileFormat fileFormat, bool isError)
{
    return Foundation::String(Shared::associatedAppName(fileFormat).utf8() + " export " + (isError ? "error" : "failures"));
}

Foundation::String ExportToFileC::failureReportBody(Shared::ExporterFileFormat fileFormat, bool isError, const Foundation::String& failureText)
{
    return Foundation::String("Hello,\n\n" + Shared::Global::corvendale().utf8() + " encountered the following " + (isError ? "error" : "failures")
                              + " while attempting export to " + Shared::associatedAppName(fileFormat).utf8() + " "
                              + Shared::pathExtension(fileFormat).utf8()
                              + ". Please let me know as soon as this is resolved. Thanks in advance!\n\n=====\n\n" + failureText.utf8() + "\n\n=====");
}

void ExportToFileC::presentFailureReport(Shared::ExporterFileFormat fileFormat, bool isError, bool animated)
{
    MailCoordinator::compose(Shared::Global::Contact::infoEmailAddress(), failureReportSubject(fileFormat, isError),
                             failureReportBody(fileFormat, isError, m_exportToFileVC->failureText()), std::nullopt, Foundation::String("Reporting errors"), *this,
                             animated);
}

} // namespace Corvendale
