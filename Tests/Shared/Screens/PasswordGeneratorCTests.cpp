#include "Shared/Screens/PasswordGeneratorC.hpp"
#include "Shared/Screens/PasswordGeneratorCDelegate.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"

#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Foundation::make;
using Foundation::String;
using Shared::MenuSource;
using Shared::PasswordGeneratorC;

namespace {

class Owner : public Foundation::NSObject, public Shared::PasswordGeneratorCDelegate {
public:
    std::vector<std::string> calls;
    void didSelectCancel(PasswordGeneratorC&) override { calls.push_back("cancel"); }
    void didSelectDone(const String& password, const MenuSource& source, PasswordGeneratorC&) override
    {
        calls.push_back("done " + password.utf8() + (source == MenuSource::systemField(Shared::EntrySystemField::ID::password) ? " password" : ""));
    }

protected:
    friend Foundation::Construct;
    Owner() = default;
};

class PasswordGeneratorCTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        pasteboard = make<Shared::PasteboardCoordinator>(vault->preferenceStore, nullptr);
        window->setFrame({0, 0, 800, 700});
        window->makeKeyAndVisible();
    }
    std::shared_ptr<PasswordGeneratorC> open(PasswordGeneratorC::Mode mode)
    {
        auto generator = make<PasswordGeneratorC>(pasteboard, mode, MenuSource::systemField(Shared::EntrySystemField::ID::password), nullptr, owner);
        window->setRootViewController(generator);
        window->layoutIfNeeded();
        driver.settle();
        return generator;
    }

    // Taps the segment of the kind control, as a person does.
    void chooseKind(std::int64_t segment)
    {
        auto control = driver.find(String("PasswordGeneratorC.kind"));
        ASSERT_TRUE(control);
        auto bounds = control->bounds();
        EXPECT_TRUE(driver.core().tap(control, {bounds.size.width * (2.0 * static_cast<double>(segment) + 1) / 6, bounds.size.height / 2}));
        window->layoutIfNeeded();
        driver.settle();
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<Shared::PasteboardCoordinator> pasteboard;
    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<Owner> owner = make<Owner>();
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(PasswordGeneratorCTests, EverySettingMakesANewValueThatDoneHandsOver)
{
    auto generator = open(PasswordGeneratorC::Mode::password);
    EXPECT_EQ(generator->password().count(), 20);
    auto first = generator->password();
    EXPECT_TRUE(driver.core().find(first));

    chooseKind(2);
    EXPECT_EQ(generator->generatorSettings().kind, Shared::PasswordGenerator::Kind::words);
    EXPECT_NE(generator->password(), first);
    EXPECT_TRUE(driver.core().find(String("PasswordGeneratorC.separator")));
    EXPECT_FALSE(driver.core().find(String("PasswordGeneratorC.numbers")));

    chooseKind(0);
    driver.tap(String("PasswordGeneratorC.symbols"));
    EXPECT_FALSE(generator->generatorSettings().random.includesSymbols);
    for (const auto& character : generator->password().characters())
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(character.utf8()[0]))) << generator->password().utf8();

    driver.tap(String("Copy"));
    EXPECT_EQ(UIKit::UIPasteboard::general()->string(), generator->password());
    driver.tap(String("Done"));
    driver.press(String("Escape"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"done " + generator->password().utf8() + " password", "cancel"}));
}

TEST_F(PasswordGeneratorCTests, APINIsDigitsOfTheChosenLengthWithinBounds)
{
    auto generator = open(PasswordGeneratorC::Mode::pin);
    EXPECT_FALSE(driver.core().find(String("PasswordGeneratorC.kind")));
    auto settings = generator->generatorSettings();
    settings.pin.length = 1000;
    settings.kind = Shared::PasswordGenerator::Kind::words;
    generator->setGeneratorSettings(settings);
    window->layoutIfNeeded();
    EXPECT_EQ(generator->password().count(), Shared::PINGenerator::maximumLength);
    for (const auto& character : generator->password().characters())
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(character.utf8()[0])));
    EXPECT_TRUE(driver.core().find(String("Digits: 20")));
}
