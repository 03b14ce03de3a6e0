#include "Basalwork/Interface/UIScrollView.hpp"
#include "Basalwork/Interface/UISearchBar.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::CGPoint;
using UIKit::UITextField;

TEST(UIScrollView, ScrollsToTheTopBelowTheInsetAndToTheLastRow)
{
    auto scrollView = make<UIKit::UIScrollView>(UIKit::CGRect {0, 0, 320, 400});
    scrollView->setContentSize({320, 2000});
    scrollView->setContentInset({44, 0, 0, 0});

    scrollToBottom(*scrollView, true);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, 1600}));
    scrollToTop(*scrollView, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, -44}));

    // Content that fits stays where it is.
    scrollView->setContentSize({320, 100});
    scrollToBottom(*scrollView, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, -44}));
}

TEST(UISearchBar, ClearButtonModeIgnoresNil)
{
    auto searchBar = make<UIKit::UISearchBar>();
    EXPECT_EQ(textField(*searchBar)->superview(), searchBar);
    EXPECT_EQ(clearButtonMode(*searchBar), UITextField::ViewMode::whileEditing);

    setClearButtonMode(*searchBar, UITextField::ViewMode::always);
    setClearButtonMode(*searchBar, std::nullopt);
    EXPECT_EQ(clearButtonMode(*searchBar), UITextField::ViewMode::always);
    EXPECT_EQ(searchBar->searchTextField()->clearButtonMode(), UITextField::ViewMode::always);
}
