#include "Tests/Shared/Stores/VaultFixture.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Screens/LetterPressCollector.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Screens/ProcessingActionVC.hpp"
#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Screens/UIColor.hpp"
#include "Shared/Screens/UIViewController.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"
#include "Shared/Transfer/URL.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Shared;
using Foundation::make;
using Foundation::String;

namespace {

Foundation::URL url(const char* text)
{
    return *Foundation::URL::string(String(text));
}

class Screen : public UIKit::UIViewController, public ProcessingActionPresenting {
protected:
    friend Foundation::Construct;
    Screen() = default;
    void loadView() override { setView(make<UIKit::UIView>(UIKit::CGRect {0, 0, 400, 400})); }
};

class AppearanceFollowingView : public UIKit::UIView, public PreferenceStoreAppearanceUpdateHandling {
public:
    int updates = 0;
    void update(const Settings::Appearance&) override { ++updates; }

protected:
    friend Foundation::Construct;
    AppearanceFollowingView() = default;
};

class ScreenPiecesOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        window->setFrame({0, 0, 800, 600});
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        driver.settle();
    }

    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<Screen> screen = make<Screen>();
    TestSupport::Driver driver {scene};
};

} // namespace

TEST(ScreenPiecesTests, URLsAreClassifiedWhateverTheirCase)
{
    EXPECT_TRUE(isImportableFileURL(Foundation::URL::fileURLWithPath("/tmp/export.CSV")));
    EXPECT_FALSE(isImportableFileURL(Foundation::URL::fileURLWithPath("/tmp/photo.png")));
    EXPECT_FALSE(isImportableFileURL(url("https://example.com/export.csv")));
    EXPECT_TRUE(isCorvendaleBackupURL(Foundation::URL::fileURLWithPath("/tmp/Backup.CorvendaleBackup")));
    EXPECT_TRUE(isFolder(Foundation::URL::fileURLWithPath("/tmp")));
    EXPECT_FALSE(isFolder(Foundation::URL::fileURLWithPath("/no/such/folder")));
    EXPECT_TRUE(isCorvendaleShareURL(url("CORVENDALE://share?item=1")));
    EXPECT_FALSE(isCorvendaleShareURL(url("corvendale://other")));

    auto link = url("otpauth://totp/Example%20Mail:alice@example.com?secret=JBSWY3DPEHPK3PXP&issuer=Example");
    ASSERT_TRUE(isOTPAuthURL(link));
    EXPECT_EQ(otpAuthServiceName(link), String("Example Mail"));
    EXPECT_EQ(otpAuthUsername(link), String("alice@example.com"));
    EXPECT_EQ(otpAuthIssuer(link), String("Example"));

    auto bare = url("otpauth://totp/%20?secret=JBSWY3DPEHPK3PXP&issuer=Bank%26Co");
    EXPECT_EQ(otpAuthServiceName(bare), String("Bank&Co")) << "without a label prefix the issuer names the service";
    EXPECT_EQ(otpAuthUsername(bare), std::nullopt) << "a blank account is none";
    EXPECT_FALSE(isOTPAuthURL(url("otpauth://hotp/x?secret=A")));
    EXPECT_EQ(otpAuthIssuer(url("https://example.com/a:b")), std::nullopt);
}

TEST(ScreenPiecesTests, LettersTypedInQuickSuccessionGather)
{
    auto collector = make<LetterPressCollector>();
    collector->collect(Foundation::Character(U'm'));
    TestSupport::advanceClock(0.5);
    EXPECT_EQ(collector->collect(Foundation::Character(U'a')), String("ma"));
    TestSupport::advanceClock(LetterPressCollector::resetInterval + 0.1);
    EXPECT_EQ(collector->collect(Foundation::Character(U'b')), String("b")) << "a pause starts afresh";
    for (int i = 0; i < 100; ++i)
        collector->collect(Foundation::Character(U'x'));
    EXPECT_LE(collector->text().count(), LetterPressCollector::maximumLength);
}

