#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/NSStringDrawingOptions.hpp"

namespace UIKit {

// Measuring text as it would be drawn, on the character grid (`TextGrid`); a colour takes no room of its
// own there.

// size(withAttributes:): each line as long as it is, trailing spaces included, one grid line per line of
// the text, and one line for an empty text. A font scales the grid by its point size against the body size the grid stands
// for (17 points): a font twice as large measures twice as wide and twice as tall.
CGSize size(const Foundation::String& string, const Foundation::NSAttributedString::Attributes& withAttributes);
// draw(at:withAttributes:): the text with its top-left corner at the point, in the attributes' colour,
// into the drawing of the view whose `draw(_:)` runs; nothing outside one.
void draw(const Foundation::String& string, CGPoint at, const Foundation::NSAttributedString::Attributes& withAttributes);
// boundingRect(with:options:attributes:context:): with `usesLineFragmentOrigin` the text wraps at the
// width (none when it is 0) and, with `truncatesLastVisibleLine`, stops at the last line the height holds;
// else it stays on one line. The rectangle starts at the origin.
CGRect boundingRect(const Foundation::String& string, CGSize with, NSStringDrawingOptions options,
                    const Foundation::NSAttributedString::Attributes& attributes);

// The same for attributed text.
CGSize size(const Foundation::NSAttributedString& string);
CGRect boundingRect(const Foundation::NSAttributedString& string, CGSize with, NSStringDrawingOptions options);

} // namespace UIKit
