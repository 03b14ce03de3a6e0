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
namespace {

CGPoint operator+(CGPoint lhs, CGPoint rhs)
{
    return {lhs.x + rhs.x, lhs.y + rhs.y};
}

CGPoint operator-(CGPoint lhs, CGPoint rhs)
{
    return {lhs.x - rhs.x, lhs.y - rhs.y};
}

// Where a view's bounds coordinates sit in its topmost view's bounds coordinates, and that topmost view.
struct Placement {
    const UIView* root;
    CGPoint offset;
};

Placement placement(const UIView& view)
{
    Placement result {&view, {}};
    std::shared_ptr<const UIView> holder;
    while (auto parent = result.root->superview()) {
        result.offset = result.offset + result.root->frame().origin - result.root->bounds().origin;
        holder = parent;
        result.root = holder.get();
    }
    return result;
}

// Topmost views (windows) meet in screen coordinates, where their frames are.
CGPoint rootToScreen(const UIView& root)
{
    return root.frame().origin - root.bounds().origin;
}

} // namespace

UIView::UIView()
{
    MainThreadChecker::check("UIView");
}

UIView::UIView(const CGRect& frame)
{
    MainThreadChecker::check("UIView");
    setFrame(frame);
}

UIView::UIView(Foundation::NSCoder& coder)
{
    MainThreadChecker::check("UIView");
    m_accessibilityIdentifier = coder.decodeString("accessibilityIdentifier");
}

CGRect UIView::frame() const
{
    return {m_center.x - m_bounds.size.width / 2, m_center.y - m_bounds.size.height / 2, m_bounds.size.width,
            m_bounds.size.height};
}

void UIView::setFrame(const CGRect& frame)
{
    CGRect standard = frame.standardized();
    CGPoint center {standard.midX(), standard.midY()};
    bool moved = center.x != m_center.x || center.y != m_center.y;
    m_center = center;
    setBounds({m_bounds.origin, standard.size});
    if (moved)
        layoutInputDidChange(true);
}

void UIView::setCenter(CGPoint center)
{
    if (center.x == m_center.x && center.y == m_center.y)
        return;
    m_center = center;
    layoutInputDidChange(true);
}

void UIView::setBounds(const CGRect& bounds)
{
    CGRect old = m_bounds;
    if (bounds.size != m_bounds.size)
        setNeedsLayout();
    m_bounds = bounds;
    if (m_bounds.size != old.size) {
        resizeSubviews(old.size);
        layoutInputDidChange(true);
    }
    // Scrolling moves what constraints measure from this view's own edges and guides.
    if (m_layoutUsesBoundsOrigin && (m_bounds.origin.x != old.origin.x || m_bounds.origin.y != old.origin.y))
        layoutTreeDidChange();
}

void UIView::resizeSubviews(CGSize oldSize)
{
    // Equal shares rather than the platform's proportional ones: our views make at most one part of an
    // axis flexible, where the two agree.
    auto share = [](CGFloat delta, bool leading, bool size, bool trailing) {
        int parts = int(leading) + int(size) + int(trailing);
        return parts == 0 ? 0.0 : delta / parts;
    };
    CGFloat dx = m_bounds.size.width - oldSize.width;
    CGFloat dy = m_bounds.size.height - oldSize.height;
    for (const auto& subview : m_subviews) {
        AutoresizingMask mask = subview->autoresizingMask();
        if (mask.rawValue == 0 || !subview->m_translatesAutoresizingMaskIntoConstraints)
            continue;
        CGRect frame = subview->frame();
        bool left = mask.contains(AutoresizingMask::flexibleLeftMargin());
        bool width = mask.contains(AutoresizingMask::flexibleWidth());
        bool right = mask.contains(AutoresizingMask::flexibleRightMargin());
        bool top = mask.contains(AutoresizingMask::flexibleTopMargin());
        bool height = mask.contains(AutoresizingMask::flexibleHeight());
        bool bottom = mask.contains(AutoresizingMask::flexibleBottomMargin());
        CGFloat xShare = share(dx, left, width, right);
        CGFloat yShare = share(dy, top, height, bottom);
        if (left)
            frame.origin.x += xShare;
        if (width)
            frame.size.width = std::max(0.0, frame.size.width + xShare);
        if (top)
            frame.origin.y += yShare;
        if (height)
            frame.size.height = std::max(0.0, frame.size.height + yShare);
        subview->setFrame(frame);
    }
}

