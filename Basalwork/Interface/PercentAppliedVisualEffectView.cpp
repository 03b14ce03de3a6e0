#include "Basalwork/Interface/PercentAppliedVisualEffectView.hpp"
#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork {

PercentAppliedVisualEffectView::PercentAppliedVisualEffectView(Foundation::NSCoder& coder)
    : UIVisualEffectView(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

PercentAppliedVisualEffectView::PercentAppliedVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect)
    : PercentAppliedVisualEffectView(std::move(effect), 0)
{
}

PercentAppliedVisualEffectView::PercentAppliedVisualEffectView(std::shared_ptr<UIKit::UIVisualEffect> effect,
                                                               UIKit::CGFloat initialPercentApplied)
    : UIVisualEffectView(nullptr)
    , m_animator(Foundation::make<UIKit::UIViewPropertyAnimator>(0.0, UIKit::UITimingCurveProvider::Curve::linear,
                                                                 nullptr))
    , m_effectToAnimate(std::move(effect))
    , m_initialPercentApplied(initialPercentApplied)
{
}

void PercentAppliedVisualEffectView::initialize()
{
    UIVisualEffectView::initialize();
    m_animator->addAnimations([weakSelf = weakSelf(this)] {
        if (auto self = weakSelf.lock())
            self->UIVisualEffectView::setEffect(self->m_effectToAnimate);
    });
    // Scrubbing an animator activates it paused, with its animations' end state applied; it never runs,
    // so it never reaches an end that would finish it and drop the effect.
    m_animator->pauseAnimation();
    m_animator->setFractionComplete(m_percentApplied);
    // Stored without touching the animator: layout hands it on.
    m_percentApplied = m_initialPercentApplied;
}

void PercentAppliedVisualEffectView::setPercentApplied(UIKit::CGFloat percentApplied)
{
    m_percentApplied = percentApplied;
    m_animator->setFractionComplete(percentApplied);
}

void PercentAppliedVisualEffectView::layoutSubviews()
{
    m_animator->setFractionComplete(m_percentApplied);
    UIVisualEffectView::layoutSubviews();
}

} // namespace Basalwork
