#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UIVisualEffectView.hpp"

#include <memory>

namespace Basalwork {

// A visual-effect view with a border and shadow.
class BorderShadowableVisualEffectView : public BorderShadowable<UIKit::UIVisualEffectView> {
protected:
    friend Foundation::Construct;
    // init(effect:)
    explicit BorderShadowableVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect = nullptr)
        : BorderShadowable(std::move(effect))
    {
    }
    explicit BorderShadowableVisualEffectView(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
