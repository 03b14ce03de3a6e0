#include "Corvendale/Services/AppKitBridge.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Tests/Support/Files.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using namespace Corvendale;

namespace {

// An application bundle whose "PlugIns/Ostravane.bundle" holds a copy of `library` (none: no plug-in).
std::shared_ptr<Foundation::Bundle> applicationWithPlugIn(const std::string& name, const std::string& library, const std::string& principal)
{
    auto folder = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()) / name;
    std::filesystem::create_directories(folder);
    TestSupport::writeText(folder / "Info.json", "{}");
    if (!library.empty()) {
        auto plugIn = folder / "PlugIns" / "Ostravane.bundle";
        std::filesystem::create_directories(plugIn);
        // Never over a copy already loaded: the mapped code would change under the process.
        std::filesystem::copy_file(library, plugIn / "Ostravane.so", std::filesystem::copy_options::skip_existing);
        TestSupport::writeText(plugIn / "Info.json", R"({"CFBundleExecutable": "Ostravane.so", "NSPrincipalClass": ")" + principal + "\"}");
    }
    return Foundation::Bundle::atPath(folder.string());
}

TEST(AppKitBridgeLoader, APlugInThatAnswersGivesItsSharedBridgeAndTakesItsMessages)
{
    auto bridge = loadAppKitBridge(*applicationWithPlugIn("Answering.app", ANSWERING_TEST_PLUGIN, "AnsweringPrincipal"));
    ASSERT_NE(bridge, nullptr);
    EXPECT_EQ(bridge, loadAppKitBridge(*applicationWithPlugIn("Answering.app", ANSWERING_TEST_PLUGIN, "AnsweringPrincipal")))
        << "one shared bridge";
    EXPECT_FALSE(AppKitBridge::isMainWindowPinned(bridge));
    AppKitBridge::setIsMainWindowPinned(bridge, true);
    EXPECT_TRUE(AppKitBridge::isMainWindowPinned(bridge));
    AppKitBridge::setIsMainWindowPinned(bridge, false);
    AppKitBridge::quitApplication(bridge) /* not answered by this bridge: skipped */;
}

// The records a load leaves in the log at the level that is kept (info and above).
std::vector<Foundation::LogRecord> loggedWhileLoading(const std::shared_ptr<Foundation::Bundle>& application)
{
    std::vector<Foundation::LogRecord> records;
    auto previous = Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) {
        if (record.type != Foundation::OSLogType::debug)
            records.push_back(record);
    });
    EXPECT_EQ(loadAppKitBridge(*application), nullptr);
    Foundation::Logger::setCaptureSink(previous);
    return records;
}

TEST(AppKitBridgeLoader, AMissingPlugInGivesNoBridgeAndNothingToReport)
{
    EXPECT_TRUE(loggedWhileLoading(applicationWithPlugIn("Missing.app", "", "")).empty());
    EXPECT_FALSE(AppKitBridge::isMainWindowPinned(nullptr));
    AppKitBridge::setIsMainWindowPinned(nullptr, true);
    AppKitBridge::setupWindowManagement(nullptr);
    AppKitBridge::quitApplication(nullptr);
}

TEST(AppKitBridgeLoader, ADamagedPlugInGivesNoBridgeWithOneLineInTheLog)
{
    auto temporary = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8());
    auto text = temporary / "NotCode.so";
    TestSupport::writeText(text, "#!/bin/sh\necho not a shared object\n");
    const std::string real = std::string(OSTRAVANE_BUNDLE) + "/Ostravane.so";
    const std::vector<std::pair<std::shared_ptr<Foundation::Bundle>, const char*>> damaged {
        {applicationWithPlugIn("NotCode.app", text.string(), "AppKitPrincipal"), "not a shared object"},
        {applicationWithPlugIn("UnknownPrincipal.app", real, "NoSuchPrincipal"), "a principal class its code lacks"},
        {applicationWithPlugIn("NoPrincipal.app", real, ""), "no principal class"},
        {applicationWithPlugIn("Silent.app", SILENT_TEST_PLUGIN, "SilentPrincipal"), "a principal class that answers nothing"},
    };
    for (const auto& [application, damage] : damaged) {
        auto records = loggedWhileLoading(application);
        ASSERT_EQ(records.size(), 1u) << damage;
        EXPECT_EQ(records[0].category, "AppKitBridge") << damage;
        EXPECT_EQ(records[0].type, Foundation::OSLogType::error) << damage;
        EXPECT_NE(records[0].message.find("Ostravane.bundle"), std::string::npos) << records[0].message;
    }
}

} // namespace
