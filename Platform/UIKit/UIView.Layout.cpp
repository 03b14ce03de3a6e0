#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Platform/UIKit/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/LayoutEngine.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIGestureRecognizer.hpp"
#include "Platform/UIKit/UIInteraction.hpp"
#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>

namespace UIKit {

void UIView::layoutIfNeeded()
{
    auto self = sharedSelf(this);
    auto root = self;
    while (auto parent = root->superview())
        root = parent;
    if (!root->m_layoutEngine)
        root->m_layoutEngine = std::make_shared<LayoutEngine>(*root, LayoutEngine::Purpose::layout);
    // Layout that changes constraints (a label told its new text in `layoutSubviews`) needs another
    // round; a few always settle it, and a layout that never settles stops there.
    constexpr int maximumRounds = 8;
    for (int round = 0; round < maximumRounds; ++round) {
        root->updateConstraintsIfNeeded();
        auto engine = root->m_layoutEngine;
        if (engine->needsUpdate())
            engine->update();
        auto start = self;
        for (auto parent = start->superview(); parent && parent->m_needsLayout; parent = parent->superview())
            start = parent;
        // Solving again half way (for a view whose constraints changed) may move views laid out already.
        const auto marked = engine->markedForLayout();
        start->layoutSubtreeIfNeeded();
        if (!engine->needsUpdate() && engine->markedForLayout() == marked && !root->m_needsUpdateConstraints
            && !root->m_subviewNeedsUpdateConstraints)
            break;
    }
}

void UIView::layoutSubviews()
{
    if (auto* engine = layoutEngine())
        engine->apply(*this);
}

void UIView::setNeedsUpdateConstraints()
{
    m_needsUpdateConstraints = true;
    if (auto parent = superview())
        parent->subviewNeedsUpdateConstraints();
}

void UIView::subviewNeedsUpdateConstraints()
{
    // The marks lead from the topmost view down, so that the branches with nothing to do are skipped.
    for (auto view = sharedSelf(this); view && !view->m_subviewNeedsUpdateConstraints; view = view->superview())
        view->m_subviewNeedsUpdateConstraints = true;
}

void UIView::updateConstraintsIfNeeded()
{
    if (m_subviewNeedsUpdateConstraints) {
        m_subviewNeedsUpdateConstraints = false;
        for (auto subviews = m_subviews; const auto& subview : subviews)
            subview->updateConstraintsIfNeeded();
    }
    if (m_needsUpdateConstraints) {
        m_needsUpdateConstraints = false;
        updateConstraints();
    }
}

LayoutEngine* UIView::layoutEngine() const
{
    const UIView* root = this;
    std::shared_ptr<UIView> holder;
    while (auto parent = root->m_superview.lock()) {
        holder = std::move(parent);
        root = holder.get();
    }
    return root->m_layoutEngine.get();
}

void UIView::layoutTreeDidChange() const
{
    if (auto* engine = layoutEngine())
        engine->setNeedsRebuild();
}

void UIView::layoutInputDidChange(bool frameOnly) const
{
    // A view placed by the engine moving is the engine's own doing; only frames given from outside count.
    if (!m_takesPartInLayout || (frameOnly && !m_translatesAutoresizingMaskIntoConstraints && !m_superview.expired()))
        return;
    if (auto* engine = layoutEngine())
        engine->viewDidChange(*this);
}

void UIView::invalidateIntrinsicContentSize()
{
    layoutInputDidChange(false);
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    if (translates == m_translatesAutoresizingMaskIntoConstraints)
        return;
    m_translatesAutoresizingMaskIntoConstraints = translates;
    layoutTreeDidChange();
    if (auto parent = superview())
        parent->setNeedsLayout();
}

void UIView::setLayoutMargins(const UIEdgeInsets& margins)
{
    if (margins == m_layoutMargins)
        return;
    m_layoutMargins = margins;
    if (m_takesPartInLayout)
        layoutTreeDidChange();
    setNeedsLayout();
}

void UIView::setSafeAreaInsets(const UIEdgeInsets& insets)
{
    if (insets == m_safeAreaInsets)
        return;
    m_safeAreaInsets = insets;
    layoutTreeDidChange();
    setNeedsLayout();
}

UIEdgeInsets UIView::safeAreaInsets() const
{
    UIEdgeInsets insets = m_safeAreaInsets;
    auto parent = superview();
    if (!parent)
        return insets;
    // What the superview's safe area leaves out of this view's frame, side by side.
    const UIEdgeInsets outer = parent->safeAreaInsets();
    const CGRect area = parent->bounds();
    const CGRect own = frame();
    auto clamp = [](CGFloat value, CGFloat most) { return std::clamp<CGFloat>(value, 0, std::max<CGFloat>(most, 0)); };
    insets.left = std::max(insets.left, clamp(area.minX() + outer.left - own.minX(), own.size.width));
    insets.top = std::max(insets.top, clamp(area.minY() + outer.top - own.minY(), own.size.height));
    insets.right = std::max(insets.right, clamp(own.maxX() - (area.maxX() - outer.right), own.size.width));
    insets.bottom = std::max(insets.bottom, clamp(own.maxY() - (area.maxY() - outer.bottom), own.size.height));
    return insets;
}

void UIView::layoutSubtreeIfNeeded()
{
    if (m_needsLayout) {
        m_needsLayout = false;
        auto controller = m_viewController.lock();
        if (controller)
            controller->viewWillLayoutSubviews();
        layoutSubviews();
        if (controller)
            controller->viewDidLayoutSubviews();
    }
    for (auto subviews = m_subviews; const auto& subview : subviews)
        subview->layoutSubtreeIfNeeded();
}

void UIView::addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint)
{
    Foundation::precondition(constraint != nullptr, "Cannot add a null constraint");
    if (constraint->installedOn().get() == this)
        return;
    Foundation::precondition(constraint->liesWithin(*this),
                             "A constraint can only be added to a view that holds all of its items");
    if (auto previous = constraint->installedOn())
        previous->removeConstraint(constraint);
    m_constraints.push_back(constraint);
    constraint->m_installedOn = std::static_pointer_cast<UIView>(shared_from_this());
    layoutTreeDidChange();
    setNeedsLayout();
}

