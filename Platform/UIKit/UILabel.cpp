#include "Platform/UIKit/UILabel.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"

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
}

void UILabel::setTextColor(std::shared_ptr<UIColor> color)
{
    m_textColor = color ? std::move(color) : UIColor::label();
}

} // namespace UIKit
