#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::String;

namespace {

struct Ending {
    std::optional<String> activityType;
    bool completed;
};

class ShareSheet : public testing::Test {
protected:
    void SetUp() override
    {
        window->setFrame({0, 0, 800, 600});
        window->setRootViewController(presenter);
        window->makeKeyAndVisible();
        anchor->setFrame({20, 20, 100, 30});
        presenter->view()->addSubview(anchor);
        UIPasteboard::general()->setString(String("before"));
    }

    std::shared_ptr<UIActivityViewController> presentSheet(std::vector<String> items)
    {
        auto sheet = make<UIActivityViewController>(std::move(items));
        sheet->setCompletionWithItemsHandler([this](const std::optional<String>& type, bool completed) {
            endings.push_back({type, completed});
        });
        sheet->popoverPresentationController()->setSourceView(anchor);
        presenter->present(sheet, true);
        driver.settle();
        return sheet;
    }

    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<UIViewController> presenter = make<UIViewController>();
    std::shared_ptr<UIView> anchor = make<UIView>();
    TestSupport::Driver driver {scene};
    std::vector<Ending> endings;
};

} // namespace

TEST_F(ShareSheet, CopyingPutsEveryItemOnThePasteboardAndEndsOnceTheSheetIsGone)
{
    auto sheet = presentSheet({"Title\nuser", "https://example.com/item"});
    EXPECT_EQ(sheet->activityItems().size(), 2u);
    EXPECT_EQ(sheet->activityTypes(), std::vector<String> {UIActivityViewController::copyToPasteboard()});

    driver.tap("Copy");
    EXPECT_EQ(presenter->presentedViewController(), nullptr);
    auto pasteboard = UIPasteboard::general();
    ASSERT_EQ(pasteboard->numberOfItems(), 2);
    EXPECT_EQ(pasteboard->string(), String("Title\nuser"));
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].activityType, UIActivityViewController::copyToPasteboard());
    EXPECT_TRUE(endings[0].completed);

    sheet->perform(UIActivityViewController::copyToPasteboard());
    driver.settle();
    EXPECT_EQ(endings.size(), 1u) << "a sheet ends once";
}

TEST_F(ShareSheet, EscapeOrADismissalInCodeEndsWithoutAnActivity)
{
    presentSheet({"text"});
    driver.press("Escape");
    EXPECT_EQ(presenter->presentedViewController(), nullptr);
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].activityType, std::nullopt);
    EXPECT_FALSE(endings[0].completed);

    auto sheet = presentSheet({"text"});
    sheet->perform("com.example.unknown");
    presenter->dismiss(false);
    driver.settle();
    ASSERT_EQ(endings.size(), 2u);
    EXPECT_FALSE(endings[1].completed);
    EXPECT_EQ(UIPasteboard::general()->string(), String("before")) << "nothing was copied";
}

TEST_F(ShareSheet, NothingToShareOffersNoActivity)
{
    auto sheet = presentSheet({});
    EXPECT_TRUE(sheet->activityTypes().empty());
    EXPECT_EQ(driver.core().find("Copy"), nullptr);
}