const std::shared_ptr<CALayer>& UIView::layer() const
{
    if (!m_layer) {
        m_layer = Foundation::make<CALayer>();
        m_layer->m_view = std::static_pointer_cast<UIView>(const_cast<UIView*>(this)->shared_from_this());
    }
    return m_layer;
}

void UIView::setIsHidden(bool isHidden)
{
    if (isHidden == m_isHidden)
        return;
    m_isHidden = isHidden;
    if (auto parent = superview())
        parent->subviewVisibilityDidChange(*this);
}

void UIView::setOverrideUserInterfaceStyle(UIUserInterfaceStyle style)
{
    if (style == m_overrideUserInterfaceStyle)
        return;
    changeTraits({sharedSelf(this)}, [&] { m_overrideUserInterfaceStyle = style; });
}

void UIView::changeTraits(const std::vector<std::shared_ptr<UIView>>& roots, const std::function<void()>& change)
{
    std::vector<std::pair<std::shared_ptr<UIView>, UITraitCollection>> before;
    std::function<void(const std::shared_ptr<UIView>&)> collect = [&](const std::shared_ptr<UIView>& view) {
        before.emplace_back(view, view->traitCollection());
        for (const auto& subview : view->m_subviews)
            collect(subview);
    };
    for (const auto& root : roots)
        collect(root);
    change();
    for (const auto& [view, previous] : before) {
        if (view->traitCollection() != previous)
            view->traitCollectionDidChange(previous);
    }
}

bool UIView::isSelfOrAncestor(const UIView* view) const
{
    std::shared_ptr<const UIView> holder;
    for (const UIView* current = this; current;) {
        if (current == view)
            return true;
        holder = current->superview();
        current = holder.get();
    }
    return false;
}

void UIView::addSubview(const std::shared_ptr<UIView>& view)
{
    place(view, m_subviews.size());
}

void UIView::insertSubview(const std::shared_ptr<UIView>& view, std::size_t at)
{
    place(view, at);
}

void UIView::insertSubviewAbove(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling)
{
    Foundation::precondition(sibling && sibling->superview().get() == this,
                             "insertSubviewAbove needs a sibling that is a subview of the receiver");
    if (view == sibling)
        return;
    auto begin = m_subviews.begin();
    std::size_t target = static_cast<std::size_t>(std::find(begin, m_subviews.end(), sibling) - begin) + 1;
    auto current = std::find(begin, m_subviews.end(), view);
    if (current != m_subviews.end() && static_cast<std::size_t>(current - begin) < target)
        --target; // the view leaves its place below the sibling first
    place(view, target);
}

void UIView::insertSubviewBelow(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling)
{
    Foundation::precondition(sibling && sibling->superview().get() == this,
                             "insertSubviewBelow needs a sibling that is a subview of the receiver");
    if (view == sibling)
        return;
    auto begin = m_subviews.begin();
    std::size_t target = static_cast<std::size_t>(std::find(begin, m_subviews.end(), sibling) - begin);
    auto current = std::find(begin, m_subviews.end(), view);
    if (current != m_subviews.end() && static_cast<std::size_t>(current - begin) < target)
        --target;
    place(view, target);
}

void UIView::bringSubviewToFront(const std::shared_ptr<UIView>& view)
{
    if (view && view->superview().get() == this)
        place(view, m_subviews.size());
}

void UIView::sendSubviewToBack(const std::shared_ptr<UIView>& view)
{
    if (view && view->superview().get() == this)
        place(view, 0);
}

void UIView::place(const std::shared_ptr<UIView>& view, std::size_t index)
{
    MainThreadChecker::check("UIView.addSubview");
    Foundation::precondition(view != nullptr, "Cannot add a null view as a subview");
    Foundation::precondition(!isSelfOrAncestor(view.get()),
                             "Cannot add a view as a subview of itself or of one of its own subviews");
    if (view->superview().get() == this) {
        detachSubview(view.get());
        m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_subviews.size())), view);
        return;
    }
    changeTraits({view}, [&] { moveHere(view, index); });
}

