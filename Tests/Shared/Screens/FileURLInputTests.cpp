#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Screens/FileURLInputDelegate.hpp"
#include "Shared/Screens/FileURLInputError.hpp"

#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Foundation::make;
using Foundation::String;
using Foundation::URL;
using Shared::FileURLInput;

namespace {

class Recorder : public Foundation::NSObject, public Shared::FileURLInputDelegate {
public:
    std::vector<std::string> calls;
    void didSelect(const URL& fileURL, FileURLInput&) override { calls.push_back("select " + fileURL.lastPathComponent().utf8()); }
    void didSelectClear(FileURLInput&) override { calls.push_back("clear"); }
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput&) override
    {
        calls.push_back("fail " + error->description());
    }
    void didRequestFileURLPicker(FileURLInput&) override { calls.push_back("picker"); }

protected:
    friend Foundation::Construct;
    Recorder() = default;
};

class FileURLInputTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(home.path() / "Backups");
        TestSupport::writeText(home.path() / "vault.backup", "x");
        window->setFrame({0, 0, 600, 200});
        input->setFrame({0, 0, 600, 60});
        input->setDelegate(recorder);
        window->addSubview(input);
        window->makeKeyAndVisible();
    }
    URL url(const char* name) const { return URL::fileURLWithPath(String((home.path() / name).string())); }

    TestSupport::TemporaryHome home;
    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<FileURLInput> input = make<FileURLInput>();
    std::shared_ptr<Recorder> recorder = make<Recorder>();
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(FileURLInputTests, AFolderInputTakesOnlyAnExistingFolderAndReportsTheRest)
{
    input->setContentType(UniformTypeIdentifiers::UTType::folder());
    input->drop({});
    input->drop({url("vault.backup")});
    input->drop({url("missing")});
    input->drop({url("Backups"), url("vault.backup")});
    input->drop({URL::string(String("https://example.com/Backups")).value()});
    EXPECT_EQ(recorder->calls, (std::vector<std::string> {"fail Not a folder: vault.backup", "fail Not a folder: missing",
                                                          "select Backups", "fail Not a folder: Backups"}));
}

TEST_F(FileURLInputTests, AFileInputTakesOnlyARegularFile)
{
    input->drop({url("Backups")});
    input->drop({url("vault.backup")});
    EXPECT_EQ(recorder->calls, (std::vector<std::string> {"fail Not a file: Backups", "select vault.backup"}));
}

// A dragged item is made into a file only for an input that takes files, and that file lasts as long as
// the input keeps the drop: until the next drop, its clear button or its leaving the window.
TEST_F(FileURLInputTests, ADraggedItemsFileIsMadeOnlyWhenTakenAndLastsWhileTheInputKeepsIt)
{
    int loads = 0;
    auto itemOf = [&](const char* name) {
        auto item = make<Foundation::NSItemProvider>();
        item->setSuggestedName(String(name));
        auto path = home.path() / name;
        item->registerFileRepresentation(String("public.data"), [&loads, path](Foundation::NSItemProvider::FileCompletion completion) {
            ++loads;
            TestSupport::writeText(path, "made for the drop");
            completion(URL::fileURLWithPath(String(path.string())), nullptr);
            return make<Foundation::Progress>(1);
        });
        return item;
    };
    input->setContentType(UniformTypeIdentifiers::UTType::folder());
    input->dropItemProvider(itemOf("letter.txt"));
    driver.settle();
    EXPECT_EQ(loads, 0) << "a folder input makes nothing of a file";
    EXPECT_EQ(recorder->calls, std::vector<std::string> {"fail Not a folder: letter.txt"});

    input->setContentType(UniformTypeIdentifiers::UTType::data());
    input->dropItemProvider(itemOf("letter.txt"));
    EXPECT_EQ(recorder->calls.size(), 1u) << "the file comes later, never inside the drop";
    driver.settle();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(recorder->calls.back(), "select letter.txt");
    EXPECT_TRUE(std::filesystem::exists(home.path() / "letter.txt"));
    input->dropItemProvider(itemOf("report.txt"));
    driver.settle();
    EXPECT_FALSE(std::filesystem::exists(home.path() / "letter.txt")) << "the next drop lets the first go";
    window->layoutIfNeeded();
    driver.tap(String("Choose File…"));
    EXPECT_TRUE(std::filesystem::exists(home.path() / "report.txt"));
    input->removeFromSuperview();
    EXPECT_FALSE(std::filesystem::exists(home.path() / "report.txt")) << "an input that leaves its window lets its drop go";

    // A kind the item does not have fails without a file.
    auto nothing = make<Foundation::NSItemProvider>();
    window->addSubview(input);
    input->dropItemProvider(nothing);
    driver.settle();
    EXPECT_EQ(recorder->calls.back(), "fail Not a file: Item");
}

TEST_F(FileURLInputTests, ItShowsTheOwnersTextOrThePlaceholderAndClearsOnlyWhatIsShown)
{
    input->setContentType(UniformTypeIdentifiers::UTType::folder());
    input->setPlaceholder(String("Drag here or choose folder"));
    window->layoutIfNeeded();
    EXPECT_TRUE(driver.core().find(String("Drag here or choose folder")));
    EXPECT_TRUE(input->clearButton()->isHidden());

    driver.tap(String("Choose Folder…"));
    EXPECT_EQ(recorder->calls, std::vector<std::string> {"picker"});

    input->setText(String("/home/someone/Backups"));
    window->layoutIfNeeded();
    EXPECT_TRUE(driver.core().find(String("/home/someone/Backups")));
    EXPECT_FALSE(driver.core().find(String("Drag here or choose folder")));
    driver.tap(String("Clear"));
    EXPECT_EQ(recorder->calls, (std::vector<std::string> {"picker", "clear"}));
    // The owner decides: the text stays until it is set again.
    EXPECT_EQ(input->text(), String("/home/someone/Backups"));

    input->setContentInsets({12, 12, 12, 12});
    recorder.reset();
    driver.tap(String("Clear"));
}
