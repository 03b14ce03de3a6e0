#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <functional>
#include <memory>

namespace UIKit {

// A recorded colour: red, green, blue and alpha, or a provider that picks a colour for a trait
// collection (colours that follow light and dark appearance). Nothing is drawn, so that is all it holds.
class UIColor : public Foundation::NSObject {
public:
    using DynamicProvider = std::function<std::shared_ptr<UIColor>(const UITraitCollection&)>;

    bool isDynamic() const { return static_cast<bool>(m_provider); }
    // A fixed colour resolves to itself.
    std::shared_ptr<UIColor> resolvedColor(const UITraitCollection& with) const;

    // The components of the colour; a dynamic colour answers for unspecified traits.
    CGFloat red() const;
    CGFloat green() const;
    CGFloat blue() const;
    CGFloat alpha() const;

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
