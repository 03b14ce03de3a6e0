#include "Platform/Foundation/NSAttributedString.Key.hpp"
#include "Platform/UIKit/NSString.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::String;
using Lines = std::vector<String>;

namespace {

constexpr CGFloat cell = TextGrid::columnWidth;
constexpr CGFloat line = TextGrid::lineHeight;

Lines wrap(const char* text, int columns, NSLineBreakMode mode = NSLineBreakMode::byWordWrapping, std::int64_t lines = 0)
{
    return TextGrid::lines(String(text), columns * cell, mode, lines);
}

} // namespace

TEST(TextGrid, CharactersTakeTheCellsATerminalGivesThem)
{
    EXPECT_EQ(TextGrid::columns(String("Hello")), 5);
    EXPECT_EQ(TextGrid::columns(String("日本語")), 6);
    EXPECT_EQ(TextGrid::columns(String("a😀b")), 4);
    EXPECT_EQ(TextGrid::columns(String("e\u0301")), 1);      // one character, accent included
    EXPECT_EQ(TextGrid::columns(String("a\u200Bb")), 2);     // a zero-width space takes none
    EXPECT_EQ(TextGrid::columns(String("\u2764\uFE0F")), 2); // a heart shown as an emoji
    // Every font takes the same cells.
    auto small = make<UILabel>();
    small->setText(String("abc"));
    small->setFont(UIFont::systemFont(9));
    auto large = make<UILabel>();
    large->setText(String("abc"));
    large->setFont(UIFont::systemFont(60));
    EXPECT_EQ(small->intrinsicContentSize(), large->intrinsicContentSize());
    EXPECT_EQ(small->intrinsicContentSize(), (CGSize {3 * cell, line}));
}

TEST(TextGrid, WrapsAtWordsOrAnywhereAndKeepsNewlines)
{
    EXPECT_EQ(wrap("The quick brown fox jumps", 10), (Lines {"The quick", "brown fox", "jumps"}));
    // Spaces at a line's end take no room, so "brown fox " still fits ten columns.
    EXPECT_EQ(wrap("brown fox  jumps", 9), (Lines {"brown fox", "jumps"}));
    // A word longer than a line is cut where the line ends.
    EXPECT_EQ(wrap("a supercalifragilistic word", 8), (Lines {"a", "supercal", "ifragili", "stic", "word"}));
    EXPECT_EQ(wrap("well-known fact", 6), (Lines {"well-", "known", "fact"}));
    EXPECT_EQ(wrap("abc def", 4, NSLineBreakMode::byCharWrapping), (Lines {"abc", "def"}));
    EXPECT_EQ(wrap("abcdefgh", 3, NSLineBreakMode::byCharWrapping), (Lines {"abc", "def", "gh"}));
    EXPECT_EQ(wrap("one\n\ntwo\n", 10), (Lines {"one", "", "two", ""}));
    EXPECT_EQ(wrap("日本語のテキスト", 6), (Lines {"日本語", "のテキ", "スト"}));
    // Even a line narrower than a character shows one character a line.
    EXPECT_EQ(wrap("日本", 1), (Lines {"日", "本"}));
    EXPECT_TRUE(wrap("", 10).empty());
}

TEST(TextGrid, TruncatesWhatDoesNotFitWhereTheModeSays)
{
    EXPECT_EQ(wrap("abcdefghij", 6, NSLineBreakMode::byTruncatingTail, 1), (Lines {"abcde…"}));
    EXPECT_EQ(wrap("abcdefghij", 6, NSLineBreakMode::byTruncatingHead, 1), (Lines {"…fghij"}));
    EXPECT_EQ(wrap("abcdefghij", 6, NSLineBreakMode::byTruncatingMiddle, 1), (Lines {"abc…ij"}));
    EXPECT_EQ(wrap("abcdefghij", 6, NSLineBreakMode::byClipping, 1), (Lines {"abcdef"}));
    EXPECT_EQ(wrap("first\nsecond", 20, NSLineBreakMode::byTruncatingTail, 1), (Lines {"first…"}));
    EXPECT_EQ(wrap("one two three four", 8, NSLineBreakMode::byTruncatingTail, 2), (Lines {"one two", "three f…"}));
    EXPECT_EQ(wrap("one two three four", 8, NSLineBreakMode::byWordWrapping, 2), (Lines {"one two", "three"}));
}

