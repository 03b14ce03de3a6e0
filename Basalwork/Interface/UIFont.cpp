#include "Basalwork/Interface/UIFont.hpp"

namespace Basalwork {

using UIKit::UIFont;
using UIKit::UIFontDescriptor;

std::shared_ptr<UIFont> UIFonts::largeTitle() { return UIFont::preferredFont(UIFont::TextStyle::largeTitle()); }

std::shared_ptr<UIFont> UIFonts::title1() { return UIFont::preferredFont(UIFont::TextStyle::title1()); }

std::shared_ptr<UIFont> UIFonts::title2() { return UIFont::preferredFont(UIFont::TextStyle::title2()); }

std::shared_ptr<UIFont> UIFonts::title3() { return UIFont::preferredFont(UIFont::TextStyle::title3()); }

std::shared_ptr<UIFont> UIFonts::headline() { return UIFont::preferredFont(UIFont::TextStyle::headline()); }

std::shared_ptr<UIFont> UIFonts::callout() { return UIFont::preferredFont(UIFont::TextStyle::callout()); }

std::shared_ptr<UIFont> UIFonts::subheadline() { return UIFont::preferredFont(UIFont::TextStyle::subheadline()); }

std::shared_ptr<UIFont> UIFonts::body() { return UIFont::preferredFont(UIFont::TextStyle::body()); }

std::shared_ptr<UIFont> UIFonts::footnote() { return UIFont::preferredFont(UIFont::TextStyle::footnote()); }

std::shared_ptr<UIFont> UIFonts::caption1() { return UIFont::preferredFont(UIFont::TextStyle::caption1()); }

std::shared_ptr<UIFont> UIFonts::caption2() { return UIFont::preferredFont(UIFont::TextStyle::caption2()); }

std::shared_ptr<UIFont> withWeight(const std::shared_ptr<UIFont>& font, UIFont::Weight weight)
{
    UIFontDescriptor::Attributes attributes;
    attributes.traits = UIFontDescriptor::Traits {weight, std::nullopt};
    return Foundation::make<UIFont>(font->fontDescriptor()->addingAttributes(attributes), font->pointSize());
}

std::shared_ptr<UIFont> ultraLight(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::ultraLight());
}

std::shared_ptr<UIFont> thin(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::thin());
}

std::shared_ptr<UIFont> light(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::light());
}

std::shared_ptr<UIFont> regular(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::regular());
}

std::shared_ptr<UIFont> medium(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::medium());
}

std::shared_ptr<UIFont> semibold(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::semibold());
}

std::shared_ptr<UIFont> bold(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::bold());
}

std::shared_ptr<UIFont> heavy(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::heavy());
}

std::shared_ptr<UIFont> black(const std::shared_ptr<UIFont>& font)
{
    return withWeight(font, UIFont::Weight::black());
}

std::shared_ptr<UIFont> italicized(const std::shared_ptr<UIFont>& font)
{
    auto descriptor = font->fontDescriptor()->withSymbolicTraits(UIFontDescriptor::SymbolicTraits::traitItalic());
    if (!descriptor)
        return font;
    return Foundation::make<UIFont>(descriptor, font->pointSize());
}

std::shared_ptr<UIFont> withDesign(const std::shared_ptr<UIFont>& font, const UIFontDescriptor::SystemDesign& design)
{
    auto descriptor = font->fontDescriptor()->withDesign(design);
    if (!descriptor)
        return font;
    return Foundation::make<UIFont>(descriptor, font->pointSize());
}

std::shared_ptr<UIFont> rounded(const std::shared_ptr<UIFont>& font)
{
    return withDesign(font, UIFontDescriptor::SystemDesign::rounded());
}

std::shared_ptr<UIFont> monospaced(const std::shared_ptr<UIFont>& font)
{
    return withDesign(font, UIFontDescriptor::SystemDesign::monospaced());
}

std::shared_ptr<UIFont> serif(const std::shared_ptr<UIFont>& font)
{
    return withDesign(font, UIFontDescriptor::SystemDesign::serif());
}

} // namespace Basalwork
