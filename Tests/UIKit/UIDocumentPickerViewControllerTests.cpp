#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/Files.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace UIKit;
using Foundation::make;
using Foundation::String;
using UniformTypeIdentifiers::UTType;

namespace {

struct Recorder : UIDocumentPickerDelegate {
    std::vector<std::vector<Foundation::URL>> picks;
    int cancellations = 0;
    void documentPicker(UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls) override { picks.push_back(urls); }
    void documentPickerWasCancelled(UIDocumentPickerViewController&) override { ++cancellations; }
};

class DocumentPicker : public testing::Test {
protected:
    void SetUp() override
    {
        window->setFrame({0, 0, 800, 600});
        window->setRootViewController(presenter);
        window->makeKeyAndVisible();
        std::filesystem::create_directories(folder / "inner");
        TestSupport::writeText(folder / "backup.corvendalebackup", "contents");
    }

    std::shared_ptr<UIDocumentPickerViewController> present(const UTType& type)
    {
        auto picker = make<UIDocumentPickerViewController>(std::vector {type});
        picker->setDirectoryURL(Foundation::URL::fileURLWithPath(String(folder.string()), true));
        picker->setDelegate(recorder);
        presenter->present(picker, true);
        driver.wait(1);
        return picker;
    }
    std::shared_ptr<UITextField> pathField() { return driver.find<UITextField>(String(UIDocumentPickerViewController::pathFieldIdentifier)); }

    std::filesystem::path folder = std::filesystem::path(std::getenv("TMPDIR")) / "DocumentPicker";
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<UIViewController> presenter = make<UIViewController>();
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    TestSupport::Driver driver {scene};
};

TEST_F(DocumentPicker, StartsInItsDirectoryAndTakesOnlyAnExistingFileOfTheKindAsked)
{
    auto picker = present(UTType {String("com.corvendale.backup")});
    auto field = pathField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), String(folder.string() + "/"));

    field->setText(String((folder / "missing").string()));
    picker->open();
    field->setText(String((folder / "inner").string()));
    picker->open();
    driver.wait(1);
    EXPECT_TRUE(recorder->picks.empty()) << "nothing there, or a folder: the picker stays";
    EXPECT_EQ(presenter->presentedViewController(), picker);
    EXPECT_NE(driver.core().find(String("Choose a file, not a folder.")), nullptr);

    field->setText(String((folder / "backup.corvendalebackup").string()));
    driver.press("\r");
    driver.wait(1);
    ASSERT_EQ(recorder->picks.size(), 1u);
    EXPECT_EQ(recorder->picks.front(), std::vector {Foundation::URL::fileURLWithPath(String((folder / "backup.corvendalebackup").string()), false)});
    EXPECT_EQ(presenter->presentedViewController(), nullptr) << "dismissed before the delegate hears";
}

TEST_F(DocumentPicker, AFolderTypeTakesFoldersAndEscapeCancelsOnce)
{
    auto picker = present(UTType::folder());
    pathField()->setText(String((folder / "backup.corvendalebackup").string()));
    picker->open();
    EXPECT_TRUE(recorder->picks.empty());
    pathField()->setText(String((folder / "inner").string()));
    picker->open();
    driver.wait(1);
    ASSERT_EQ(recorder->picks.size(), 1u);
    EXPECT_TRUE(recorder->picks.front().front().hasDirectoryPath());

    present(UTType::folder());
    driver.press("Escape");
    driver.press("Escape");
    driver.wait(1);
    EXPECT_EQ(recorder->cancellations, 1);
    EXPECT_EQ(recorder->picks.size(), 1u);
}

TEST_F(DocumentPicker, TheTypedFoldersEntriesAreListedAndTabCompletesTheSharedPart)
{
    std::filesystem::create_directories(folder / "invoices");
    TestSupport::writeText(folder / "inventory.csv", "x");
    present(UTType::data());
    auto field = pathField();
    field->becomeFirstResponder();
    driver.type("in");
    auto listed = driver.find<UILabel>(String(UIDocumentPickerViewController::completionsIdentifier))->text().value_or(String()).utf8();
    EXPECT_EQ(listed, "inner/  inventory.csv  invoices/");
    driver.press("Tab");
    EXPECT_EQ(field->text().utf8(), (folder / "in").string()) << "nothing more is shared";
    driver.type("ventory");
    driver.press("Tab");
    EXPECT_EQ(field->text().utf8(), (folder / "inventory.csv").string());

    // The terminal's Tab, which elsewhere moves the focus, completes here too; Shift-Tab leaves the field.
    field->setText(String((folder / "invo").string()));
    EXPECT_TRUE(driver.core().pressNavigating(String("Tab")));
    driver.settle();
    EXPECT_EQ(field->text().utf8(), (folder / "invoices/").string());
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(driver.core().pressNavigating(String("Tab"), UIKeyModifierFlags::shift()));
    driver.settle();
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(field->text().utf8(), (folder / "invoices/").string());
}

TEST_F(DocumentPicker, SavingCopiesIntoTheChosenFolderOwnerOnlyAndNeverOverAFileThere)
{
    const auto source = std::filesystem::path(std::getenv("TMPDIR")) / "report.txt";
    TestSupport::writeText(source, "plain");
    auto picker = make<UIDocumentPickerViewController>(std::vector {Foundation::URL::fileURLWithPath(String(source.string()), false)}, true);
    picker->setDirectoryURL(Foundation::URL::fileURLWithPath(String(folder.string()), true));
    picker->setDelegate(recorder);
    presenter->present(picker, true);
    driver.wait(1);
    TestSupport::writeText(folder / "inner" / "report.txt", "older");
    pathField()->setText(String((folder / "inner").string()));
    picker->open();
    driver.wait(1);
    EXPECT_TRUE(recorder->picks.empty()) << "the name is taken there";
    EXPECT_EQ(TestSupport::readText(folder / "inner" / "report.txt"), "older");

    pathField()->setText(String(folder.string()));
    picker->open();
    driver.wait(1);
    ASSERT_EQ(recorder->picks.size(), 1u);
    EXPECT_EQ(recorder->picks.front().front().path().utf8(), (folder / "report.txt").string());
    EXPECT_EQ(TestSupport::readText(folder / "report.txt"), "plain");
    EXPECT_TRUE(std::filesystem::exists(source)) << "a copy leaves the original";
    EXPECT_EQ(std::filesystem::status(folder / "report.txt").permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

} // namespace
