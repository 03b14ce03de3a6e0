#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/NSStringDrawingOptions.hpp"

namespace UIKit {

// Measuring text as it would be drawn, on the character grid (`TextGrid`); the attributes (a font, a
// colour) take no room of their own there.

// size(withAttributes:): each line as long as it is, one grid line per line of the text.
CGSize size(const Foundation::String& string, const Foundation::NSAttributedString::Attributes& withAttributes);
// boundingRect(with:options:attributes:context:): with `usesLineFragmentOrigin` the text wraps at the
// width (none when it is 0) and, with `truncatesLastVisibleLine`, stops at the last line the height holds;
// else it stays on one line. The rectangle starts at the origin.
CGRect boundingRect(const Foundation::String& string, CGSize with, NSStringDrawingOptions options,
                    const Foundation::NSAttributedString::Attributes& attributes);

// The same for attributed text.
CGSize size(const Foundation::NSAttributedString& string);
CGRect boundingRect(const Foundation::NSAttributedString& string, CGSize with, NSStringDrawingOptions options);

} // namespace UIKit
