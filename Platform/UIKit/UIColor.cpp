#include "Platform/UIKit/UIColor.hpp"

#include "Platform/Foundation/FatalError.hpp"

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

} // namespace UIKit
