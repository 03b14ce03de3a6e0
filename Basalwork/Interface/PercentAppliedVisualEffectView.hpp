#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIViewPropertyAnimator.hpp"
#include "Platform/UIKit/UIVisualEffectView.hpp"

#include <memory>

namespace Basalwork {

// A visual-effect view that shows its effect only in part: the effect is the end state of an animator
// that is scrubbed to `percentApplied` and never run. It starts clear (0.0).
class PercentAppliedVisualEffectView : public UIKit::UIVisualEffectView {
public:
    // The effect shown at 1.0. Replacing it later changes only what is reported: the animator's
    // animation was made with the first one.
    std::shared_ptr<UIKit::UIVisualEffect> effect() const override { return m_effectToAnimate; }
    void setEffect(std::shared_ptr<UIKit::UIVisualEffect> effect) override { m_effectToAnimate = std::move(effect); }

    UIKit::CGFloat percentApplied() const { return m_percentApplied; }
    void setPercentApplied(UIKit::CGFloat percentApplied);

    // How much of the effect shows; read by tests and by whoever draws.
    const std::shared_ptr<UIKit::UIViewPropertyAnimator>& animator() const { return m_animator; }

    void layoutSubviews() override;

protected:
    friend Foundation::Construct;
    explicit PercentAppliedVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect);
    // init(effect:initialPercentApplied:): the percentage reaches the animator at the next layout.
    PercentAppliedVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect, UIKit::CGFloat initialPercentApplied);
    // Built in code only: stops the program.
    explicit PercentAppliedVisualEffectView(Foundation::NSCoder& coder);
    void initialize() override;

private:
    std::shared_ptr<UIKit::UIViewPropertyAnimator> m_animator;
    std::shared_ptr<UIKit::UIVisualEffect> m_effectToAnimate;
    UIKit::CGFloat m_percentApplied = 0;
    UIKit::CGFloat m_initialPercentApplied = 0;
};

} // namespace Basalwork
