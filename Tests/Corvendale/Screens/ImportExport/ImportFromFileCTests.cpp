#include "Tests/Corvendale/Screens/ImportExport/TransferPageFixture.hpp"

#include "Corvendale/Screens/ImportExport/ImportFromFileC.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.AttachmentsToImportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileFormatsV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.FileToImportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.ReportV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.TagsToAddV.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileV.hpp"
#include "Corvendale/Screens/ImportExport/ReportFailureItemV.hpp"
#include "Corvendale/Screens/ImportExport/ReportItemV.hpp"
#include "Corvendale/Screens/ImportExport/TransferInProgressV.hpp"

#include "Shared/Screens/FileURLInput.hpp"

#include "Basalwork/Base/CSVParserError.hpp"
#include "Basalwork/Interface/BorderShadowableTextView.hpp"
#include "Basalwork/Interface/MultilineTextInput.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/PercentEncoding.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UILabel.hpp"

using Corvendale::ImportFromFileC;
using Corvendale::ImportFromFileV;
using Foundation::String;
using Shared::ImporterApp;
using Shared::ImporterFileFormat;
using PageState = Corvendale::ImportFromFileVState;

namespace {

class ImportPage : public CorvendaleTests::TransferPageFixture {
protected:
    void SetUp() override
    {
        TransferPageFixture::SetUp();
        page = open<ImportFromFileC>("handleImportFromFileCommand");
    }
    const std::shared_ptr<ImportFromFileV>& view() const { return page->customView(); }
    void chooseApp(ImporterApp app) { driver.tap(view()->appsV()->optionVs()[static_cast<std::size_t>(app)]); }
    // The button sits at the foot of the page, which the driver need not scroll to.
    void pressAction()
    {
        view()->actionButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
        settle();
    }
    // Dropped on the file input, or on the attachments input for a folder.
    void drop(const std::filesystem::path& path, bool isDirectory = false)
    {
        const auto& input = isDirectory ? view()->attachmentsToImportV()->fileURLInput() : view()->fileToImportV()->fileURLInput();
        input->drop({url(path, isDirectory)});
        settle();
    }
    // Chosen in the document picker the page presents.
    void pick(const std::filesystem::path& path)
    {
        page->didRequestFileURLPicker(*view()->fileToImportV());
        settle();
        auto picker = std::dynamic_pointer_cast<UIKit::UIDocumentPickerViewController>(page->presentedViewController());
        ASSERT_NE(picker, nullptr);
        picker->dismiss(false);
        page->documentPicker(*picker, {url(path)});
        settle();
    }
    bool shows(const UIKit::UIView& part) const { return Basalwork::isVisible(part); }
    // The report mail the action button hands to the mail program, decoded; empty when none or several.
    std::string mailedByPressingAction()
    {
        std::vector<Foundation::URL> mailed;
        UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return true; },
                                                     [&mailed](const Foundation::URL& url, std::function<void(bool)> done) {
                                                         mailed.push_back(url);
                                                         done(true);
                                                     }});
        pressAction();
        UIKit::UIApplication::setExternalURLHandler({});
        EXPECT_EQ(mailed.size(), 1U);
        return mailed.size() == 1 ? Foundation::percentDecoded(mailed.front().absoluteString().utf8()) : std::string();
    }

    std::shared_ptr<ImportFromFileC> page;
};

