#pragma once

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/NSLineBreakMode.hpp"

#include <cstdint>
#include <limits>
#include <vector>

namespace UIKit {

// Text metrics. Nothing is drawn but the terminal display, so text is measured on its grid: every
// character takes one cell of `columnWidth` x `lineHeight` points (two cells across for wide characters,
// none for invisible ones), whatever the font. A window W points wide and H high is W / columnWidth
// columns by H / lineHeight rows, and every text lies exactly on those cells.
struct TextGrid {
    static constexpr CGFloat columnWidth = 10;
    static constexpr CGFloat lineHeight = 20;
    static constexpr CGFloat unlimited = std::numeric_limits<CGFloat>::infinity();

    // Columns a character takes: 2 for East Asian wide and full-width characters and emoji, 0 for
    // controls and format characters, 1 for the rest.
    static std::int64_t columns(const Foundation::Character& character);
    // Columns of a text laid on one line (newlines take no room).
    static std::int64_t columns(const Foundation::String& text);

    // The lines a text shows in when lines are at most `width` points long: broken at its newlines,
    // wrapped at word boundaries or, `byCharWrapping`, anywhere (a word longer than a line is cut by
    // characters). At most `maximumLines` lines (0 for any number); text left over ends the last line in
    // "…" when the mode truncates. One line (`maximumLines` 1) under a truncating or clipping mode does
    // not wrap but is cut to the width. A line's trailing spaces take no room.
    static std::vector<Foundation::String> lines(const Foundation::String& text, CGFloat width, NSLineBreakMode mode,
                                                 std::int64_t maximumLines);
    // The size of those lines: the widest one across, one `lineHeight` per line; empty text has none.
    static CGSize size(const Foundation::String& text, CGFloat width, NSLineBreakMode mode, std::int64_t maximumLines);
};

} // namespace UIKit
