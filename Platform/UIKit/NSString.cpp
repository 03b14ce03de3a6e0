#include "Platform/UIKit/NSString.hpp"

#include "Platform/Foundation/NSAttributedString.Key.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/ViewDrawing.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {

namespace {

// The size of body text, which one grid cell holds.
constexpr CGFloat gridPointSize = 17;

template <class T>
std::shared_ptr<T> attribute(const Foundation::NSAttributedString::Attributes& attributes, const Foundation::NSAttributedString::Key& key)
{
    const auto found = attributes.find(key);
    if (found == attributes.end())
        return nullptr;
    if (const auto* value = std::any_cast<std::shared_ptr<T>>(&found->second))
        return *value;
    return nullptr;
}

} // namespace

CGSize size(const Foundation::String& string, const Foundation::NSAttributedString::Attributes& withAttributes)
{
    // Unlike a label's lines, measured text keeps its trailing spaces: they are drawn.
    std::int64_t columns = 0;
    const auto lines = string.components(Foundation::String("\n"));
    for (const auto& line : lines)
        columns = std::max(columns, TextGrid::columns(line));
    CGSize measured {static_cast<CGFloat>(columns) * TextGrid::columnWidth,
                     static_cast<CGFloat>(std::max<std::size_t>(lines.size(), 1)) * TextGrid::lineHeight};
    const auto font = attribute<UIFont>(withAttributes, Foundation::NSAttributedString::Key::font());
    if (!font || !(font->pointSize() > 0))
        return measured;
    const CGFloat scale = font->pointSize() / gridPointSize;
    return {measured.width * scale, measured.height * scale};
}

void draw(const Foundation::String& string, CGPoint at, const Foundation::NSAttributedString::Attributes& withAttributes)
{
    if (auto* drawing = ViewDrawing::current())
        drawing->text(string, {at, size(string, withAttributes)}, attribute<UIColor>(withAttributes, Foundation::NSAttributedString::Key::foregroundColor()));
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
