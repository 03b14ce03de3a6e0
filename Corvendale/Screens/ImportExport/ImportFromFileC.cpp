#include "Corvendale/Screens/Details/MailCoordinator.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileC.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/UIViewController.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/Bundle.hpp"
#include "Basalwork/Base/CSVParserError.hpp"
#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"

namespace Corvendale {

using State = ImportFromFileVState;

ImportFromFileC::ImportFromFileC(const std::shared_ptr<ImportFromFileCDelegate>& delegate, std::optional<Foundation::URL> fileURL)
    : UIViewController(std::nullopt, nullptr)
    , m_delegate(delegate)
    , m_selectedFileURL(std::move(fileURL))
{
}

ImportFromFileC::~ImportFromFileC()
{
    if (m_observer)
        dependencies().notificationCenter->removeObserver(m_observer.get());
}

void ImportFromFileC::loadView()
{
    m_customView = Foundation::make<ImportFromFileV>(std::static_pointer_cast<ImportFromFileVDelegate>(sharedSelf(this)));
    setView(m_customView);
}

void ImportFromFileC::viewDidLoad()
{
    UIViewController::viewDidLoad();
    // Leaves a running import alone, so that the page shows it with its Cancel rather than a second start.
    dependencies().importer->resetStatus();
    updateView(false, false);
    startObservingImporter();
}

void ImportFromFileC::select(const Foundation::URL& fileURL, bool animated)
{
    m_selectedFileURL = fileURL;
    updateView(animated, true);
}

void ImportFromFileC::selectAttachmentsURL(const Foundation::URL& attachmentsURL, bool animated)
{
    m_selectedAttachmentsURL = attachmentsURL;
    updateView(animated, true);
}

void ImportFromFileC::startObservingImporter()
{
    std::weak_ptr<ImportFromFileC> weak = sharedSelf(this);
    m_observer = dependencies().notificationCenter->addObserver(Shared::Importer::importerDidUpdateImportStatus(), dependencies().importer,
                                                                Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                                                    if (auto self = weak.lock())
                                                                        self->updateView(true, false);
                                                                });
}

State ImportFromFileC::makeState() const
{
    const auto& status = dependencies().importer->status();
    using Status = Shared::Importer::Status;
    if (const auto* running = status.as<Status::InProgress>())
        return State::ImportInProgress {running->fileFormat, running->progress};
    if (const auto* completed = status.as<Status::Completed>()) {
        if (completed->report.failures.empty())
            return State::ImportComplete {completed->report};
        return State::ImportCompleteWithFailures {completed->report};
    }
    if (const auto* failed = status.as<Status::Failed>()) {
        const auto* csvError = dynamic_cast<const Basalwork::CSVParserError*>(failed->error.get());
        if (csvError)
            if (const auto* missing = csvError->as<Basalwork::CSVParserError::FailedToAccessRequiredColumnLabel>())
                return State::ImportFailedToAccessRequiredColumnLabel {failed->fileFormat, missing->label};
        return State::ImportFailed {failed->fileFormat, Foundation::String(failed->error ? failed->error->description() : std::string())};
    }
    if (!m_selectedApp)
        return State::SelectApp {};
    if (!m_selectedFileFormat)
        return State::SelectFileFormat {*m_selectedApp};
    if (!m_selectedFileURL)
        return State::SelectFileURL {*m_selectedFileFormat, std::nullopt};
    return State::SelectAttachmentsURL {*m_selectedFileFormat, m_selectedFileURL, m_selectedAttachmentsURL, m_tagsToAddText};
}

void ImportFromFileC::updateView(bool animated, bool scrollToBottom)
{
    loadViewIfNeeded();
    const auto state = makeState();
    std::weak_ptr<ImportFromFileC> weak = sharedSelf(this);
    Shared::perform(
        *this, [this, &state] { m_customView->update(state); }, animated, animationDuration,
        [weak, scrollToBottom, animated] {
            if (auto self = weak.lock(); self && scrollToBottom)
                self->m_customView->scrollToBottom(animated);
        });
}

// MARK: - The page's choices

void ImportFromFileC::didSelect(const std::optional<Shared::ImporterApp>& app, ImportFromFileV&)
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
    m_selectedFileURL.reset();
    m_selectedAttachmentsURL.reset();
    m_tagsToAddText.reset();
    updateView(true, false);
}

void ImportFromFileC::didSelect(const std::optional<Shared::ImporterFileFormat>& fileFormat, ImportFromFileVFileFormatsV&)
{
    if (fileFormat) {
        m_selectedFileFormat = fileFormat;
        return updateView(true, true);
    }
    m_selectedFileFormat.reset();
    m_selectedFileURL.reset();
    m_selectedAttachmentsURL.reset();
    m_tagsToAddText.reset();
    updateView(true, false);
}

void ImportFromFileC::didSelect(const std::optional<Foundation::URL>& fileURL, ImportFromFileVFileToImportV&)
{
    if (fileURL) {
        m_selectedFileURL = fileURL;
        return updateView(true, true);
    }
    m_selectedFileURL.reset();
    m_selectedAttachmentsURL.reset();
    m_tagsToAddText.reset();
    updateView(true, false);
}

void ImportFromFileC::didFailToSelectFileURL(const Foundation::ErrorPtr& error, ImportFromFileVFileToImportV&)
{
    if (error)
        handleUnexpectedError(*error, Foundation::String("didFailToSelectFileURL(error:fileToImportV:)"));
}

void ImportFromFileC::didRequestFileURLPicker(ImportFromFileVFileToImportV&)
{
    if (!m_selectedFileFormat)
        return;
    auto picker = Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {Shared::utType(*m_selectedFileFormat)});
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    m_documentPickerContext = DocumentPickerContext::selectFileURL;
    present(picker, true);
}