TEST_F(ImportPage, ABrowserExportGoesInThroughEveryStepAndThePageStartsOverAfterTheReport)
{
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
    EXPECT_TRUE(shows(*view()->appsV()));
    EXPECT_FALSE(shows(*view()->fileFormatsV()));
    EXPECT_EQ(title(*view()->actionButton()), "Start Import");
    EXPECT_FALSE(view()->actionButton()->isEnabled());

    // An app with a single format skips the format step.
    chooseApp(ImporterApp::brave);
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileURL {ImporterFileFormat::braveCSV, std::nullopt}));
    EXPECT_TRUE(shows(*view()->fileToImportV()));
    EXPECT_FALSE(view()->actionButton()->isEnabled());
    pressAction();
    EXPECT_TRUE(dependencies().importer->status().is<Shared::Importer::Status::Idle>()) << "no file, no import";

    pick(browserExport(25));
    EXPECT_TRUE(page->makeState().is<PageState::SelectAttachmentsURL>());
    EXPECT_TRUE(shows(*view()->tagsToAddV()));
    EXPECT_FALSE(shows(*view()->attachmentsToImportV())) << "only this program's own exports come with attachments";
    EXPECT_TRUE(view()->actionButton()->isEnabled());

    pressAction();
    EXPECT_TRUE(page->makeState().is<PageState::ImportInProgress>());
    waitForTransfers();
    settle();
    ASSERT_TRUE(page->makeState().is<PageState::ImportComplete>());
    EXPECT_TRUE(shows(*view()->reportV()));
    EXPECT_EQ(view()->reportV()->titleLabel()->text(), String("Success!"));
    EXPECT_EQ(title(*view()->actionButton()), "Import From Another File");
    EXPECT_EQ(store->allEntries().size(), 25U);

    pressAction();
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
    EXPECT_FALSE(shows(*view()->reportV()));
}

TEST_F(ImportPage, ClearingAChoiceClearsWhatDependsOnItOnly)
{
    chooseApp(ImporterApp::corvendale);
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileFormat {ImporterApp::corvendale}));
    EXPECT_TRUE(shows(*view()->fileFormatsV()->exportRequirementLabel()));
    driver.tap(view()->fileFormatsV()->fileFormatsV()->optionVs()[static_cast<std::size_t>(ImporterFileFormat::corvendaleJSON)]);
    EXPECT_FALSE(shows(*view()->fileFormatsV()->exportRequirementLabel())) << "the instructions go once a format is chosen";
    TestSupport::writeText(folder / "export.json", "{}");
    drop(folder / "export.json");
    drop(folder, true);
    view()->tagsToAddV()->valueTextInput()->textView()->becomeFirstResponder();
    driver.type("work");
    ASSERT_EQ(page->makeState(),
              PageState(PageState::SelectAttachmentsURL {ImporterFileFormat::corvendaleJSON, url(folder / "export.json"), url(folder, true), String("work")}));
    EXPECT_TRUE(shows(*view()->attachmentsToImportV()));

    page->didSelect(std::optional<Foundation::URL>(), *view()->attachmentsToImportV());
    EXPECT_EQ(page->makeState(),
              PageState(PageState::SelectAttachmentsURL {ImporterFileFormat::corvendaleJSON, url(folder / "export.json"), std::nullopt, String("work")}));
    page->didSelect(std::optional<Foundation::URL>(), *view()->fileToImportV());
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileURL {ImporterFileFormat::corvendaleJSON, std::nullopt}));
    drop(folder / "export.json");
    page->didSelect(std::optional<ImporterFileFormat>(), *view()->fileFormatsV());
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileFormat {ImporterApp::corvendale}));
    page->didSelect(std::optional<ImporterApp>(), *view());
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
}

TEST_F(ImportPage, AFileOpenedFromOutsideWaitsForItsAppAndAFolderBecomesTheAttachments)
{
    const auto file = browserExport(1, "Corvendale.json");
    coordinator->openImportableFile(url(file));
    settle();
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
    chooseApp(ImporterApp::corvendale);
    driver.tap(view()->fileFormatsV()->fileFormatsV()->optionVs()[static_cast<std::size_t>(ImporterFileFormat::corvendaleJSON)]);
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectAttachmentsURL {ImporterFileFormat::corvendaleJSON, url(file), std::nullopt, std::nullopt}));
    coordinator->openImportableFile(url(folder, true));
    settle();
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectAttachmentsURL {ImporterFileFormat::corvendaleJSON, url(file), url(folder, true), std::nullopt}));
    EXPECT_EQ(coordinator->presentedViewController(), page) << "the open page took both; no second page";
}

