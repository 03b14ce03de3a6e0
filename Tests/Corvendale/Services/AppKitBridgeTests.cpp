#include "Corvendale/Services/AppKitBridge.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
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

TEST(AppKitBridgeLoader, APlugInThatDoesNotAnswerOrIsMissingGivesNoBridge)
{
    EXPECT_EQ(loadAppKitBridge(*applicationWithPlugIn("Silent.app", SILENT_TEST_PLUGIN, "SilentPrincipal")), nullptr);
    EXPECT_EQ(loadAppKitBridge(*applicationWithPlugIn("Missing.app", "", "")), nullptr);
    EXPECT_FALSE(AppKitBridge::isMainWindowPinned(nullptr));
    AppKitBridge::setIsMainWindowPinned(nullptr, true);
    AppKitBridge::setupWindowManagement(nullptr);
}

} // namespace
