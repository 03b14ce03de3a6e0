#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
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
