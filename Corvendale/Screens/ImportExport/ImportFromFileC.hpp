#pragma once

#include "Corvendale/Screens/ImportExport/ImportFromFileVDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Transfer/Importer.App.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>

namespace Corvendale {

class ImportFromFileCDelegate;
class ImportFromFileV;
class ImportFromFileVState;

// The import page's controller: keeps the user's choices (app, format, file, attachments folder, tags),
// shows the state they make with the importer's status, and turns the page's one button into starting,
// cancelling, starting over and reporting a failure by mail. The import itself is the importer's.
class ImportFromFileC : public UIKit::UIViewController,
                        public ImportFromFileVDelegate,
                        public UIKit::UIDocumentPickerDelegate,
                        public UnexpectedErrorHandling {
public:
    static constexpr double animationDuration = 0.25;

    ~ImportFromFileC() override;

    std::shared_ptr<ImportFromFileCDelegate> delegate() const { return m_delegate.lock(); }
    const std::shared_ptr<ImportFromFileV>& customView() const { return m_customView; }

    // A file or attachments folder opened from outside while the page shows.
    void select(const Foundation::URL& fileURL, bool animated);
    void selectAttachmentsURL(const Foundation::URL& attachmentsURL, bool animated);

    void loadView() override;
    void viewDidLoad() override;

    ImportFromFileVState makeState() const;
    void updateView(bool animated, bool scrollToBottom);

    // ImportFromFileVDelegate
    void didSelect(const std::optional<Shared::ImporterApp>& app, ImportFromFileV& importFromFileV) override;
    void didUpdate(const Foundation::String& tagsToAddText, ImportFromFileV& importFromFileV) override;
    void didSelectActionButton(ImportFromFileV& importFromFileV) override;
    void didSelect(const std::optional<Shared::ImporterFileFormat>& fileFormat, ImportFromFileVFileFormatsV& fileFormatsV) override;
    void didSelect(const std::optional<Foundation::URL>& fileURL, ImportFromFileVFileToImportV& fileToImportV) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, ImportFromFileVFileToImportV& fileToImportV) override;
    void didRequestFileURLPicker(ImportFromFileVFileToImportV& fileToImportV) override;
    void didSelect(const std::optional<Foundation::URL>& attachmentsURL, ImportFromFileVAttachmentsToImportV& attachmentsToImportV) override;
    void didFailToSelectAttachmentsURL(const Foundation::ErrorPtr& error, ImportFromFileVAttachmentsToImportV& attachmentsToImportV) override;
    void didRequestAttachmentsURLPicker(ImportFromFileVAttachmentsToImportV& attachmentsToImportV) override;
    void didSelectDone(SettingsVHeaderV& headerV) override;

    // UIDocumentPickerDelegate
    void documentPicker(UIKit::UIDocumentPickerViewController& controller, const std::vector<Foundation::URL>& urls) override;

    // UnexpectedErrorHandling
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // The report mail's subject and body; the body carries the failure text as the user left it.
    static Foundation::String failureReportSubject(Shared::ImporterFileFormat fileFormat, bool isError);
    static Foundation::String failureReportBody(Shared::ImporterFileFormat fileFormat, bool isError, const Foundation::String& failureText);
    // The file's kind as the report names it ("csv", "json", "xml", ...).
    static Foundation::String fileFormatLabel(Shared::ImporterFileFormat fileFormat);

protected:
    friend Foundation::Construct;
    ImportFromFileC(const std::shared_ptr<ImportFromFileCDelegate>& delegate, std::optional<Foundation::URL> fileURL);

private:
    enum class DocumentPickerContext { selectFileURL, selectAttachmentsURL };

    void startObservingImporter();
    void startImport();
    void startOver();
    void presentAttachmentsURLPicker(bool animated);
    void presentFailureReport(Shared::ImporterFileFormat fileFormat, bool isError, bool animated);

    std::weak_ptr<ImportFromFileCDelegate> m_delegate;
    std::shared_ptr<ImportFromFileV> m_customView;
    std::optional<Shared::ImporterApp> m_selectedApp;
    std::optional<Shared::ImporterFileFormat> m_selectedFileFormat;
    std::optional<Foundation::URL> m_selectedFileURL;
    std::optional<Foundation::URL> m_selectedAttachmentsURL;
    std::optional<Foundation::String> m_tagsToAddText;
    std::optional<DocumentPickerContext> m_documentPickerContext;
    std::shared_ptr<Foundation::NSObject> m_observer;
};

} // namespace Corvendale
