#pragma once

#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIVisualEffect.hpp"

#include <memory>

namespace UIKit {

// A view that shows an effect over what lies behind it; none shows nothing.
class UIVisualEffectView : public UIView {
public:
    virtual std::shared_ptr<UIVisualEffect> effect() const { return m_effect; }
    virtual void setEffect(std::shared_ptr<UIVisualEffect> effect) { m_effect = std::move(effect); }

protected:
    friend Foundation::Construct;
    // init(effect:)
    explicit UIVisualEffectView(std::shared_ptr<UIVisualEffect> effect = nullptr)
        : m_effect(std::move(effect))
    {
    }
    explicit UIVisualEffectView(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }

private:
    std::shared_ptr<UIVisualEffect> m_effect;
};

} // namespace UIKit
