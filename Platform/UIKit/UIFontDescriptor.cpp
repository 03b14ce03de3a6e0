#include "Platform/UIKit/UIFontDescriptor.hpp"

#include <array>
#include <utility>

namespace UIKit {
namespace {

struct StyleMetrics {
    UIFont::TextStyle style;
    CGFloat size;
    UIFont::Weight weight;
};

// Point sizes at the large text size, the one each style is specified at.
const std::array<StyleMetrics, 11>& styleMetrics()
{
    static const std::array<StyleMetrics, 11> metrics {{
        {UIFont::TextStyle::largeTitle(), 34, UIFont::Weight::regular()},
        {UIFont::TextStyle::title1(), 28, UIFont::Weight::regular()},
        {UIFont::TextStyle::title2(), 22, UIFont::Weight::regular()},
        {UIFont::TextStyle::title3(), 20, UIFont::Weight::regular()},
        {UIFont::TextStyle::headline(), 17, UIFont::Weight::semibold()},
        {UIFont::TextStyle::body(), 17, UIFont::Weight::regular()},
        {UIFont::TextStyle::callout(), 16, UIFont::Weight::regular()},
        {UIFont::TextStyle::subheadline(), 15, UIFont::Weight::regular()},
        {UIFont::TextStyle::footnote(), 13, UIFont::Weight::regular()},
        {UIFont::TextStyle::caption1(), 12, UIFont::Weight::regular()},
        {UIFont::TextStyle::caption2(), 11, UIFont::Weight::regular()},
    }};
    return metrics;
}

} // namespace

UIFontDescriptor::UIFontDescriptor(const Attributes& attributes)
    : m_attributes(std::make_shared<const Attributes>(attributes))
{
}

std::shared_ptr<UIFontDescriptor> UIFontDescriptor::preferredFontDescriptor(const UIFont::TextStyle& withTextStyle)
{
    // A style we do not know reads as body text.
    StyleMetrics metrics = styleMetrics()[5];
    for (const auto& candidate : styleMetrics())
        if (candidate.style == withTextStyle)
            metrics = candidate;
    Attributes attributes;
    attributes.size = metrics.size;
    attributes.textStyle = withTextStyle;
    if (metrics.weight != UIFont::Weight::regular())
        attributes.traits = Traits {metrics.weight, std::nullopt};
    return Foundation::make<UIFontDescriptor>(attributes);
}

CGFloat UIFontDescriptor::pointSize() const
{
    return m_attributes->size.value_or(0);
}

UIFontDescriptor::SymbolicTraits UIFontDescriptor::symbolicTraits() const
{
    if (m_attributes->traits && m_attributes->traits->symbolicTraits)
        return *m_attributes->traits->symbolicTraits;
    return {};
}

bool UIFontDescriptor::isSystemFont() const
{
    return !m_attributes->name.has_value();
}

std::shared_ptr<UIFontDescriptor> UIFontDescriptor::addingAttributes(const Attributes& attributes) const
{
    Attributes merged = *m_attributes;
    if (attributes.name)
        merged.name = attributes.name;
    if (attributes.size)
        merged.size = attributes.size;
    if (attributes.textStyle)
        merged.textStyle = attributes.textStyle;
    if (attributes.traits)
        merged.traits = attributes.traits;
    if (attributes.design)
        merged.design = attributes.design;
    return Foundation::make<UIFontDescriptor>(merged);
}

std::shared_ptr<UIFontDescriptor> UIFontDescriptor::withSymbolicTraits(SymbolicTraits symbolicTraits) const
{
    if (!isSystemFont())
        return nullptr;
    Attributes changed = *m_attributes;
    Traits traits = changed.traits.value_or(Traits {});
    traits.symbolicTraits = symbolicTraits;
    changed.traits = traits;
    return Foundation::make<UIFontDescriptor>(changed);
}

std::shared_ptr<UIFontDescriptor> UIFontDescriptor::withDesign(const SystemDesign& design) const
{
    if (!isSystemFont())
        return nullptr;
    Attributes changed = *m_attributes;
    changed.design = design;
    return Foundation::make<UIFontDescriptor>(changed);
}

} // namespace UIKit
