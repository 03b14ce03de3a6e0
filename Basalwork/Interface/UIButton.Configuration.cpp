#include "Basalwork/Interface/UIButton.Configuration.hpp"

#include "Platform/Foundation/NSAttributedString.hpp"

namespace Basalwork {
namespace {

std::shared_ptr<Foundation::NSAttributedString> text(const Foundation::String& string,
                                                     const std::shared_ptr<UIKit::UIFont>& font)
{
    Foundation::NSAttributedString::Attributes attributes;
    if (font)
        attributes.emplace(Foundation::NSAttributedString::Key::font(), font);
    return Foundation::make<Foundation::NSAttributedString>(string, std::move(attributes));
}

} // namespace

UIKit::UIButton::Configuration UIButtonConfigurations::withTitle(
    const Foundation::String& title, const std::optional<Foundation::String>& subtitle,
    const std::shared_ptr<UIKit::UIColor>& textColor, const std::shared_ptr<UIKit::UIFont>& font,
    const std::shared_ptr<UIKit::UIColor>& backgroundColor,
    std::optional<UIKit::UIButton::Configuration::CornerStyle> cornerStyle,
    const std::shared_ptr<UIKit::UIColor>& borderColor, std::optional<UIKit::CGFloat> borderWidth,
    std::optional<UIKit::NSDirectionalEdgeInsets> contentInsets)
{
    auto configuration = UIKit::UIButton::Configuration::plain();
    configuration.attributedTitle = text(title, font);
    if (subtitle)
        configuration.attributedSubtitle = text(*subtitle, font);
    configuration.baseForegroundColor = textColor;
    if (backgroundColor)
        configuration.background.backgroundColor = backgroundColor;
    if (cornerStyle)
        configuration.cornerStyle = *cornerStyle;
    if (borderColor)
        configuration.background.strokeColor = borderColor;
    if (borderWidth)
        configuration.background.strokeWidth = *borderWidth;
    if (contentInsets)
        configuration.contentInsets = *contentInsets;
    return configuration;
}

} // namespace Basalwork
