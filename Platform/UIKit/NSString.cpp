#include "Platform/UIKit/NSString.hpp"

#include "Platform/UIKit/TextGrid.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {

CGSize size(const Foundation::String& string, const Foundation::NSAttributedString::Attributes&)
{
    return TextGrid::size(string, TextGrid::unlimited, NSLineBreakMode::byWordWrapping, 0);
}

CGRect boundingRect(const Foundation::String& string, CGSize with, NSStringDrawingOptions options,
                    const Foundation::NSAttributedString::Attributes&)
{
    if (!options.contains(NSStringDrawingOptions::usesLineFragmentOrigin()))
        return {{0, 0}, TextGrid::size(string, TextGrid::unlimited, NSLineBreakMode::byClipping, 1)};
    const CGFloat width = with.width > 0 ? with.width : TextGrid::unlimited;
    std::int64_t lines = 0;
    if (options.contains(NSStringDrawingOptions::truncatesLastVisibleLine()) && with.height > 0)
        lines = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(with.height / TextGrid::lineHeight)));
    const auto mode = lines > 0 ? NSLineBreakMode::byTruncatingTail : NSLineBreakMode::byWordWrapping;
    return {{0, 0}, TextGrid::size(string, width, mode, lines)};
}

CGSize size(const Foundation::NSAttributedString& string)
{
    return size(string.string(), {});
}

CGRect boundingRect(const Foundation::NSAttributedString& string, CGSize with, NSStringDrawingOptions options)
{
    return boundingRect(string.string(), with, options, {});
}

} // namespace UIKit
