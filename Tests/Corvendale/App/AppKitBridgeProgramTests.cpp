#include "Tests/Corvendale/App/ProgramOnTerminal.hpp"

#include "Corvendale/Services/AppKitBridge.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Tests/Support/Driver.hpp"

#include "Platform/AppKit/NSApplication.hpp"
#include "Platform/AppKit/SPRoundedWindow.hpp"
#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using Foundation::String;
using UIKit::UIMenuElement;

namespace {

// The program as the build lays it out: its information, and the plug-in in its "PlugIns" folder.
class ProgramWithPlugIn : public CorvendaleTests::ProgramOnTerminal {
protected:
    void SetUp() override
    {
        auto folder = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()) / "Corvendale";
        std::filesystem::create_directories(folder / "PlugIns");
        std::filesystem::copy_file(std::filesystem::path(CORVENDALE_SOURCE_DIR) / "Corvendale" / "Info.json", folder / "Info.json",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::create_directory_symlink(OSTRAVANE_BUNDLE, folder / "PlugIns" / "Ostravane.bundle");
        // The services load the plug-in from the main bundle once, as the program starts.
        Foundation::Bundle::setMain(Foundation::Bundle::atPath(folder.string()));
        prepare();
        ProgramOnTerminal::SetUp();
        CorvendaleTests::unlockVault();
        settle();
        UIKit::UIMenuSystem::main()->setNeedsRebuild();
    }
    virtual void prepare() {}

    TestSupport::Driver driver() { return TestSupport::Driver(sceneDelegate()->window()->windowScene()); }
    std::shared_ptr<AppKit::NSWindow> hostWindow() const { return sceneDelegate()->window()->windowScene()->hostWindow(); }
    UIMenuElement::State pinState()
    {
        auto command = std::dynamic_pointer_cast<UIKit::UICommand>(driver().menuItem({"Window", "Keep Window Pinned Above Other Apps"}));
        return command ? command->state() : UIMenuElement::State::mixed;
    }
    static bool keepsPinned() { return Corvendale::dependencies().preferenceStore->keepMainWindowPinned(); }
};

TEST_F(ProgramWithPlugIn, PinsAndUnpinsItsWindowAboveOtherAppsAndTheCheckMarkAndTheTerminalFollow)
{
    ASSERT_NE(Corvendale::dependencies().appKitBridge, nullptr);
    ASSERT_NE(hostWindow(), nullptr);
    EXPECT_EQ(pinState(), UIMenuElement::State::off);
    EXPECT_TRUE(UIKit::UIMenuSystem::isEnabled(*driver().menuItem({"File", "Close"})));
    EXPECT_EQ(rowShowing(screen(100, 30), "F10: menus").find("Pinned"), std::string::npos);

    driver().chooseMenuItem({"Window", "Keep Window Pinned Above Other Apps"});
    EXPECT_EQ(hostWindow()->level(), AppKit::NSWindow::Level::floating());
    EXPECT_EQ(pinState(), UIMenuElement::State::on);
    EXPECT_TRUE(keepsPinned());
    EXPECT_NE(rowShowing(screen(100, 30), "F10: menus").find("Pinned"), std::string::npos);

    driver().chooseMenuItem({"Window", "Keep Window Pinned Above Other Apps"});
    EXPECT_EQ(hostWindow()->level(), AppKit::NSWindow::Level::normal());
    EXPECT_EQ(pinState(), UIMenuElement::State::off);
    EXPECT_FALSE(keepsPinned());
    EXPECT_EQ(rowShowing(screen(100, 30), "F10: menus").find("Pinned"), std::string::npos);
}

class ProgramWithPlugInKeepingItsWindowPinned : public ProgramWithPlugIn {
protected:
    void prepare() override { CorvendaleTests::inMemoryDependencies().preferenceStore->setKeepMainWindowPinned(true); }
};

TEST_F(ProgramWithPlugInKeepingItsWindowPinned, PinsItsWindowAgainWhenItFirstAppears)
{
    EXPECT_EQ(hostWindow()->level(), AppKit::NSWindow::Level::floating());
    EXPECT_EQ(pinState(), UIMenuElement::State::on);
}

TEST_F(ProgramWithPlugIn, QuitsThroughTheDesktopWhenItsWindowCloses)
{
    driver().chooseMenuItem({"File", "Close"});
    EXPECT_TRUE(AppKit::NSApp()->isTerminating());
    EXPECT_TRUE(UIKit::UIApplication::shared()->isTerminating()) << "the program heard that it ends";
}

TEST_F(ProgramWithPlugIn, KeepsTheSystemsCompletionPopUpHiddenWheneverItAppears)
{
    auto completions = AppKit::SPRoundedWindow::showCompletionList();
    EXPECT_EQ(completions->alphaValue(), 0.0);
    completions->orderOut(nullptr);
    completions->setAlphaValue(1);
    completions->orderFront(nullptr);
    EXPECT_EQ(completions->alphaValue(), 0.0);
    EXPECT_EQ(hostWindow()->alphaValue(), 1.0) << "the program's own window shows";
}

} // namespace
