#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/NSLayoutXAxisAnchor.hpp"
#include "Platform/UIKit/NSLayoutYAxisAnchor.hpp"

#include <memory>

namespace UIKit {

class UIView;

// A rectangle that takes part in Auto Layout without being a view, such as a view's safe area or its
// margins. Its constraints are installed as if it were its owning view.
class UILayoutGuide : public Foundation::NSObject {
public:
    std::shared_ptr<UIView> owningView() const { return m_owningView.lock(); }
    const Foundation::String& identifier() const { return m_identifier; }
    void setIdentifier(Foundation::String identifier) { m_identifier = std::move(identifier); }

    NSLayoutXAxisAnchor leadingAnchor() const { return {*this, NSLayoutConstraint::Attribute::leading}; }
    NSLayoutXAxisAnchor trailingAnchor() const { return {*this, NSLayoutConstraint::Attribute::trailing}; }
    NSLayoutXAxisAnchor leftAnchor() const { return {*this, NSLayoutConstraint::Attribute::left}; }
    NSLayoutXAxisAnchor rightAnchor() const { return {*this, NSLayoutConstraint::Attribute::right}; }
    NSLayoutXAxisAnchor centerXAnchor() const { return {*this, NSLayoutConstraint::Attribute::centerX}; }
    NSLayoutYAxisAnchor topAnchor() const { return {*this, NSLayoutConstraint::Attribute::top}; }
    NSLayoutYAxisAnchor bottomAnchor() const { return {*this, NSLayoutConstraint::Attribute::bottom}; }
    NSLayoutYAxisAnchor centerYAnchor() const { return {*this, NSLayoutConstraint::Attribute::centerY}; }
    NSLayoutDimension widthAnchor() const { return {*this, NSLayoutConstraint::Attribute::width}; }
    NSLayoutDimension heightAnchor() const { return {*this, NSLayoutConstraint::Attribute::height}; }

protected:
    friend Foundation::Construct;
    UILayoutGuide() = default;

private:
    friend class UIView;
    std::weak_ptr<UIView> m_owningView;
    Foundation::String m_identifier;
};

} // namespace UIKit
