#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace UIKit {

// A recorded colour: red, green, blue and alpha, or a provider that picks a colour for a trait
// collection (colours that follow light and dark appearance). Nothing is drawn, so that is all it holds.
class UIColor : public Foundation::NSObject {
public:
    using DynamicProvider = std::function<std::shared_ptr<UIColor>(const UITraitCollection&)>;

    struct HueSaturationBrightness {
        CGFloat hue = 0;
        CGFloat saturation = 0;
        CGFloat brightness = 0;
        CGFloat alpha = 0;
    };

    // init(hue:saturation:brightness:alpha:), hue from 0 to 1 around the circle.
    static std::shared_ptr<UIColor> withHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha);

    // Fixed colours, each made once.
    static const std::shared_ptr<UIColor>& white();
    static const std::shared_ptr<UIColor>& black();
    static const std::shared_ptr<UIColor>& clear();
    // The system's semantic colours, each made once. They follow light and dark appearance with the
    // system's values for each.
    static const std::shared_ptr<UIColor>& label();
    static const std::shared_ptr<UIColor>& secondaryLabel();
    static const std::shared_ptr<UIColor>& tertiaryLabel();
    static const std::shared_ptr<UIColor>& placeholderText();
    static const std::shared_ptr<UIColor>& separator();
    static const std::shared_ptr<UIColor>& systemFill();
    static const std::shared_ptr<UIColor>& systemBackground();
    static const std::shared_ptr<UIColor>& tertiarySystemBackground();

    bool isDynamic() const { return static_cast<bool>(m_provider); }
    // A fixed colour resolves to itself.
    std::shared_ptr<UIColor> resolvedColor(const UITraitCollection& with) const;

    // The components of the colour; a dynamic colour answers for unspecified traits.
    CGFloat red() const;
    CGFloat green() const;
    CGFloat blue() const;
    CGFloat alpha() const;
    // getHue(_:saturation:brightness:alpha:), of the colour for unspecified traits. Nothing when a
    // component is not a finite number: such a colour has no hue or brightness to speak of.
    std::optional<HueSaturationBrightness> hueSaturationBrightness() const;
    // The same colour with another alpha; a dynamic colour stays dynamic.
    std::shared_ptr<UIColor> withAlphaComponent(CGFloat alpha) const;
    // setFill(): the colour the paths filled next paint with, in the drawing that is going on.
    void setFill() const;

protected:
    friend Foundation::Construct;
    UIColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    explicit UIColor(DynamicProvider dynamicProvider);

private:
    std::shared_ptr<const UIColor> fixed() const;

    CGFloat m_red = 0;
    CGFloat m_green = 0;
    CGFloat m_blue = 0;
    CGFloat m_alpha = 0;
    DynamicProvider m_provider;
};

} // namespace UIKit