TEST(TextGrid, MeasuresStringsAsTheyWouldBeDrawn)
{
    const Foundation::NSAttributedString::Attributes none;
    EXPECT_EQ(size(String("two\nlines here"), none), (CGSize {10 * cell, 2 * line}));
    // An empty text still takes a line's height, and trailing spaces are drawn, so they take room.
    EXPECT_EQ(size(String(""), none), (CGSize {0, line}));
    EXPECT_EQ(size(String("ab  "), none), (CGSize {4 * cell, line}));
    // A font scales the grid by its size against body text's: twice the size, twice as large.
    const Foundation::NSAttributedString::Attributes body {{Foundation::NSAttributedString::Key::font(), UIFont::systemFont(17)}};
    const Foundation::NSAttributedString::Attributes large {{Foundation::NSAttributedString::Key::font(), UIFont::systemFont(34)}};
    EXPECT_EQ(size(String("abc"), body), (CGSize {3 * cell, line}));
    EXPECT_EQ(size(String("abc"), large), (CGSize {6 * cell, 2 * line}));
    const auto wrapping = NSStringDrawingOptions::usesLineFragmentOrigin();
    EXPECT_EQ(boundingRect(String("The quick brown fox"), {10 * cell, 0}, wrapping, none), (CGRect {0, 0, 9 * cell, 2 * line}));
    EXPECT_EQ(boundingRect(String("The quick brown fox"), {10 * cell, 0}, {}, none), (CGRect {0, 0, 19 * cell, line}));
    EXPECT_EQ(boundingRect(String("a b c d e f"), {3 * cell, line * 2.5},
                           wrapping | NSStringDrawingOptions::truncatesLastVisibleLine(), none),
              (CGRect {0, 0, 3 * cell, 2 * line}));
    auto attributed = Foundation::make<Foundation::NSAttributedString>(String("abc"));
    EXPECT_EQ(size(*attributed), (CGSize {3 * cell, line}));
}

TEST(TextGrid, ControlsTakeTheSizeOfTheirText)
{
    auto field = make<UITextField>();
    field->setPlaceholder(String("Name"));
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize {4 * cell, line}));
    EXPECT_TRUE(field->firstRectOfDocument().isNull());
    field->setText(String("Ada Lovelace"));
    EXPECT_EQ(field->intrinsicContentSize(), (CGSize {12 * cell, line}));
    EXPECT_EQ(field->firstRectOfDocument(), (CGRect {0, 0, 12 * cell, line}));

    auto button = make<UIButton>();
    EXPECT_EQ(button->intrinsicContentSize(), (CGSize {cell, line}));
    button->setTitle(String("Save"), UIControl::State::normal());
    EXPECT_EQ(button->intrinsicContentSize(), (CGSize {4 * cell, line}));
    UIButton::Configuration configuration;
    configuration.attributedTitle = Foundation::make<Foundation::NSAttributedString>(String("Export"));
    configuration.attributedSubtitle = Foundation::make<Foundation::NSAttributedString>(String("All items"));
    configuration.contentInsets = {5, 10, 5, 10};
    button->setConfiguration(configuration);
    EXPECT_EQ(button->intrinsicContentSize(), (CGSize {9 * cell + 20, 2 * line + 10}));

    auto view = make<UITextView>();
    EXPECT_EQ(view->intrinsicContentSize().height, UIView::noIntrinsicMetric);
    view->setIsScrollEnabled(false);
    view->setText(String("one two three"));
    view->setTextContainerInset({});
    // Five points of padding each side of the line, as a text container keeps.
    EXPECT_EQ(view->intrinsicContentSizeAtWidth(8 * cell + 10), (CGSize {7 * cell + 10, 2 * line}));

    auto label = make<UILabel>();
    EXPECT_EQ(label->intrinsicContentSize(), (CGSize {0, 0}));
    label->setText(String("one two three"));
    label->setNumberOfLines(0);
    EXPECT_EQ(label->sizeThatFits({8 * cell, 0}), (CGSize {7 * cell, 2 * line}));
    label->setPreferredMaxLayoutWidth(5 * cell);
    EXPECT_EQ(label->intrinsicContentSize(), (CGSize {5 * cell, 3 * line}));
}
