#pragma once

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/UIVisualEffectView.hpp"

#include <memory>

namespace Basalwork {

// A visual-effect view that, when loaded from an interface file, clips its effect to the corner radius
// the file gives its layer. Made in code it does not clip.
class RoundedVisualEffectView : public UIKit::UIVisualEffectView {
public:
    void awakeFromNib() override
    {
        UIVisualEffectView::awakeFromNib();
        layer()->setMasksToBounds(true);
    }
    void prepareForInterfaceBuilder() override
    {
        UIVisualEffectView::prepareForInterfaceBuilder();
        layer()->setMasksToBounds(true);
    }

protected:
    friend Foundation::Construct;
    explicit RoundedVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect = nullptr)
        : UIVisualEffectView(std::move(effect))
    {
    }
    explicit RoundedVisualEffectView(Foundation::NSCoder& coder)
        : UIVisualEffectView(coder)
    {
    }
};

} // namespace Basalwork