void UIView::moveHere(const std::shared_ptr<UIView>& view, std::size_t index)
{
    auto self = sharedSelf(this);
    auto newWindow = window();
    bool windowChanges = view->window() != newWindow;
    const bool visible = newWindow && !newWindow->isHidden();
    std::vector<std::shared_ptr<UIViewController>> changingAppearance;
    if (windowChanges && view->isInVisibleWindow() != visible)
        changingAppearance = UIViewController::beginAppearance(*view, visible);
    view->willMoveToSuperview(self);
    if (windowChanges)
        view->announceWillMoveToWindow(newWindow);
    if (auto oldSuperview = view->superview()) {
        oldSuperview->willRemoveSubview(view);
        oldSuperview->removeConstraintsReachingInto(*view);
        oldSuperview->detachSubview(view.get());
        oldSuperview->layoutTreeDidChange();
    }
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_subviews.size())), view);
    view->m_superview = self;
    // Its own tree's engine, if it had one, is this tree's business now.
    view->m_layoutEngine.reset();
    layoutTreeDidChange();
    if (view->m_needsUpdateConstraints || view->m_subviewNeedsUpdateConstraints)
        subviewNeedsUpdateConstraints();
    if (windowChanges) {
        view->setWindowOfSubtree(newWindow);
        view->announceDidMoveToWindow();
    }
    view->didMoveToSuperview();
    didAddSubview(view);
    setNeedsLayout();
    UIViewController::endAppearance(changingAppearance);
}

void UIView::removeFromSuperview()
{
    MainThreadChecker::check("UIView.removeFromSuperview");
    if (!superview())
        return;
    auto self = sharedSelf(this); // the superview held the last reference, perhaps
    changeTraits({self}, [&] { leaveSuperview(); });
}

void UIView::leaveSuperview()
{
    auto parent = superview();
    auto self = sharedSelf(this);
    bool leavesWindow = window() != nullptr;
    std::vector<std::shared_ptr<UIViewController>> changingAppearance;
    if (isInVisibleWindow())
        changingAppearance = UIViewController::beginAppearance(*this, false);
    willMoveToSuperview(nullptr);
    if (leavesWindow)
        announceWillMoveToWindow(nullptr);
    parent->willRemoveSubview(self);
    parent->removeConstraintsReachingInto(*this);
    parent->detachSubview(this);
    parent->layoutTreeDidChange();
    m_superview.reset();
    if (leavesWindow) {
        setWindowOfSubtree(nullptr);
        announceDidMoveToWindow();
    }
    didMoveToSuperview();
    parent->setNeedsLayout();
    UIViewController::endAppearance(changingAppearance);
}

bool UIView::isInVisibleWindow() const
{
    auto window = this->window();
    return window && !window->isHidden();
}

std::shared_ptr<UIResponder> UIView::next() const
{
    if (auto controller = m_viewController.lock())
        return controller;
    return superview();
}

void UIView::detachSubview(const UIView* view)
{
    std::erase_if(m_subviews, [view](const std::shared_ptr<UIView>& subview) { return subview.get() == view; });
}

void UIView::announceWillMoveToWindow(const std::shared_ptr<UIWindow>& newWindow)
{
    // A first responder that leaves its window stops being one, even if it would rather not: a window
    // must not send keys to a view it no longer holds.
    if (auto oldWindow = window()) {
        std::shared_ptr<UIResponder> owner = m_viewController.lock();
        for (const std::shared_ptr<UIResponder>& responder : {std::static_pointer_cast<UIResponder>(sharedSelf(this)), owner}) {
            if (!responder || oldWindow->firstResponder() != responder)
                continue;
            responder->resignFirstResponder();
            if (oldWindow->firstResponder() == responder)
                oldWindow->setFirstResponder(nullptr);
        }
    }
    willMoveToWindow(newWindow);
    for (auto subviews = m_subviews; const auto& subview : subviews)
        subview->announceWillMoveToWindow(newWindow);
}

void UIView::setWindowOfSubtree(const std::shared_ptr<UIWindow>& window)
{
    m_window = window;
    for (const auto& subview : m_subviews)
        subview->setWindowOfSubtree(window);
}

void UIView::announceDidMoveToWindow()
{
    didMoveToWindow();
    for (auto subviews = m_subviews; const auto& subview : subviews)
        subview->announceDidMoveToWindow();
}