TEST_F(ImportPage, TagsAreReportedAsTypedAndReturnEndsEditing)
{
    chooseApp(ImporterApp::brave);
    drop(browserExport(1));
    auto input = view()->tagsToAddV()->valueTextInput()->textView();
    input->becomeFirstResponder();
    driver.type("a");
    driver.type("b, c");
    EXPECT_EQ(page->makeState().as<PageState::SelectAttachmentsURL>()->tagsToAddText, String("ab, c"));
    driver.press("Return");
    EXPECT_FALSE(input->isFirstResponder());
    EXPECT_EQ(input->text(), String("ab, c")) << "Return adds no line";
}

TEST_F(ImportPage, AMissingColumnNamesItAndTheLabelsTheFormatNeeds)
{
    chooseApp(ImporterApp::brave);
    TestSupport::writeText(folder / "broken.csv", "name,url,password\nSite,https://a.example,secret\n");
    drop(folder / "broken.csv");
    pressAction();
    waitForTransfers();
    settle();
    ASSERT_EQ(page->makeState(), PageState(PageState::ImportFailedToAccessRequiredColumnLabel {ImporterFileFormat::braveCSV, String("username")}));
    EXPECT_EQ(view()->reportV()->titleLabel()->text(), String("Oops! Something went wrong"));
    const auto& failures = *view()->reportV()->failuresItemV();
    EXPECT_NE(failures.messageTextView()->text().utf8().find("name, url, username, password"), std::string::npos);
    EXPECT_FALSE(Basalwork::isVisible(*failures.failureTextView())) << "nothing to report by mail";
    EXPECT_EQ(title(*view()->actionButton()), "Import From Another File");
    EXPECT_TRUE(store->allEntries().empty());
}

TEST_F(ImportPage, AReportMailCarriesTheEditedFailureTextAndThePageStartsOverEvenWithoutMail)
{
    chooseApp(ImporterApp::brave);
    // Neither a CSV file nor any other: the import fails as a whole.
    TestSupport::writeText(folder / "empty.csv", "");
    drop(folder / "empty.csv");
    pressAction();
    waitForTransfers();
    settle();
    ASSERT_TRUE(page->makeState().is<PageState::ImportFailed>());
    EXPECT_EQ(title(*view()->actionButton()), "Report Error");
    view()->reportV()->failuresItemV()->failureTextView()->setText(String("edited ***"));

    const auto mail = mailedByPressingAction();
    EXPECT_NE(mail.find("subject=Brave import error"), std::string::npos) << mail;
    EXPECT_NE(mail.find("import from Brave csv."), std::string::npos) << mail;
    EXPECT_NE(mail.find("=====\n\nedited ***\n\n====="), std::string::npos) << mail;
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));

    // No mail program: the alert says so, and the page has started over all the same.
    chooseApp(ImporterApp::brave);
    drop(folder / "empty.csv");
    pressAction();
    waitForTransfers();
    settle();
    UIKit::UIApplication::setExternalURLHandler({[](const Foundation::URL&) { return false; }, nullptr});
    pressAction();
    EXPECT_NE(std::dynamic_pointer_cast<UIKit::UIAlertController>(page->presentedViewController()), nullptr);
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
}

TEST_F(ImportPage, APageReopenedDuringAnImportShowsItWithCancelAndCannotStartASecond)
{
    chooseApp(ImporterApp::brave);
    drop(browserExport(300));
    pressAction();
    // The importer announces the outcome on the main loop, which does not turn until the test says so.
    ASSERT_TRUE(page->makeState().is<PageState::ImportInProgress>());
    page->didSelectDone(*view()->headerV());
    auto reopened = Foundation::make<ImportFromFileC>(coordinator, std::nullopt);
    reopened->loadViewIfNeeded();
    const auto state = reopened->makeState();
    ASSERT_TRUE(state.is<PageState::ImportInProgress>()) << "opening the page left the running import alone";
    EXPECT_EQ(title(*reopened->customView()->actionButton()), "Cancel Import");
    EXPECT_TRUE(Basalwork::isVisible(*reopened->customView()->importInProgressV()));

    // Cancel asks the running import to stop; whether it stopped in time or had finished, the vault holds
    // all of the file or none of it.
    reopened->didSelectActionButton(*reopened->customView());
    EXPECT_TRUE(state.as<PageState::ImportInProgress>()->progress->isCancelled());
    waitForTransfers();
    settle();
    const auto count = store->allEntries().size();
    EXPECT_TRUE(count == 0 || count == 300) << count;
}

