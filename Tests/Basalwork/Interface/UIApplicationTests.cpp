#include "Basalwork/Interface/UIApplication.hpp"
#include "Basalwork/Interface/UIBackgroundFetchResult.hpp"
#include "Basalwork/Interface/UIContentSizeCategory.hpp"
#include "Basalwork/Interface/UIViewAnimatingState.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using UIKit::UIApplication;
using UIKit::UIContentSizeCategory;

TEST(SystemEnumerations, DescriptionsNameEachCaseAndAFallback)
{
    EXPECT_EQ(description(UIApplication::State::background), Foundation::String("background"));
    EXPECT_EQ(description(static_cast<UIApplication::State>(7)), Foundation::String("unknown default"));
    EXPECT_EQ(description(UIKit::UIBackgroundFetchResult::noData), Foundation::String("noData"));
    EXPECT_EQ(description(static_cast<UIKit::UIBackgroundFetchResult>(-1)), Foundation::String("unknown"));
    EXPECT_EQ(description(UIKit::UIViewAnimatingState::stopped), Foundation::String("stopped"));
    EXPECT_EQ(description(static_cast<UIKit::UIViewAnimatingState>(3)), Foundation::String("@unknown default"));

    EXPECT_FALSE(isBackground(UIApplication::State::inactive));
    EXPECT_TRUE(isBackgroundOrInactive(UIApplication::State::inactive));
    EXPECT_TRUE(isBackgroundOrInactive(UIApplication::State::background));
    EXPECT_FALSE(isBackgroundOrInactive(UIApplication::State::active));
}

TEST(UIContentSizeCategory, OneLowerStepsDownAndStopsAtTheSmallest)
{
    EXPECT_EQ(oneLower(UIContentSizeCategory::large()), UIContentSizeCategory::medium());
    EXPECT_EQ(oneLower(UIContentSizeCategory::small()), UIContentSizeCategory::extraSmall());
    EXPECT_EQ(oneLower(UIContentSizeCategory::accessibilityMedium()), UIContentSizeCategory::extraExtraExtraLarge());
    EXPECT_EQ(oneLower(UIContentSizeCategory::accessibilityExtraExtraExtraLarge()),
              UIContentSizeCategory::accessibilityExtraExtraLarge());
    EXPECT_EQ(oneLower(UIContentSizeCategory::extraSmall()), UIContentSizeCategory::extraSmall());
    EXPECT_EQ(oneLower(UIContentSizeCategory::unspecified()), UIContentSizeCategory::unspecified());
}

TEST(UIApplication, OpensTheApplicationsOwnSettingsPage)
{
    auto& application = *UIApplication::shared();
    auto before = application.openedURLs().size();
    openSettingsAppAtAppsCustomSettingsScreen(application);
    ASSERT_EQ(application.openedURLs().size(), before + 1);
    EXPECT_EQ(application.openedURLs().back().absoluteString(), UIApplication::openSettingsURLString());
}