TEST(ScreenPiecesTests, ColoursFollowTheChosenSchemeAndDarkStyle)
{
    SharedTests::removeApplicationGroup();
    SharedTests::Vault vault;
    auto follower = make<AppearanceFollowingView>();
    follower->registerForPreferenceStoreDidUpdateAppearanceNotifications();
    vault.preferenceStore->setColorScheme(Settings::Appearance::ColorScheme::alwaysDark);
    EXPECT_EQ(follower->overrideUserInterfaceStyle(), UIKit::UIUserInterfaceStyle::dark) << "a view takes the chosen scheme itself";
    EXPECT_EQ(follower->updates, 2);

    auto dark = UIKit::UITraitCollection {UIKit::UIUserInterfaceStyle::dark};
    auto gray = UIColors::primaryBackground()->resolvedColor(dark);
    vault.preferenceStore->setDarkModeStyle(Settings::Appearance::DarkModeStyle::black);
    auto black = UIColors::primaryBackground()->resolvedColor(dark);
    EXPECT_NE(gray->red(), black->red()) << "a plain colour follows a changed dark-mode style";
    EXPECT_EQ(black->red(), 0.0);

    auto light = Settings::Appearance {Settings::Appearance::ColorScheme::alwaysLight};
    EXPECT_EQ(UIColors::primaryBackground(light)->resolvedColor(dark)->red(), UIColors::primaryBackground()->resolvedColor({})->red())
        << "always light stays light in a dark system";
}

TEST_F(ScreenPiecesOnScreen, ConfirmationsCallBackWithTheUsersChoice)
{
    std::vector<bool> answers;
    auto source = Basalwork::PresentationSource::view(screen->view());
    screen->present(UIAlertControllers::makeArchiveConfirmation(source, true, [&](bool askAgain) { answers.push_back(askAgain); }), false);
    driver.settle();
    driver.chooseAlertAction("Archive and Don’t Ask Again");
    driver.wait(1);
    screen->present(UIAlertControllers::makeDuplicateConfirmation({"a", "b"}, source, false, [&](bool askAgain) { answers.push_back(askAgain); }),
                    false);
    driver.settle();
    EXPECT_TRUE(driver.core().find("Duplicate 2 Items?"));
    driver.chooseAlertAction("Duplicate");
    driver.wait(1);
    EXPECT_EQ(answers, (std::vector<bool> {false, true}));

    bool deleted = false;
    screen->present(UIAlertControllers::makePermanentlyDeleteConfirmation(source, [&] { deleted = true; }), false);
    driver.settle();
    driver.chooseAlertAction("Cancel");
    driver.wait(1);
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(screen->presentedViewController());

    auto limit = UIAlertControllers::makeFieldLimitReached(source);
    EXPECT_EQ(limit->actions().size(), 1u);
    EXPECT_EQ(UIAlertControllers::makeUnableToSendMail("Sending failure reports")->message()->hasPrefix("Sending failure reports"), true);
}

TEST_F(ScreenPiecesOnScreen, ProcessingShowsItsProgressUntilItFinishes)
{
    auto progress = make<Foundation::Progress>(4);
    bool started = false;
    screen->didStartProcessing({ProcessingAction::Kind::decryptAttachment, progress}, [&] { started = true; });
    driver.settle();
    EXPECT_TRUE(started);
    auto sheet = std::dynamic_pointer_cast<ProcessingActionVC>(screen->presentedViewController());
    ASSERT_TRUE(sheet);
    progress->setCompletedUnitCount(2);
    driver.wait(0.5);
    EXPECT_TRUE(driver.core().find("50%"));
    window->layoutIfNeeded();
    driver.tap("Cancel");
    EXPECT_TRUE(progress->isCancelled());

    bool dismissed = false;
    screen->didFinishProcessing([&] { dismissed = true; });
    driver.settle();
    EXPECT_TRUE(dismissed);
    EXPECT_FALSE(screen->presentedViewController());
    dismissed = false;
    screen->didFinishProcessing([&] { dismissed = true; });
    EXPECT_TRUE(dismissed) << "with nothing showing the callback still runs";
}

TEST_F(ScreenPiecesOnScreen, DismissalsLookAtWhatIsPresented)
{
    screen->present(make<Screen>(), false);
    driver.settle();
    dismissPresentedViewController<ProcessingActionVC>(*screen);
    driver.settle();
    EXPECT_TRUE(screen->presentedViewController()) << "only a controller of the type is dismissed";
    dismissPresentedViewController<Screen>(*screen);
    driver.settle();
    EXPECT_FALSE(screen->presentedViewController());

    int completions = 0;
    dismissIfPresenting(*screen, false, [&] { ++completions; });
    perform(*screen, [&] { ++completions; }, true, 0.3, [&] { ++completions; });
    driver.wait(0.3);
    EXPECT_EQ(completions, 3);
}
