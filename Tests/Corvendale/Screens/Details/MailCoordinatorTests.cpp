#include "Corvendale/Screens/Details/MailCoordinator.hpp"

#include "Tests/Corvendale/App/AppFixture.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <gtest/gtest.h>

using Corvendale::MailCoordinator;
using Foundation::String;

namespace {

std::optional<std::string> link(const char* recipient, std::optional<String> subject = std::nullopt, std::optional<String> body = std::nullopt)
{
    auto url = MailCoordinator::mailtoURL(String(recipient), subject, body);
    return url ? std::optional(url->absoluteString().utf8()) : std::nullopt;
}

TEST(MailCoordinatorLink, NamesBothItemsAndKeepsTheRecipientToItsAddress)
{
    EXPECT_EQ(link("bob@example.com"), "mailto:bob@example.com?subject&body");
    EXPECT_EQ(link("bob@example.com", String("Hi & bye"), String("Line\\n")), "mailto:bob@example.com?subject=Hi%20%26%20bye&body=Line%5Cn");
    // What would start items or a fragment of its own stays inside the address.
    EXPECT_EQ(link("bob@example.com?cc=eve@example.com#x"), "mailto:bob@example.com%3Fcc=eve@example.com%23x?subject&body");
    EXPECT_EQ(link("bob @example.com"), std::nullopt);
    EXPECT_EQ(link(""), std::nullopt);
}

TEST(MailCoordinatorCompose, AFileNeedsTheComposerAndALinkNeedsAHandler)
{
    auto window = Foundation::make<UIKit::UIWindow>();
    window->setFrame({0, 0, 800, 600});
    auto presenter = Foundation::make<UIKit::UIViewController>();
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
    auto notice = [&]() -> std::string {
        auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(presenter->presentedViewController());
        return alert && alert->message() ? alert->message()->utf8() : std::string();
    };
    const auto& application = UIKit::UIApplication::shared();
    const auto opened = application->openedURLs().size();

    MailCoordinator::compose(String("bob@example.com"), String("Report"), std::nullopt, MailCoordinator::Attachment {{}, String("text/plain"), String("a.txt")},
                             String("Reporting errors"), *presenter, false);
    EXPECT_EQ(notice().rfind("Reporting errors", 0), 0u) << "no mail account for the composer: " << notice();
    EXPECT_EQ(application->openedURLs().size(), opened) << "a file never goes as a link";
    presenter->dismiss(false);
    TestSupport::runMainLoopUntilIdle();

    MailCoordinator::compose(String("bob@example.com"), String("Report"), std::nullopt, std::nullopt, String("Reporting errors"), *presenter, false);
    ASSERT_EQ(application->openedURLs().size(), opened + 1);
    EXPECT_EQ(application->openedURLs().back().absoluteString(), "mailto:bob@example.com?subject=Report&body");

    MailCoordinator::compose(String("bob example"), std::nullopt, std::nullopt, std::nullopt, String("Sending Analytics ID"), *presenter, false);
    EXPECT_EQ(notice().rfind("Sending Analytics ID", 0), 0u);
}

} // namespace