CGPoint UIView::convertBetween(CGPoint point, const UIView* from, const UIView* to)
{
    if (!from)
        return point - placement(*to).offset;
    Placement source = placement(*from);
    if (!to)
        return point + source.offset;
    Placement target = placement(*to);
    CGPoint result = point + source.offset - target.offset;
    if (source.root != target.root)
        result = result + rootToScreen(*source.root) - rootToScreen(*target.root);
    return result;
}

CGPoint UIView::convertTo(CGPoint point, const std::shared_ptr<UIView>& view) const
{
    return convertBetween(point, this, view.get());
}

CGPoint UIView::convertFrom(CGPoint point, const std::shared_ptr<UIView>& view) const
{
    return convertBetween(point, view.get(), this);
}

CGRect UIView::convertTo(const CGRect& rect, const std::shared_ptr<UIView>& view) const
{
    if (rect.isNull())
        return rect;
    CGRect standard = rect.standardized();
    return {convertTo(standard.origin, view), standard.size};
}

CGRect UIView::convertFrom(const CGRect& rect, const std::shared_ptr<UIView>& view) const
{
    if (rect.isNull())
        return rect;
    CGRect standard = rect.standardized();
    return {convertFrom(standard.origin, view), standard.size};
}

std::shared_ptr<UIView> UIView::hitTest(CGPoint point, const std::shared_ptr<UIEvent>& with)
{
    if (m_isHidden || m_alpha < 0.01 || !m_isUserInteractionEnabled || !this->point(point, with))
        return nullptr;
    auto subviews = m_subviews; // a hit test may rearrange the tree
    for (auto subview = subviews.rbegin(); subview != subviews.rend(); ++subview) {
        CGPoint inSubview = point - (*subview)->frame().origin + (*subview)->bounds().origin;
        if (auto hit = (*subview)->hitTest(inSubview, with))
            return hit;
    }
    return sharedSelf(this);
}

bool UIView::point(CGPoint inside, const std::shared_ptr<UIEvent>&)
{
    return m_bounds.contains(inside);
}

UITraitCollection UIView::traitCollection() const
{
    UITraitCollection traits;
    if (auto window = this->window())
        traits = window->traitCollection();
    else if (auto parent = superview())
        traits = parent->traitCollection();
    std::shared_ptr<const UIView> holder;
    for (const UIView* view = this; view; view = holder.get()) {
        if (view->m_overrideUserInterfaceStyle != UIUserInterfaceStyle::unspecified) {
            traits.userInterfaceStyle = view->m_overrideUserInterfaceStyle;
            break;
        }
        holder = view->superview();
    }
    return traits;
}

namespace {

bool animationsEnabled = true;

} // namespace

void UIView::performWithoutAnimation(const std::function<void()>& actions)
{
    // Restored also when the block throws, so one failure does not turn animations off for good.
    struct Restore {
        bool previous;
        ~Restore() { animationsEnabled = previous; }
    } restore {animationsEnabled};
    animationsEnabled = false;
    actions();
}

bool UIView::areAnimationsEnabled()
{
    return animationsEnabled;
}

void UIView::setAnimationsEnabled(bool enabled)
{
    animationsEnabled = enabled;
}

void UIView::animate(double withDuration, const std::function<void()>& animations,
                     std::function<void(bool)> completion)
{
    AnimationRecorder::record({withDuration, 0, {}, {}});
    runAnimation(std::max(withDuration, 0.0), animations, std::move(completion));
}

void UIView::runAnimation(double seconds, const std::function<void()>& animations, std::function<void(bool)> completion)
{
    const double wait = animationsEnabled ? seconds : 0;
    if (animations)
        animations();
    if (!completion)
        return;
    Foundation::DispatchQueue::main()->asyncAfter(Foundation::DispatchTime::now() + wait,
                                                  [completion = std::move(completion)] { completion(true); });
}

std::shared_ptr<UIColor> UIView::tintColor() const
{
    // Walks the stored colours, not the getters: a view that answers for an inner view's tint would
    // otherwise ask that view back.
    std::shared_ptr<const UIView> holder;
    for (const UIView* view = this; view; view = holder.get()) {
        if (view->m_tintColor)
            return view->m_tintColor;
        holder = view->superview();
    }
    return nullptr;
}

std::shared_ptr<UIView> UIView::forFirstBaselineLayout()
{
    return sharedSelf(this);
}

std::shared_ptr<UIView> UIView::forLastBaselineLayout()
{
    return sharedSelf(this);
}

