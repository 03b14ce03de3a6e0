#include "Shared/Model/Settings.Appearance.hpp"

#include "Basalwork/Interface/UIFont.hpp"

#include "Platform/UIKit/UIFontDescriptor.SystemDesign.hpp"
#include "Platform/UIKit/UIFontDescriptor.hpp"

namespace Shared {

std::shared_ptr<UIKit::UIFont> Settings::Appearance::font(const UIKit::UIFont::TextStyle& style, bool isMonospaced) const
{
    auto font = UIKit::UIFont::preferredFont(style);
    double scale = 1;
    switch (fontSize) {
    case FontSize::standard:
        break;
    case FontSize::smaller:
        scale = 0.9;
        break;
    case FontSize::larger:
        scale = 1.15;
        break;
    case FontSize::xLarger:
        scale = 1.3;
        break;
    }
    font = font->withSize(font->pointSize() * scale);
    if (isMonospaced)
        return Basalwork::monospaced(font);
    if (fontStyle == FontStyle::rounded)
        return Foundation::make<UIKit::UIFont>(font->fontDescriptor()->withDesign(UIKit::UIFontDescriptor::SystemDesign::rounded()), font->pointSize());
    return font;
}

} // namespace Shared