TEST(ImportFailureReport, NamesTheFileKindByFormat)
{
    EXPECT_EQ(ImportFromFileC::fileFormatLabel(ImporterFileFormat::elpassExport), String("elpassexport"));
    EXPECT_EQ(ImportFromFileC::fileFormatLabel(ImporterFileFormat::onePasswordCSV), String("csv"));
    EXPECT_EQ(ImportFromFileC::fileFormatLabel(ImporterFileFormat::onePassword1PUX), String("1pux"));
    EXPECT_EQ(ImportFromFileC::fileFormatLabel(ImporterFileFormat::keePassXML), String("xml"));
    EXPECT_EQ(ImportFromFileC::failureReportSubject(ImporterFileFormat::bitwardenJSON, false), String("Bitwarden import failures"));
}

TEST(ImportReport, NumbersTheFailuresAndHidesWhatDidNotHappen)
{
    auto report = Foundation::make<Corvendale::ImportFromFileVReportV>();
    report->update(Corvendale::ImportFromFileVReportV::Completed {{ImporterFileFormat::braveCSV, 0, 0, {}}});
    EXPECT_EQ(report->titleLabel()->text(), String("Success!"));
    EXPECT_EQ(report->successfullyImportedItemV()->titleLabel()->text(), String("0 items successfully imported."));
    EXPECT_FALSE(Basalwork::isVisible(*report->skippedItemV()));
    EXPECT_FALSE(Basalwork::isVisible(*report->failuresItemV()));

    report->update(Corvendale::ImportFromFileVReportV::Completed {{ImporterFileFormat::braveCSV, 3, 2, {String("row 4"), String("row 9")}}});
    EXPECT_EQ(report->titleLabel()->text(), String("Success... well mostly"));
    EXPECT_TRUE(Basalwork::isVisible(*report->skippedItemV()));
    EXPECT_EQ(report->failureText(), String("Failure 1:\nrow 4\n\nFailure 2:\nrow 9"));

    // A blank error hides the box, but keeps what it held.
    report->update(Corvendale::ImportFromFileVReportV::Failed {String("  ")});
    EXPECT_FALSE(Basalwork::isVisible(*report->failuresItemV()->failureTextView()));
    EXPECT_FALSE(Basalwork::isVisible(*report->successfullyImportedItemV()));
}

TEST_F(ImportPage, RowsThatCannotBeReadAreReportedAndTheOthersGoIn)
{
    chooseApp(ImporterApp::brave);
    TestSupport::writeText(folder / "some.csv",
                           "name,url,username,password\nSite,https://a.example,alice,secret\nOdd,https://b.example,bob,secret,extra\n"
                           "Other,https://c.example,carol,secret\n");
    pick(folder / "some.csv");
    pressAction();
    waitForTransfers();
    settle();
    ASSERT_TRUE(page->makeState().is<PageState::ImportCompleteWithFailures>());
    EXPECT_EQ(view()->reportV()->titleLabel()->text(), String("Success... well mostly"));
    EXPECT_EQ(view()->reportV()->successfullyImportedItemV()->titleLabel()->text(), String("2 items successfully imported."));
    EXPECT_TRUE(view()->reportV()->failureText().utf8().starts_with("Failure 1:\n")) << view()->reportV()->failureText().utf8();
    EXPECT_EQ(title(*view()->actionButton()), "Report Failures");
    EXPECT_EQ(store->allEntries().size(), 2U);

    const auto mail = mailedByPressingAction();
    EXPECT_NE(mail.find("subject=Brave import failures"), std::string::npos) << mail;
    EXPECT_NE(mail.find("the following failures while attempting to import from Brave csv."), std::string::npos) << mail;
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {})) << "started over";
}

} // namespace
