#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UINavigationBarAppearance.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UISearchBar.hpp"
#include "Platform/UIKit/UISearchController.hpp"
#include "Platform/UIKit/UISearchTextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace UIKit;
using Foundation::make;

namespace {

std::shared_ptr<UIButton> cancelButton(const UISearchBar& bar)
{
    for (const auto& view : bar.subviews())
        if (auto button = std::dynamic_pointer_cast<UIButton>(view))
            return button;
    return nullptr;
}

} // namespace

TEST(UISearchBar, TheCancelButtonShowsOnRequestAndIsDisabledWhenEditingEnds)
{
    auto window = make<UIWindow>(make<UIWindowScene>());
    window->makeKeyAndVisible();
    auto bar = make<UISearchBar>();
    window->addSubview(bar);
    auto cancel = cancelButton(*bar);
    ASSERT_TRUE(cancel);
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_EQ(cancel->currentTitle(), "Cancel");

    bar->setShowsCancelButton(true, false);
    EXPECT_FALSE(cancel->isHidden());
    EXPECT_TRUE(cancel->isEnabled());
    ASSERT_TRUE(bar->searchTextField()->becomeFirstResponder());
    ASSERT_TRUE(bar->searchTextField()->resignFirstResponder());
    EXPECT_FALSE(cancel->isEnabled());
    ASSERT_TRUE(bar->searchTextField()->becomeFirstResponder());
    EXPECT_TRUE(cancel->isEnabled());

    bar->setShowsCancelButton(false);
    EXPECT_TRUE(cancel->isHidden());
}

TEST(UINavigationItem, SearchAndAppearancesAreKeptAndObserved)
{
    auto item = make<UINavigationItem>();
    EXPECT_TRUE(item->hidesSearchBarWhenScrolling());
    std::vector<std::pair<bool, bool>> changes;
    auto observation = item->observeHidesSearchBarWhenScrolling([&](bool old, bool now) { changes.emplace_back(old, now); });
    item->setHidesSearchBarWhenScrolling(false);
    item->setHidesSearchBarWhenScrolling(false);
    observation->invalidate();
    item->setHidesSearchBarWhenScrolling(true);
    EXPECT_EQ(changes, (std::vector<std::pair<bool, bool>> {{true, false}, {false, false}}));

    auto search = make<UISearchController>();
    ASSERT_TRUE(search->searchBar());
    item->setSearchController(search);
    EXPECT_EQ(item->searchController(), search);

    auto appearance = make<UINavigationBarAppearance>();
    EXPECT_TRUE(appearance->backgroundEffect()); // the default background is a blur
    appearance->configureWithOpaqueBackground();
    EXPECT_FALSE(appearance->backgroundEffect());
    EXPECT_TRUE(appearance->backgroundColor());
    EXPECT_TRUE(appearance->buttonAppearance() && appearance->doneButtonAppearance() && appearance->backButtonAppearance());
    item->setScrollEdgeAppearance(appearance);
    EXPECT_EQ(item->scrollEdgeAppearance(), appearance);
    EXPECT_EQ(item->standardAppearance(), nullptr);
}
