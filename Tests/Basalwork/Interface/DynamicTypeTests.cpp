#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Basalwork/Interface/KeyboardNotificationHandling.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/ReorderDestination.hpp"
#include "Basalwork/Interface/UIContentSizeCategory.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::IndexPath;
using Foundation::make;
using Category = UIKit::UIContentSizeCategory;

namespace {

struct DynamicTypeTest : ::testing::Test {
    ~DynamicTypeTest() override
    {
        setGlobalMinimum(std::nullopt);
        setGlobalMaximum(std::nullopt);
        UIKit::UIApplication::shared()->setPreferredContentSizeCategory(Category::large());
        TestSupport::runMainLoopUntilIdle();
    }
    std::shared_ptr<UIKit::UILabel> bodyLabel()
    {
        auto label = make<UIKit::UILabel>();
        label->setFont(UIKit::UIFont::preferredFont(UIKit::UIFont::TextStyle::body()));
        registerForPreferredContentSizeCategoryChanges(label);
        return label;
    }
};

} // namespace

TEST_F(DynamicTypeTest, LabelsFollowTheTextSizeWithinTheGlobalBounds)
{
    auto label = bodyLabel();
    UIKit::UIApplication::shared()->setPreferredContentSizeCategory(Category::accessibilityExtraExtraExtraLarge());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(label->font()->pointSize(), 53);

    setGlobalMaximum(Category::large());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(label->font()->pointSize(), 17);
    EXPECT_EQ(label->font()->fontDescriptor()->fontAttributes().textStyle, UIKit::UIFont::TextStyle::body());

    // Contradicting bounds are ignored.
    setGlobalMinimum(Category::extraLarge());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(label->font()->pointSize(), 53);
}

TEST_F(DynamicTypeTest, OnlyRealChangesOfABoundAnnounceThemselves)
{
    int posts = 0;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(
        Category::didChangeNotification(), nullptr, nullptr, [&](const Foundation::Notification&) { ++posts; });
    setGlobalMinimum(Category::medium());
    setGlobalMinimum(Category::medium());
    setGlobalMinimum(std::nullopt);
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_EQ(posts, 2);
}

TEST_F(DynamicTypeTest, AFontOfNoTextStyleGivesTheLabelItsDefaultBack)
{
    auto label = make<UIKit::UILabel>();
    label->setFont(UIKit::UIFont::systemFont(30));
    registerForPreferredContentSizeCategoryChanges(label);
    EXPECT_EQ(label->font()->pointSize(), 17);
}

TEST(KeyboardHandling, TheKeyboardInsetLeavesOutTheSafeArea)
{
    auto scrollView = make<UIKit::UIScrollView>(UIKit::CGRect {{0, 0}, {320, 640}});
    scrollView->setSafeAreaInsets({0, 0, 34, 0});
    scrollView->setContentInset({10, 0, 0, 0});
    Foundation::Notification shown(UIKit::UIResponder::keyboardWillShowNotification(), nullptr,
                                   Foundation::Notification::UserInfo {
                                       {UIKit::UIResponder::keyboardFrameEndUserInfoKey(), UIKit::CGRect {{0, 340}, {320, 300}}}});
    adjustInsets(*scrollView, shown);
    EXPECT_EQ(scrollView->contentInset().bottom, 266);
    EXPECT_EQ(scrollView->contentInset().top, 10);
    EXPECT_EQ(scrollView->verticalScrollIndicatorInsets().bottom, 266);
    adjustInsetsForKeyboardWillHide(*scrollView, shown);
    EXPECT_EQ(scrollView->contentInset().bottom, 0);
    EXPECT_EQ(scrollView->verticalScrollIndicatorInsets().bottom, 0);

    UIKit::UIView::AnimationRecorder recorder;
    animateWithKeyboardChange(shown, 0.4, nullptr, nullptr);
    EXPECT_EQ(recorder.last().duration, 0.4);
}

TEST(ReorderDestinationRule, NeighbourDependsOnDirection)
{
    using Destination = ReorderDestination<int, Foundation::String>;
    const std::vector<Foundation::String> ids {"a", "b", "c"};
    EXPECT_EQ(Destination::from(IndexPath::withRow(2, 0), IndexPath::withRow(5, 0), 0, Foundation::String("f"), ids),
              Destination::following("f"));
    EXPECT_EQ(Destination::from(IndexPath::withRow(5, 0), IndexPath::withRow(2, 0), 0, Foundation::String("c"), ids),
              Destination::preceeding("c"));
    EXPECT_EQ(Destination::from(IndexPath::withRow(0, 0), IndexPath::withRow(3, 1), 1, std::nullopt, ids),
              Destination::following("c"));
    EXPECT_EQ(Destination::from(IndexPath::withRow(0, 0), IndexPath::withRow(0, 1), 7, std::nullopt, {}),
              Destination::beginningOfSection(7));
    EXPECT_FALSE(Destination::from(IndexPath::withRow(1, 0), IndexPath::withRow(1, 0), 0, std::nullopt, ids));
}
