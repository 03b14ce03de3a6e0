#include "Platform/UIKit/UIScrollView.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

class ScrollRectToVisible : public testing::Test {
protected:
    void SetUp() override
    {
        scrollView->setContentSize({300, 1000});
        scrollView->setContentInset({20, 0, 10, 0});
    }

    std::shared_ptr<UIScrollView> scrollView = make<UIScrollView>(CGRect {0, 0, 300, 200});
};

TEST_F(ScrollRectToVisible, TheOffsetIsTheBoundsOrigin)
{
    scrollView->setContentOffset({0, 50});
    EXPECT_EQ(scrollView->bounds().origin, (CGPoint {0, 50}));
    EXPECT_EQ(scrollView->frame(), (CGRect {0, 0, 300, 200}));
}

TEST_F(ScrollRectToVisible, ScrollsAsLittleAsItTakesAndNotAtAllForAShownRectangle)
{
    scrollView->setContentOffset({0, 100});
    // Visible content now spans y 120 to 290 (the insets cover the rest).
    scrollView->scrollRectToVisible({0, 150, 10, 50}, true);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, 100}));

    scrollView->scrollRectToVisible({0, 400, 10, 50}, true);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, 260})); // bottom edge at 450 meets 260 + 190

    scrollView->scrollRectToVisible({0, 110, 10, 20}, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, 90})); // top edge meets the top inset
}

TEST_F(ScrollRectToVisible, StaysWithinTheContentAndItsInsets)
{
    scrollView->scrollRectToVisible({0, 5000, 10, 10}, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, 810})); // 1000 + 10 - 200
    scrollView->scrollRectToVisible({0, -300, 10, 10}, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, -20}));

    // Content shorter than the view cannot scroll past its top.
    scrollView->setContentSize({300, 50});
    scrollView->scrollRectToVisible({0, 49, 300, 1}, false);
    EXPECT_EQ(scrollView->contentOffset(), (CGPoint {0, -20}));
}
