#include "Tests/Corvendale/Screens/ImportExport/TransferPageFixture.hpp"

#include "Corvendale/Screens/ImportExport/ExportToFileC.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.ExportLocationV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.FileFormatsV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.ReportV.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileV.hpp"
#include "Corvendale/Screens/ImportExport/ReportItemV.hpp"

#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextView.hpp"

#include <sys/stat.h>

using Corvendale::ExportToFileC;
using Corvendale::ExportToFileV;
using Foundation::String;
using Shared::ExporterApp;
using Shared::ExporterFileFormat;
using PageState = Corvendale::ExportToFileVState;
namespace fs = std::filesystem;

namespace {

class ExportPage : public CorvendaleTests::TransferPageFixture {
protected:
    void SetUp() override
    {
        TransferPageFixture::SetUp();
        add("Mail", "hunter2");
        add("Bank", "correct horse");
        page = open<ExportToFileC>("handleExportToFileCommand");
    }
    const std::shared_ptr<ExportToFileV>& view() const { return page->exportToFileVC(); }
    void chooseApp(ExporterApp app) { driver.tap(view()->appsV()->optionVs()[static_cast<std::size_t>(app)]); }
    void chooseFormat(ExporterFileFormat format) { driver.tap(view()->fileFormatsV()->fileFormatsV()->optionVs()[static_cast<std::size_t>(format)]); }
    void pressAction()
    {
        view()->actionButton()->sendActions(UIKit::UIControl::Event::touchUpInside());
        settle();
    }
    std::vector<fs::path> written() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            files.push_back(entry.path());
        return files;
    }

    std::shared_ptr<ExportToFileC> page;
};

TEST_F(ExportPage, EachFormatIsWrittenOwnerOnlyAndTheReportSaysWhere)
{
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectApp {}));
    EXPECT_FALSE(view()->actionButton()->isEnabled());
    for (auto format : {ExporterFileFormat::corvendaleJSON, ExporterFileFormat::corvendaleCSV, ExporterFileFormat::bitwardenCSV,
                        ExporterFileFormat::keePassXCCSV, ExporterFileFormat::plainText}) {
        SCOPED_TRACE(Shared::titleText(format).utf8());
        fs::remove_all(folder);
        fs::create_directories(folder);
        const auto app = Shared::app(format);
        if (page->makeState() != PageState(PageState::SelectFileFormat {app})) {
            page->didSelect(std::optional<ExporterApp>(), *view());
            chooseApp(app);
        }
        if (Shared::availableFileFormats(app).size() > 1)
            chooseFormat(format);
        ASSERT_EQ(page->makeState(), PageState(PageState::SelectLocationURL {format, std::nullopt}));
        EXPECT_FALSE(view()->actionButton()->isEnabled()) << "no folder yet";
        EXPECT_FALSE(Basalwork::isVisible(*view()->exportLocationV()->warningLabel()));
        view()->exportLocationV()->fileURLInput()->drop({url(folder, true)});
        settle();
        EXPECT_TRUE(Basalwork::isVisible(*view()->exportLocationV()->warningLabel())) << "the folder will hold plain text";
        pressAction();
        waitForTransfers();
        settle();
        ASSERT_TRUE(page->makeState().is<PageState::ExportComplete>());
        EXPECT_EQ(title(*view()->actionButton()), "Export To Another Location");

        const auto report = page->makeState().as<PageState::ExportComplete>()->report;
        EXPECT_EQ(report.exportedCount, 2);
        ASSERT_TRUE(report.fileURL.has_value());
        const auto message = view()->reportV()->successfullyExportedItemV()->messageTextView()->text().utf8();
        EXPECT_NE(message.find(Shared::locationText(*report.fileURL).utf8()), std::string::npos) << message;
        struct stat status {};
        ASSERT_EQ(::stat(report.fileURL->path().utf8().c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600U);

        // Back to the format step, the app kept.
        pressAction();
        EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileFormat {app}));
    }
}

TEST_F(ExportPage, TheFormatNotesAndTheFolderQuestionFollowTheFormat)
{
    using Config = Corvendale::ExportToFileVFileFormatsV::Config;
    using V = Corvendale::ExportToFileVFileFormatsV;
    EXPECT_FALSE(V::warningText(Config {ExporterApp::corvendale, ExporterFileFormat::corvendaleJSON}));
    EXPECT_NE(V::warningText(Config {ExporterApp::keePassXC, ExporterFileFormat::keePassXCCSV})->utf8().find("supported by KeePassXC"),
              std::string::npos);
    EXPECT_NE(V::warningText(Config {ExporterApp::textFile, ExporterFileFormat::plainText})->utf8().find("cannot be re-imported"), std::string::npos);
    EXPECT_FALSE(V::warningText(Config {ExporterApp::textFile, std::nullopt}));

    chooseApp(ExporterApp::corvendale);
    EXPECT_EQ(page->makeState(), PageState(PageState::SelectFileFormat {ExporterApp::corvendale}));
    chooseFormat(ExporterFileFormat::corvendaleCSV);
    EXPECT_EQ(view()->exportLocationV()->titleLabel()->text(), String("Where would you like to save the exported file and attachments?"));
    page->didSelect(std::optional<ExporterFileFormat>(), *view()->fileFormatsV());
    page->didSelect(std::optional<ExporterApp>(), *view());
    chooseApp(ExporterApp::bitwarden);
    EXPECT_EQ(view()->exportLocationV()->titleLabel()->text(), String("Where would you like to save the exported file?"));
}

TEST_F(ExportPage, AReopenedPageShowsTheRunningExportAndACancelledOneLeavesNoFile)
{
    chooseApp(ExporterApp::bitwarden);
    view()->exportLocationV()->fileURLInput()->drop({url(folder, true)});
    settle();
    pressAction();
    // The exporter announces the outcome on the main loop, which does not turn until the test says so.
    ASSERT_TRUE(page->makeState().is<PageState::ExportInProgress>());
    auto reopened = Foundation::make<ExportToFileC>(coordinator, std::nullopt);
    reopened->loadViewIfNeeded();
    const auto state = reopened->makeState();
    ASSERT_TRUE(state.is<PageState::ExportInProgress>()) << "opening the page left the running export alone";
    EXPECT_EQ(title(*reopened->exportToFileVC()->actionButton()), "Cancel Export");
    reopened->didSelectActionButton(*reopened->exportToFileVC());
    EXPECT_TRUE(state.as<PageState::ExportInProgress>()->progress->isCancelled());
    waitForTransfers();
    settle();
    // Cancelled in time, nothing is left; finished first, the one whole file.
    if (reopened->makeState().is<PageState::ExportFailed>()) {
        EXPECT_TRUE(written().empty());
        EXPECT_EQ(title(*reopened->exportToFileVC()->actionButton()), "Report Error");
    } else {
        EXPECT_EQ(written().size(), 1U);
    }
}

TEST(ExportFailureReport, NamesTheAppAndTheFileKind)
{
    EXPECT_EQ(ExportToFileC::failureReportSubject(ExporterFileFormat::bitwardenCSV, false), String("Bitwarden export failures"));
    const auto body = ExportToFileC::failureReportBody(ExporterFileFormat::plainText, true, String("edited")).utf8();
    EXPECT_NE(body.find("following error while attempting export to Text File txt."), std::string::npos) << body;
    EXPECT_NE(body.find("=====\n\nedited\n\n====="), std::string::npos);
}

} // namespace