std::shared_ptr<UIView> UIView::snapshotView(bool)
{
    return Foundation::make<UIView>(CGRect {CGPoint {}, m_bounds.size});
}

std::vector<ViewDrawing::Operation> UIView::drawing()
{
    ViewDrawing drawing;
    draw(bounds());
    m_needsDisplay = false;
    return drawing.takeOperations();
}

bool UIView::drawHierarchy(const CGRect& in, bool)
{
    auto* context = UIGraphicsImageRendererContext::current();
    if (!context || m_bounds.isEmpty() || in.isEmpty())
        return false;
    drawSubtree(*context, in.standardized(), 1);
    return true;
}

void UIView::drawSubtree(UIGraphicsImageRendererContext& context, const CGRect& rect, CGFloat alpha) const
{
    if (m_isHidden)
        return;
    alpha *= m_alpha;
    if (m_backgroundColor) {
        auto color = m_backgroundColor->resolvedColor(traitCollection());
        context.setFillColor(*Foundation::make<UIColor>(color->red(), color->green(), color->blue(), color->alpha() * alpha));
        context.fill(rect);
    }
    if (m_bounds.isEmpty())
        return;
    CGFloat scaleX = rect.size.width / m_bounds.size.width;
    CGFloat scaleY = rect.size.height / m_bounds.size.height;
    for (const auto& subview : m_subviews) {
        CGRect frame = subview->frame();
        subview->drawSubtree(context,
                             {rect.origin.x + (frame.origin.x - m_bounds.origin.x) * scaleX,
                              rect.origin.y + (frame.origin.y - m_bounds.origin.y) * scaleY,
                              frame.size.width * scaleX, frame.size.height * scaleY},
                             alpha);
    }
}

} // namespace UIKit

namespace UIKit {
namespace {

UIView::AnimationRecorder* installedRecorder = nullptr;

} // namespace

UIView::AnimationRecorder::AnimationRecorder()
    : m_outer(installedRecorder)
{
    installedRecorder = this;
}

UIView::AnimationRecorder::~AnimationRecorder()
{
    Foundation::precondition(installedRecorder == this, "Animation recorders must be removed newest first");
    installedRecorder = m_outer;
}

const UIView::AnimationRecorder::Animation& UIView::AnimationRecorder::last() const
{
    Foundation::precondition(!m_animations.empty(), "No animation was recorded");
    return m_animations.back();
}

void UIView::AnimationRecorder::record(Animation animation)
{
    if (installedRecorder)
        installedRecorder->m_animations.push_back(std::move(animation));
}

void UIView::animate(double withDuration, double delay, AnimationOptions options, const std::function<void()>& animations,
                     std::function<void(bool)> completion)
{
    AnimationRecorder::record({withDuration, delay, options, {}});
    runAnimation(std::max(delay, 0.0) + std::max(withDuration, 0.0), animations, std::move(completion));
}

void UIView::transition(const std::shared_ptr<UIView>& with, double duration, AnimationOptions options,
                        const std::function<void()>& animations, std::function<void(bool)> completion)
{
    AnimationRecorder::record({duration, 0, options, with});
    runAnimation(std::max(duration, 0.0), animations, std::move(completion));
}

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    if (!recognizer)
        return;
    if (auto previous = recognizer->view(); previous && previous.get() != this)
        previous->removeGestureRecognizer(recognizer);
    if (std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer) == m_gestureRecognizers.end())
        m_gestureRecognizers.push_back(recognizer);
    recognizer->m_view = weakSelf(this);
}

void UIView::addInteraction(const std::shared_ptr<UIInteraction>& interaction)
{
    if (!interaction)
        return;
    if (auto previous = interaction->view(); previous && previous.get() != this)
        previous->removeInteraction(interaction);
    if (std::ranges::find(m_interactions, interaction) == m_interactions.end())
        m_interactions.push_back(interaction);
    interaction->m_view = weakSelf(this);
}

void UIView::removeInteraction(const std::shared_ptr<UIInteraction>& interaction)
{
    if (std::erase(m_interactions, interaction) > 0)
        interaction->m_view.reset();
}

void UIView::removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    if (std::erase(m_gestureRecognizers, recognizer) > 0)
        recognizer->m_view.reset();
}

} // namespace UIKit
