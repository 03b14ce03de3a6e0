#include "Basalwork/Base/CommandLine.hpp"
#include "Basalwork/Base/Global.hpp"

#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"
#include "Platform/UIKit/UIDevice.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::ProcessInfo;

class CommandLineOption : public testing::Test {
protected:
    void TearDown() override { Foundation::CommandLine::setArguments(m_original); }
    std::vector<Foundation::String> m_original = Foundation::CommandLine::arguments();
};

TEST_F(CommandLineOption, FindsTheFirstMatchAndTakesWhateverFollows)
{
    Foundation::CommandLine::setArguments({"/app", "--record-store", "x", "--record-store", "y"});
    EXPECT_EQ(CommandLine::option("--record-store"), (CommandLine::Option {"--record-store", Foundation::String("x")}));

    Foundation::CommandLine::setArguments({"/app", "--record-store", "--attachment-data-store"});
    EXPECT_EQ(CommandLine::option("--record-store")->valueArgument, Foundation::String("--attachment-data-store"));

    Foundation::CommandLine::setArguments({"/app", "--record-store"});
    auto last = CommandLine::option("--record-store");
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->valueArgument, std::nullopt);

    Foundation::CommandLine::setArguments({"/app", "--Record-Store", "x"});
    EXPECT_EQ(CommandLine::option("--record-store"), std::nullopt);
}

TEST_F(CommandLineOption, TheProgramPathIsSearchedToo)
{
    Foundation::CommandLine::setArguments({"--odd", "value"});
    EXPECT_EQ(CommandLine::option("--odd")->valueArgument, Foundation::String("value"));
}

class PlatformFacts : public testing::Test {
protected:
    void TearDown() override
    {
        ProcessInfo::processInfo()->setOperatingSystemVersion(m_original);
        UIKit::UIDevice::current()->setLocalizedModel("Mac");
    }
    void systemVersion(std::int64_t major, std::int64_t minor)
    {
        ProcessInfo::processInfo()->setOperatingSystemVersion({major, minor, 0});
    }
    Foundation::OperatingSystemVersion m_original = ProcessInfo::processInfo()->operatingSystemVersion();
};

TEST_F(PlatformFacts, TheMacBuildIsMacOS)
{
    EXPECT_EQ(Global::platform(), Global::Platform::macOS);
    EXPECT_TRUE(Global::platform().isMacOS());
    EXPECT_FALSE(Global::platform().isiOS());
    EXPECT_TRUE(Global::isNotRunningOnSimulator());
    EXPECT_NE(Global::isDebugBuild(), Global::isNotDebugBuild());
}

TEST_F(PlatformFacts, VersionTestsUseTheInterfaceCompatibleNumbering)
{
    Global::Platform mac = Global::Platform::macOS;
    Global::Platform ios = Global::Platform::iOS;

    systemVersion(15, 0); // macOS 12
    EXPECT_FALSE(mac.isMacOS13OrHigher());
    EXPECT_EQ(mac.settingsOrPreferences(), "Preferences");
    EXPECT_EQ(mac.systemSettingsAppName(), "System Preferences");

    systemVersion(17, 0); // macOS 14
    EXPECT_TRUE(mac.isMacOS14OrHigher());
    EXPECT_FALSE(mac.isMacOS14_4OrHigher());
    EXPECT_FALSE(mac.isiOS17OrMacOS14_4OrHigher());
    EXPECT_TRUE(ios.isiOS17OrMacOS14_4OrHigher());
    EXPECT_TRUE(mac.isiOS17OrMacOS14OrHigher());
    EXPECT_FALSE(mac.isiOS17OrHigher());
    EXPECT_EQ(mac.systemSettingsAppName(), "System Settings");

    systemVersion(17, 4);
    EXPECT_TRUE(mac.isMacOS14_4OrHigher());
    EXPECT_TRUE(mac.isiOS17OrMacOS14_4OrHigher());
    EXPECT_FALSE(mac.isMacOS15OrHigher());

    systemVersion(26, 0);
    EXPECT_TRUE(mac.isMacOS26OrHigher());
    EXPECT_TRUE(mac.isiOS26OrMacOS26OrHigher());
    EXPECT_TRUE(ios.isiOS26OrHigher());
    EXPECT_FALSE(ios.isMacOS26OrHigher());
}

TEST_F(PlatformFacts, WordingFollowsThePlatform)
{
    Global::Platform mac = Global::Platform::macOS;
    Global::Platform ios = Global::Platform::iOS;
    EXPECT_EQ(mac.tapOrClick(), "Click");
    EXPECT_EQ(ios.tapOrClick(), "Tap");
    EXPECT_EQ(ios.settingsOrPreferences(), "Settings");
    UIKit::UIDevice::current()->setLocalizedModel("iPad");
    EXPECT_EQ(ios.systemSettingsAppName(), "iPad Settings");
}
