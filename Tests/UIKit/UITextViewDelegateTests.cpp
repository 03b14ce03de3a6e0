#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIProgressView.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UITextViewDelegate.hpp"

#include <gtest/gtest.h>

using Foundation::String;

namespace {

struct Refusing : UIKit::UITextViewDelegate {
    std::vector<std::pair<Foundation::NSRange, std::string>> asked;
    std::vector<std::string> changed;
    bool textView(UIKit::UITextView&, Foundation::NSRange range, const String& replacement) override
    {
        asked.emplace_back(range, replacement.utf8());
        return replacement.utf8() != "!";
    }
    void textViewDidChange(UIKit::UITextView& textView) override { changed.push_back(textView.text().utf8()); }
};

TEST(UITextViewDelegate, TypingIsAskedAboutInUTF16UnitsAndOnlyAcceptedChangesAreReported)
{
    auto view = Foundation::make<UIKit::UITextView>();
    auto delegate = std::make_shared<Refusing>();
    view->setDelegate(delegate);
    view->setText(String("é😀"));
    EXPECT_TRUE(delegate->changed.empty()) << "the owner's own text is no change of the user's";
    view->insertText(String("a"));
    view->insertText(String("!"));
    view->deleteBackward();
    ASSERT_EQ(delegate->asked.size(), 3U);
    EXPECT_EQ(delegate->asked[0].first, (Foundation::NSRange {3, 0}));
    EXPECT_EQ(delegate->asked[2].first, (Foundation::NSRange {3, 1})) << "deleting the last character";
    EXPECT_EQ(delegate->changed, (std::vector<std::string> {"é😀a", "é😀"}));
}

TEST(UIProgressView, FollowsTheObservedProgressAndReadsItOutAsAPercentage)
{
    auto bar = Foundation::make<UIKit::UIProgressView>();
    bar->setProgress(2);
    EXPECT_EQ(bar->progress(), 1.0F) << "clamped";
    auto progress = Foundation::make<Foundation::Progress>(std::int64_t {8});
    bar->setObservedProgress(progress);
    EXPECT_EQ(bar->progress(), 0.0F);
    progress->setCompletedUnitCount(2);
    EXPECT_EQ(bar->progress(), 0.25F);
    EXPECT_EQ(bar->accessibilityValue(), String("25%"));
    progress->setCompletedUnitCount(100);
    EXPECT_EQ(bar->progress(), 1.0F) << "never past the end";
}

} // namespace
