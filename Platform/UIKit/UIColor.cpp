#include "Platform/UIKit/UIColor.hpp"

#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"
#include "Platform/UIKit/ViewDrawing.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {

UIColor::UIColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
    : m_red(red)
    , m_green(green)
    , m_blue(blue)
    , m_alpha(alpha)
{
}

UIColor::UIColor(DynamicProvider dynamicProvider)
    : m_provider(std::move(dynamicProvider))
{
    Foundation::precondition(static_cast<bool>(m_provider), "A dynamic colour needs a provider");
}

std::shared_ptr<UIColor> UIColor::resolvedColor(const UITraitCollection& with) const
{
    if (!m_provider)
        return std::const_pointer_cast<UIColor>(std::static_pointer_cast<const UIColor>(shared_from_this()));
    auto resolved = m_provider(with);
    Foundation::precondition(resolved != nullptr, "A dynamic colour's provider gave no colour");
    // A provider may answer with another dynamic colour.
    return resolved->resolvedColor(with);
}

std::shared_ptr<const UIColor> UIColor::fixed() const
{
    return resolvedColor(UITraitCollection {});
}

namespace {

std::shared_ptr<UIColor> rgb(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return Foundation::make<UIColor>(red / 255, green / 255, blue / 255, alpha);
}

std::shared_ptr<UIColor> lightDark(std::shared_ptr<UIColor> light, std::shared_ptr<UIColor> dark)
{
    return Foundation::make<UIColor>([light = std::move(light), dark = std::move(dark)](const UITraitCollection& traits) {
        return traits.userInterfaceStyle == UIUserInterfaceStyle::dark ? dark : light;
    });
}

} // namespace

std::shared_ptr<UIColor> UIColor::withHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha)
{
    CGFloat sector = std::fmod(hue, 1.0) * 6;
    if (sector < 0)
        sector += 6;
    auto index = static_cast<int>(std::floor(sector)) % 6;
    CGFloat fraction = sector - std::floor(sector);
    CGFloat p = brightness * (1 - saturation);
    CGFloat q = brightness * (1 - saturation * fraction);
    CGFloat t = brightness * (1 - saturation * (1 - fraction));
    CGFloat v = brightness;
    switch (index) {
    case 0: return Foundation::make<UIColor>(v, t, p, alpha);
    case 1: return Foundation::make<UIColor>(q, v, p, alpha);
    case 2: return Foundation::make<UIColor>(p, v, t, alpha);
    case 3: return Foundation::make<UIColor>(p, q, v, alpha);
    case 4: return Foundation::make<UIColor>(t, p, v, alpha);
    default: return Foundation::make<UIColor>(v, p, q, alpha);
    }
}

const std::shared_ptr<UIColor>& UIColor::white()
{
    static const auto color = Foundation::make<UIColor>(1.0, 1.0, 1.0, 1.0);
    return color;
}

const std::shared_ptr<UIColor>& UIColor::black()
{
    static const auto color = Foundation::make<UIColor>(0.0, 0.0, 0.0, 1.0);
    return color;
}

const std::shared_ptr<UIColor>& UIColor::clear()
{
    static const auto color = Foundation::make<UIColor>(0.0, 0.0, 0.0, 0.0);
    return color;
}

const std::shared_ptr<UIColor>& UIColor::label()
{
    static const auto color = lightDark(rgb(0, 0, 0, 1), rgb(255, 255, 255, 1));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::secondaryLabel()
{
    static const auto color = lightDark(rgb(60, 60, 67, 0.6), rgb(235, 235, 245, 0.6));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::tertiaryLabel()
{
    static const auto color = lightDark(rgb(60, 60, 67, 0.3), rgb(235, 235, 245, 0.3));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::placeholderText()
{
    static const auto color = lightDark(rgb(60, 60, 67, 0.3), rgb(235, 235, 245, 0.3));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::separator()
{
    static const auto color = lightDark(rgb(60, 60, 67, 0.29), rgb(84, 84, 88, 0.6));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::systemFill()
{
    static const auto color = lightDark(rgb(120, 120, 128, 0.2), rgb(120, 120, 128, 0.36));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::systemBackground()
{
    static const auto color = lightDark(rgb(255, 255, 255, 1), rgb(0, 0, 0, 1));
    return color;
}

const std::shared_ptr<UIColor>& UIColor::tertiarySystemBackground()
{
    static const auto color = lightDark(rgb(255, 255, 255, 1), rgb(44, 44, 46, 1));
    return color;
}

CGFloat UIColor::red() const
{
    return m_provider ? fixed()->m_red : m_red;
}

CGFloat UIColor::green() const
{
    return m_provider ? fixed()->m_green : m_green;
}

CGFloat UIColor::blue() const
{
    return m_provider ? fixed()->m_blue : m_blue;
}

CGFloat UIColor::alpha() const
{
    return m_provider ? fixed()->m_alpha : m_alpha;
}

std::optional<UIColor::HueSaturationBrightness> UIColor::hueSaturationBrightness() const
{
    CGFloat r = red();
    CGFloat g = green();
    CGFloat b = blue();
    CGFloat a = alpha();
    if (!std::isfinite(r) || !std::isfinite(g) || !std::isfinite(b) || !std::isfinite(a))
        return std::nullopt;
    CGFloat maximum = std::max({r, g, b});
    CGFloat minimum = std::min({r, g, b});
    CGFloat delta = maximum - minimum;
    HueSaturationBrightness result {0, 0, maximum, a};
    if (maximum != 0)
        result.saturation = delta / maximum;
    if (delta != 0) {
        CGFloat hue;
        if (maximum == r)
            hue = (g - b) / delta;
        else if (maximum == g)
            hue = 2 + (b - r) / delta;
        else
            hue = 4 + (r - g) / delta;
        hue /= 6;
        result.hue = hue < 0 ? hue + 1 : hue;
    }
    return result;
}

std::shared_ptr<UIColor> UIColor::withAlphaComponent(CGFloat alpha) const
{
    if (m_provider)
        return Foundation::make<UIColor>([provider = m_provider, alpha](const UITraitCollection& traits) {
            return provider(traits)->withAlphaComponent(alpha);
        });
    return Foundation::make<UIColor>(m_red, m_green, m_blue, alpha);
}

void UIColor::setFill() const
{
    if (auto* drawing = ViewDrawing::current())
        drawing->setFillColor(std::const_pointer_cast<UIColor>(std::static_pointer_cast<const UIColor>(shared_from_this())));
    else if (auto* context = UIGraphicsImageRendererContext::current())
        context->setFillColor(*this);
}

} // namespace UIKit
