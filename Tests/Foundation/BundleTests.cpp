#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Tests/Support/Files.hpp"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Foundation;

TEST(Bundle, ReadsItsInformationAsPropertyListValues)
{
    auto folder = std::filesystem::path(FileManager::defaultManager()->temporaryDirectory().path().utf8()) / "Sample.bundle";
    std::filesystem::create_directories(folder);
    TestSupport::writeText(folder / "Info.json", R"({"CFBundleIdentifier": "com.example.sample", "CFBundleVersion": 7,
        "Groups": ["one", null, "two"], "Nothing": null, "Ratio": 0.5})");

    auto bundle = Bundle::atPath(folder.string());
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle->bundleIdentifier(), String("com.example.sample"));
    EXPECT_TRUE(bundle->object("CFBundleVersion") == PropertyListValue(7));
    EXPECT_TRUE(bundle->object("Ratio") == PropertyListValue(0.5));
    EXPECT_TRUE(bundle->object("Groups") == PropertyListValue(PropertyListValue::Array {"one", "two"}));
    EXPECT_EQ(bundle->object("Nothing"), std::nullopt);

    TestSupport::writeText(folder / "Info.json", "[1, 2]");
    EXPECT_EQ(Bundle::atPath(folder.string())->infoDictionary(), std::nullopt);
    EXPECT_EQ(Bundle::atPath((folder / "missing").string()), nullptr);
}

namespace {

// A bundle folder named `name` holding a copy of the plug-in `library` under "Code.so", with the
// information `info` (JSON).
std::string makePlugInBundle(const std::string& name, const std::string& library, const std::string& info)
{
    auto folder = std::filesystem::path(FileManager::defaultManager()->temporaryDirectory().path().utf8()) / "PlugIns" / name;
    std::filesystem::create_directories(folder);
    if (!library.empty())
        std::filesystem::copy_file(library, folder / "Code.so", std::filesystem::copy_options::skip_existing);
    TestSupport::writeText(folder / "Info.json", info);
    return folder.string();
}

} // namespace

TEST(Bundle, LoadsItsCodeAndAnswersItsPrincipalClass)
{
    auto answering = Bundle::atPath(makePlugInBundle("Answering.bundle", ANSWERING_TEST_PLUGIN,
                                                     R"({"CFBundleExecutable": "Code.so", "NSPrincipalClass": "AnsweringPrincipal"})"));
    EXPECT_FALSE(answering->isLoaded());
    auto principal = answering->principalClass();
    ASSERT_TRUE(principal);
    EXPECT_TRUE(answering->isLoaded());
    ASSERT_TRUE(principal->respondsToSelector(Selector("sharedAppKitBridge")));
    auto bridge = std::any_cast<std::shared_ptr<NSObject>>(principal->perform(Selector("sharedAppKitBridge")));
    ASSERT_NE(bridge, nullptr);
    MethodTable::perform(*bridge, Selector("setIsMainWindowPinned:"), {true});
    EXPECT_TRUE(std::any_cast<bool>(MethodTable::perform(*bridge, Selector("isMainWindowPinned"))));
    EXPECT_TRUE(answering->load()) << "loading again is harmless";
    EXPECT_EQ(principal, Bundle::atPath(answering->bundlePath())->principalClass());

    auto silent = Bundle::atPath(makePlugInBundle("Silent.bundle", SILENT_TEST_PLUGIN,
                                                  R"({"CFBundleExecutable": "Code.so", "NSPrincipalClass": "SilentPrincipal"})"));
    auto silentPrincipal = silent->principalClass();
    ASSERT_TRUE(silentPrincipal);
    EXPECT_FALSE(silentPrincipal->respondsToSelector(Selector("sharedAppKitBridge")));
    auto unnamed = Bundle::atPath(makePlugInBundle("Unnamed.bundle", SILENT_TEST_PLUGIN,
                                                   R"({"CFBundleExecutable": "Code.so", "NSPrincipalClass": "Other"})"));
    EXPECT_FALSE(unnamed->principalClass()) << "the code does not answer for a class it does not have";
}

TEST(Bundle, CodeThatIsMissingBrokenOrOutsideTheFolderDoesNotLoad)
{
    auto noCode = Bundle::atPath(makePlugInBundle("NoCode.bundle", "", R"({"NSPrincipalClass": "AnsweringPrincipal"})"));
    EXPECT_FALSE(noCode->load());
    EXPECT_FALSE(noCode->principalClass());

    auto missing = Bundle::atPath(makePlugInBundle("Missing.bundle", "", R"({"CFBundleExecutable": "Code.so", "NSPrincipalClass": "X"})"));
    EXPECT_FALSE(missing->load());

    auto broken = makePlugInBundle("Broken.bundle", "", R"({"CFBundleExecutable": "Code.so", "NSPrincipalClass": "X"})");
    TestSupport::writeText(std::filesystem::path(broken) / "Code.so", "not a shared object");
    EXPECT_FALSE(Bundle::atPath(broken)->load());

    auto outside = Bundle::atPath(makePlugInBundle("Outside.bundle", "", R"({"CFBundleExecutable": "../Answering.bundle/Code.so"})"));
    EXPECT_FALSE(outside->load());
}
