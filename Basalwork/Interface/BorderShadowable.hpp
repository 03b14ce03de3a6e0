#pragma once

#include "Basalwork/Interface/UIView.Border.hpp"
#include "Basalwork/Interface/UIView.Shadow.hpp"

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <concepts>
#include <functional>
#include <optional>
#include <utility>

namespace Basalwork {

// A view that keeps its border and shadow as values and pushes them to its layer on every write and
// trait change. Colours are kept as UIColor and resolved for the view's traits each time they are
// applied, so colours that follow light and dark appearance stay right. Until the first write or trait
// change the layer keeps whatever it had. Clipping to the rounded corners is left to subclasses.
template <std::derived_from<UIKit::UIView> Base>
class BorderShadowable : public Base {
public:
    using Border = UIView::Border;
    using Shadow = UIView::Shadow;

    virtual Border border() const { return m_border; }
    virtual void setBorder(Border border)
    {
        m_border = std::move(border);
        applyBorder(m_border);
    }
    // The change is stored and applied only once it completes: one that throws leaves the view and its
    // layer as they were.
    virtual void modifyBorder(const std::function<void(Border&)>& change)
    {
        Border changed = m_border;
        change(changed);
        setBorder(std::move(changed));
    }

    virtual Shadow shadow() const { return m_shadow; }
    virtual void setShadow(Shadow shadow)
    {
        m_shadow = std::move(shadow);
        applyShadow(m_shadow);
    }
    virtual void modifyShadow(const std::function<void(Shadow&)>& change)
    {
        Shadow changed = m_shadow;
        change(changed);
        setShadow(std::move(changed));
    }

    // Apply the values the (possibly overridden) accessors give.
    void updateLayerBorder() { applyBorder(border()); }
    void updateLayerShadow() { applyShadow(shadow()); }

    // Single fields, each written through a modification so that one assignment applies the whole value.
    UIKit::CGFloat borderWidth() const { return border().width; }
    void setBorderWidth(UIKit::CGFloat width) { modifyBorder([&](Border& b) { b.width = width; }); }
    std::shared_ptr<UIKit::UIColor> borderColor() const { return border().color; }
    void setBorderColor(std::shared_ptr<UIKit::UIColor> color) { modifyBorder([&](Border& b) { b.color = color; }); }
    UIKit::CGFloat cornerRadius() const { return border().cornerRadius; }
    void setCornerRadius(UIKit::CGFloat radius) { modifyBorder([&](Border& b) { b.cornerRadius = radius; }); }
    UIKit::CGFloat shadowOpacity() const { return shadow().opacity; }
    void setShadowOpacity(UIKit::CGFloat opacity) { modifyShadow([&](Shadow& s) { s.opacity = opacity; }); }
    UIKit::CGFloat shadowRadius() const { return shadow().radius; }
    void setShadowRadius(UIKit::CGFloat radius) { modifyShadow([&](Shadow& s) { s.radius = radius; }); }
    UIKit::CGSize shadowOffset() const { return shadow().offset; }
    void setShadowOffset(UIKit::CGSize offset) { modifyShadow([&](Shadow& s) { s.offset = offset; }); }
    std::shared_ptr<UIKit::UIColor> shadowColor() const { return shadow().color; }
    void setShadowColor(std::shared_ptr<UIKit::UIColor> color) { modifyShadow([&](Shadow& s) { s.color = color; }); }
    std::shared_ptr<UIKit::CGPath> shadowPath() const { return shadow().path; }
    void setShadowPath(std::shared_ptr<UIKit::CGPath> path) { modifyShadow([&](Shadow& s) { s.path = path; }); }

    void traitCollectionDidChange(const std::optional<UIKit::UITraitCollection>& previousTraitCollection) override
    {
        Base::traitCollectionDidChange(previousTraitCollection);
        applyBorder(m_border);
        applyShadow(m_shadow);
    }

protected:
    template <class... Args>
    explicit BorderShadowable(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
    }

private:
    std::shared_ptr<UIKit::CGColor> cgColor(const std::shared_ptr<UIKit::UIColor>& color) const
    {
        if (!color)
            return nullptr;
        return Foundation::make<UIKit::CGColor>(*color, this->traitCollection());
    }
    void applyBorder(const Border& border)
    {
        auto& layer = *this->layer();
        layer.setBorderWidth(border.width);
        layer.setBorderColor(cgColor(border.color));
        layer.setCornerRadius(border.cornerRadius);
    }
    void applyShadow(const Shadow& shadow)
    {
        auto& layer = *this->layer();
        layer.setShadowOpacity(static_cast<float>(shadow.opacity));
        layer.setShadowRadius(shadow.radius);
        layer.setShadowOffset(shadow.offset);
        layer.setShadowColor(cgColor(shadow.color));
        layer.setShadowPath(shadow.path);
    }

    // The shadow starts as a new layer's own, so applying the initial values changes nothing.
    Border m_border {0, nullptr, 0};
    Shadow m_shadow {0, 3, {0, -3}, UIKit::UIColor::black(), nullptr};
};

} // namespace Basalwork
