#include "Platform/UIKit/UILabel.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/TextGrid.hpp"

namespace UIKit {

UILabel::UILabel()
    : m_font(defaultFont())
    , m_textColor(UIColor::label())
{
}

UILabel::UILabel(const CGRect& frame)
    : UIView(frame)
    , m_font(defaultFont())
    , m_textColor(UIColor::label())
{
}

std::shared_ptr<UIFont> UILabel::defaultFont()
{
    return UIFont::systemFont(17);
}

void UILabel::setFont(std::shared_ptr<UIFont> font)
{
    m_font = font ? std::move(font) : defaultFont();
    // Text takes the same cells in every font; the size stays, but a subclass may measure otherwise.
    invalidateIntrinsicContentSize();
}

void UILabel::setText(std::optional<Foundation::String> text)
{
    m_text = std::move(text);
    invalidateIntrinsicContentSize();
}

void UILabel::setNumberOfLines(std::int64_t lines)
{
    if (lines == m_numberOfLines)
        return;
    m_numberOfLines = lines;
    invalidateIntrinsicContentSize();
}

void UILabel::setLineBreakMode(NSLineBreakMode mode)
{
    if (mode == m_lineBreakMode)
        return;
    m_lineBreakMode = mode;
    invalidateIntrinsicContentSize();
}

void UILabel::setPreferredMaxLayoutWidth(CGFloat width)
{
    if (width == m_preferredMaxLayoutWidth)
        return;
    m_preferredMaxLayoutWidth = width;
    invalidateIntrinsicContentSize();
}

CGSize UILabel::intrinsicContentSize() const
{
    if (!m_text)
        return {0, 0};
    if (m_numberOfLines == 1)
        return TextGrid::size(*m_text, TextGrid::unlimited, m_lineBreakMode, 1);
    return TextGrid::size(*m_text, m_preferredMaxLayoutWidth > 0 ? m_preferredMaxLayoutWidth : TextGrid::unlimited,
                          m_lineBreakMode, m_numberOfLines);
}

std::optional<CGSize> UILabel::intrinsicContentSizeAtWidth(CGFloat width) const
{
    if (m_numberOfLines == 1 || m_preferredMaxLayoutWidth > 0)
        return std::nullopt;
    if (!m_text)
        return CGSize {0, 0};
    return TextGrid::size(*m_text, width, m_lineBreakMode, m_numberOfLines);
}

CGSize UILabel::sizeThatFits(CGSize size) const
{
    if (!m_text)
        return {0, 0};
    const CGFloat width = m_numberOfLines != 1 && size.width > 0 ? size.width : TextGrid::unlimited;
    return TextGrid::size(*m_text, width, m_lineBreakMode, m_numberOfLines);
}

void UILabel::setTextColor(std::shared_ptr<UIColor> color)
{
    m_textColor = color ? std::move(color) : UIColor::label();
}

} // namespace UIKit