void ImportFromFileC::didSelect(const std::optional<Foundation::URL>& attachmentsURL, ImportFromFileVAttachmentsToImportV&)
{
    m_selectedAttachmentsURL = attachmentsURL;
    updateView(true, attachmentsURL.has_value());
}

void ImportFromFileC::didFailToSelectAttachmentsURL(const Foundation::ErrorPtr& error, ImportFromFileVAttachmentsToImportV&)
{
    if (error)
        handleUnexpectedError(*error, Foundation::String("didFailToSelectAttachmentsURL(error:attachmentsToImportV:)"));
}

void ImportFromFileC::didRequestAttachmentsURLPicker(ImportFromFileVAttachmentsToImportV&)
{
    presentAttachmentsURLPicker(true);
}

void ImportFromFileC::didUpdate(const Foundation::String& tagsToAddText, ImportFromFileV&)
{
    m_tagsToAddText = tagsToAddText;
    updateView(true, true);
}

void ImportFromFileC::didSelectDone(SettingsVHeaderV&)
{
    if (auto delegate = this->delegate())
        delegate->didSelectDone(*this);
}

// MARK: - The button

void ImportFromFileC::didSelectActionButton(ImportFromFileV&)
{
    const auto state = makeState();
    auto reportAndStartOver = [this](Shared::ImporterFileFormat format, bool isError) {
        if (auto responder = Basalwork::findFirstResponder(*m_customView))
            responder->resignFirstResponder();
        presentFailureReport(format, isError, true);
        startOver();
        updateView(true, false);
    };
    if (const auto* fileStep = state.as<State::SelectFileURL>()) {
        if (fileStep->fileURL)
            startImport();
    } else if (state.is<State::SelectAttachmentsURL>()) {
        startImport();
    } else if (const auto* running = state.as<State::ImportInProgress>()) {
        if (running->progress)
            running->progress->cancel();
    } else if (state.is<State::ImportComplete>() || state.is<State::ImportFailedToAccessRequiredColumnLabel>()) {
        startOver();
        updateView(true, false);
    } else if (const auto* withFailures = state.as<State::ImportCompleteWithFailures>()) {
        reportAndStartOver(withFailures->report.fileFormat, false);
    } else if (const auto* failed = state.as<State::ImportFailed>()) {
        reportAndStartOver(failed->fileFormat, true);
    }
}

void ImportFromFileC::startImport()
{
    if (m_selectedFileFormat && m_selectedFileURL)
        return dependencies().importer->startImport(*m_selectedFileFormat, *m_selectedFileURL, m_selectedAttachmentsURL, m_tagsToAddText);
    updateView(true, true);
}

void ImportFromFileC::startOver()
{
    m_selectedApp.reset();
    m_selectedFileFormat.reset();
    m_selectedFileURL.reset();
    m_selectedAttachmentsURL.reset();
    m_tagsToAddText.reset();
    dependencies().importer->resetStatus();
}

// MARK: - Pickers

void ImportFromFileC::presentAttachmentsURLPicker(bool animated)
{
    auto picker = Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {UniformTypeIdentifiers::UTType::folder()});
    // The folder named like the export file, beside it.
    if (m_selectedFileURL)
        picker->setDirectoryURL(m_selectedFileURL->deletingPathExtension());
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    m_documentPickerContext = DocumentPickerContext::selectAttachmentsURL;
    present(picker, animated);
}

void ImportFromFileC::documentPicker(UIKit::UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls)
{
    if (urls.empty() || !m_documentPickerContext)
        return;
    if (*m_documentPickerContext == DocumentPickerContext::selectAttachmentsURL)
        m_selectedAttachmentsURL = urls.front();
    else
        m_selectedFileURL = urls.front();
    updateView(true, false);
}

void ImportFromFileC::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                            std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

// MARK: - Failure report

Foundation::String ImportFromFileC::fileFormatLabel(Shared::ImporterFileFormat fileFormat)
{
    switch (static_cast<int>(fileFormat)) {
    case 0:
        return "1pux";
    case 1:
        return "1pif";
    case 5:
    case 10:
    case 13:
    case 15:
    case 17:
        return "json";
    case 12:
        return "elpassexport";
    case 31:
    case 33:
        return "xml";
    case 32:
        return "spef";
    default:
        return "csv";
    }
}

Foundation::String ImportFromFileC::failureReportSubject(Shared::ImporterFileFormat fileFormat, bool isError)
{
    return Foundation::String(Shared::name(Shared::app(fileFormat)).utf8() + " import " + (isError ? "error" : "failures"));
}

Foundation::String ImportFromFileC::failureReportBody(Shared::ImporterFileFormat fileFormat, bool isError, const Foundation::String& failureText)
{
    const auto version = Basalwork::versionAndBuildCompact(*Foundation::Bundle::main()).value_or(Foundation::String());
    return Foundation::String("Hello,\n\n" + Shared::Global::corvendale().utf8() + " " + version.utf8() + " encountered the following "
                              + (isError ? "error" : "failures") + " while attempting to import from " + Shared::name(Shared::app(fileFormat)).utf8()
                              + " " + fileFormatLabel(fileFormat).utf8()
                              + ". Please let me know as soon as this is resolved. Thanks in advance!\n\n=====\n\n" + failureText.utf8() + "\n\n=====");
}

void ImportFromFileC::presentFailureReport(Shared::ImporterFileFormat fileFormat, bool isError, bool animated)
{
    MailCoordinator::compose(Shared::Global::Contact::infoEmailAddress(), failureReportSubject(fileFormat, isError),
                             failureReportBody(fileFormat, isError, m_customView->failureText()), std::nullopt, Foundation::String("Reporting errors"), *this,
                             animated);
}

} // namespace Corvendale