void UIView::removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint)
{
    if (!constraint || constraint->installedOn().get() != this)
        return;
    std::erase(m_constraints, constraint);
    constraint->m_installedOn.reset();
    layoutTreeDidChange();
    setNeedsLayout();
}

void UIView::removeConstraintsReachingInto(const UIView& subtree)
{
    for (auto view = sharedSelf(this); view; view = view->superview()) {
        auto constraints = view->m_constraints;
        for (const auto& constraint : constraints) {
            if (constraint->refersInto(subtree))
                view->removeConstraint(constraint);
        }
    }
}

const std::shared_ptr<UILayoutGuide>& UIView::safeAreaLayoutGuide() const
{
    if (!m_safeAreaLayoutGuide) {
        m_safeAreaLayoutGuide = Foundation::make<UILayoutGuide>();
        m_safeAreaLayoutGuide->m_owningView = std::static_pointer_cast<UIView>(const_cast<UIView*>(this)->shared_from_this());
        m_safeAreaLayoutGuide->setIdentifier("UIViewSafeAreaLayoutGuide");
    }
    return m_safeAreaLayoutGuide;
}

const std::shared_ptr<UILayoutGuide>& UIView::layoutMarginsGuide() const
{
    if (!m_layoutMarginsGuide) {
        m_layoutMarginsGuide = Foundation::make<UILayoutGuide>();
        m_layoutMarginsGuide->m_owningView = std::static_pointer_cast<UIView>(const_cast<UIView*>(this)->shared_from_this());
        m_layoutMarginsGuide->setIdentifier("UIViewLayoutMarginsGuide");
    }
    return m_layoutMarginsGuide;
}

void UIView::addLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide)
{
    guide->m_owningView = std::static_pointer_cast<UIView>(shared_from_this());
    m_layoutGuides.push_back(guide);
}

void UIView::removeLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide)
{
    if (!guide || guide->owningView().get() != this)
        return;
    for (auto view = sharedSelf(this); view; view = view->superview()) {
        for (auto constraints = view->m_constraints; const auto& constraint : constraints) {
            if (constraint->firstItem() == guide || constraint->secondItem() == guide)
                view->removeConstraint(constraint);
        }
    }
    std::erase(m_layoutGuides, guide);
    guide->m_owningView.reset();
}

UILayoutPriority UIView::contentHuggingPriority(NSLayoutConstraint::Axis forAxis) const
{
    return m_contentHuggingPriority[static_cast<std::size_t>(forAxis)];
}

void UIView::setContentHuggingPriority(UILayoutPriority priority, NSLayoutConstraint::Axis forAxis)
{
    m_contentHuggingPriority[static_cast<std::size_t>(forAxis)] = priority;
    layoutInputDidChange(false);
}

UILayoutPriority UIView::contentCompressionResistancePriority(NSLayoutConstraint::Axis forAxis) const
{
    return m_contentCompressionResistancePriority[static_cast<std::size_t>(forAxis)];
}

void UIView::setContentCompressionResistancePriority(UILayoutPriority priority, NSLayoutConstraint::Axis forAxis)
{
    m_contentCompressionResistancePriority[static_cast<std::size_t>(forAxis)] = priority;
    layoutInputDidChange(false);
}

CGSize UIView::systemLayoutSizeFitting(CGSize targetSize) const
{
    return systemLayoutSizeFitting(targetSize, UILayoutPriority::fittingSizeLevel(), UILayoutPriority::fittingSizeLevel());
}

CGSize UIView::systemLayoutSizeFitting(CGSize targetSize, UILayoutPriority withHorizontalFittingPriority,
                                       UILayoutPriority verticalFittingPriority) const
{
    auto& self = const_cast<UIView&>(*this);
    self.updateConstraintsIfNeeded();
    LayoutEngine engine(self, LayoutEngine::Purpose::fitting);
    return engine.fittingSize(targetSize, withHorizontalFittingPriority, verticalFittingPriority);
}

void UIView::sizeToFit()
{
    setFrame({frame().origin, sizeThatFits(m_bounds.size)});
}

} // namespace UIKit
