#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/NSLayoutXAxisAnchor.hpp"
#include "Platform/UIKit/NSLayoutYAxisAnchor.hpp"
#include "Platform/UIKit/UIAccessibilityTraits.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/ViewDrawing.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class NSCoder;
}

namespace UIKit {

class CALayer;
class LayoutEngine;
class UIColor;
class UIEvent;
class UIGestureRecognizer;
class UIInteraction;
class UIGraphicsImageRendererContext;
class UILayoutGuide;
class UIViewController;
class UIWindow;

// A rectangle in a tree of views. The frame places the view in its superview's bounds; the bounds origin
// shifts what the view shows (as scrolling does). Nothing is drawn, so the transform is only recorded and
// takes no part in geometry. A view holds its subviews; its superview and window are weak.
class UIView : public UIResponder {
public:
    enum class ContentMode : std::int64_t;
    struct AnimationOptions;
    class AnimationRecorder;
    struct AutoresizingMask;

    // Geometry.
    CGRect frame() const;
    void setFrame(const CGRect& frame);
    CGRect bounds() const { return m_bounds; }
    void setBounds(const CGRect& bounds);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint center);
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(const CGAffineTransform& transform) { m_transform = transform; }

    // The tree. Subviews are kept back to front.
    std::shared_ptr<UIView> superview() const { return m_superview.lock(); }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return m_subviews; }
    std::shared_ptr<UIWindow> window() const { return m_window.lock(); }
    // Adding a view that is already a subview here only moves it. Adding a view to itself or to one of
    // its own subviews stops the program.
    void addSubview(const std::shared_ptr<UIView>& view);
    // An index past the end adds on top.
    void insertSubview(const std::shared_ptr<UIView>& view, std::size_t at);
    // `sibling` must be a subview of this view.
    void insertSubviewAbove(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling);
    void insertSubviewBelow(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
    void sendSubviewToBack(const std::shared_ptr<UIView>& view);

    // Appearance and state.
    bool isHidden() const { return m_isHidden; }
    virtual void setIsHidden(bool isHidden);
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat alpha) { m_alpha = alpha; }
    const std::shared_ptr<UIColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { m_backgroundColor = std::move(color); }
    bool isUserInteractionEnabled() const { return m_isUserInteractionEnabled; }
    void setIsUserInteractionEnabled(bool enabled) { m_isUserInteractionEnabled = enabled; }
    std::int64_t tag() const { return m_tag; }
    void setTag(std::int64_t tag) { m_tag = tag; }
    // isExclusiveTouch: recorded; one finger at a time is all the event driver sends.
    bool isExclusiveTouch() const { return m_isExclusiveTouch; }
    void setIsExclusiveTouch(bool exclusive) { m_isExclusiveTouch = exclusive; }
    const std::optional<Foundation::String>& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::optional<Foundation::String> identifier)
    {
        m_accessibilityIdentifier = std::move(identifier);
    }
    // What the view says it is: set ones, else what the kind of view gives (a button's title, a label's
    // text, a field's text as its value).
    virtual std::optional<Foundation::String> accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::optional<Foundation::String> label) { m_accessibilityLabel = std::move(label); }
    virtual std::optional<Foundation::String> accessibilityValue() const { return m_accessibilityValue; }
    void setAccessibilityValue(std::optional<Foundation::String> value) { m_accessibilityValue = std::move(value); }
    virtual UIAccessibilityTraits accessibilityTraits() const { return m_accessibilityTraits.value_or(UIAccessibilityTraits()); }
    void setAccessibilityTraits(UIAccessibilityTraits traits) { m_accessibilityTraits = traits; }

    // How the content is fitted into the bounds; recorded only.
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode) { m_contentMode = mode; }
    // Forces light or dark appearance on this view and everything inside it; unspecified follows the
    // superview.
    UIUserInterfaceStyle overrideUserInterfaceStyle() const { return m_overrideUserInterfaceStyle; }
    void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style);

    // The layer the view draws with, made on first use and owned by the view. It shares the view's
    // geometry.
    const std::shared_ptr<CALayer>& layer() const;

    // Changes made inside the block take effect without animation, even inside an animation block.
    // Main thread only, as all of the view tree.
    static void performWithoutAnimation(const std::function<void()>& actions);
    static bool areAnimationsEnabled();
    static void setAnimationsEnabled(bool enabled);
    // Nothing moves on screen, so the animations block applies its end state at once. The completion
    // runs on the main queue once the duration has passed on the clock (at once inside
    // `performWithoutAnimation`), never inside the call; it is told the animation finished.
    static void animate(double withDuration, const std::function<void()>& animations,
                        std::function<void(bool)> completion = nullptr);
    // animate(withDuration:delay:options:animations:completion:): the completion waits for the delay and
    // the duration. An installed `AnimationRecorder` records every animation and transition.
    static void animate(double withDuration, double delay, AnimationOptions options,
                        const std::function<void()>& animations, std::function<void(bool)> completion);
    // transition(with:duration:options:animations:completion:): as the animation above without delay.
    static void transition(const std::shared_ptr<UIView>& with, double duration, AnimationOptions options,
                           const std::function<void()>& animations, std::function<void(bool)> completion);

    // Auto Layout. Active constraints live on the closest common ancestor of their items; a view that
    // leaves its superview takes with it the constraints that reach into it from outside. A view that
    // translates its autoresizing mask keeps the frame it is given, and the mask says how it follows its
    // superview's size; one that does not is placed where its constraints say.
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMaskIntoConstraints; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return m_constraints; }
    // How the view follows a change of its superview's size while its autoresizing mask is translated:
    // the grown or shrunk amount is shared equally among the flexible margins and size of each axis.
    AutoresizingMask autoresizingMask() const;
    void setAutoresizingMask(AutoresizingMask mask);
    // Installs the constraint here; its items must be this view or views inside it (or their guides).
    void addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);

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

    // Made on first use and owned by the view: the bounds inset by the safe area insets and by the
    // layout margins.
    const std::shared_ptr<UILayoutGuide>& safeAreaLayoutGuide() const;
    const std::shared_ptr<UILayoutGuide>& layoutMarginsGuide() const;
    // Guides the view owns besides its own two; adding one makes this view its owner.
    const std::vector<std::shared_ptr<UILayoutGuide>>& layoutGuides() const { return m_layoutGuides; }
    void addLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide);
    // Also removes the constraints that name the guide.
    void removeLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide);
    // What bars and rounded corners of the screen cover at the view's edges: what its superview's safe
    // area leaves out of its frame, or more where the view is told so. Nothing covers a headless window,
    // so what is told is what the program's driver (or a test) says.
    UIEdgeInsets safeAreaInsets() const;
    void setSafeAreaInsets(const UIEdgeInsets& insets);
    UIEdgeInsets layoutMargins() const { return m_layoutMargins; }
    void setLayoutMargins(const UIEdgeInsets& margins);

    UILayoutPriority contentHuggingPriority(NSLayoutConstraint::Axis forAxis) const;
    virtual void setContentHuggingPriority(UILayoutPriority priority, NSLayoutConstraint::Axis forAxis);
    UILayoutPriority contentCompressionResistancePriority(NSLayoutConstraint::Axis forAxis) const;
    virtual void setContentCompressionResistancePriority(UILayoutPriority priority, NSLayoutConstraint::Axis forAxis);
    // The views whose first and last lines of text baseline constraints align; the view itself unless
    // it holds its text in an inner view.
    virtual std::shared_ptr<UIView> forFirstBaselineLayout();
    virtual std::shared_ptr<UIView> forLastBaselineLayout();

    // The size the content wants; `noIntrinsicMetric` in a dimension it has no opinion on. The view's
    // hugging priorities hold it no larger, its compression resistance no smaller.
    static constexpr CGFloat noIntrinsicMetric = -1;
    virtual CGSize intrinsicContentSize() const { return {noIntrinsicMetric, noIntrinsicMetric}; }
    // Content that wraps (text on several lines) is as tall as the width it is laid out at makes it: its
    // intrinsic size at that width. Nothing for content whose size does not depend on its width.
    virtual std::optional<CGSize> intrinsicContentSizeAtWidth(CGFloat /*width*/) const { return std::nullopt; }
    // Views whose content changes size say so, and layout takes the new size.
    void invalidateIntrinsicContentSize();
    static constexpr CGSize layoutFittingCompressedSize() { return {0, 0}; }
    // The size the view's own constraints and content give it, with its width and height drawn towards
    // the target as strongly as the priorities say; constraints to views outside it take no part.
    CGSize systemLayoutSizeFitting(CGSize targetSize) const;
    virtual CGSize systemLayoutSizeFitting(CGSize targetSize, UILayoutPriority withHorizontalFittingPriority,
                                           UILayoutPriority verticalFittingPriority) const;

    // The size the view would take within `size`; a plain view keeps its own.
    virtual CGSize sizeThatFits(CGSize /*size*/) const { return m_bounds.size; }
    // Takes the size `sizeThatFits` gives for the current one, keeping the frame's origin.
    void sizeToFit();
    // The colour controls inside show their state in: the view's own, else its superview's; none at
    // the top of a tree where nothing set one.
    virtual std::shared_ptr<UIColor> tintColor() const;
    virtual void setTintColor(std::shared_ptr<UIColor> color) { m_tintColor = std::move(color); }

    // A new view of the bounds size standing for the picture of this one; none when it cannot be taken.
    virtual std::shared_ptr<UIView> snapshotView(bool afterScreenUpdates);
    // Paints the view and its visible subviews, each as its background colour, scaled into `rect` of the
    // current image renderer's context. False when there is no such context or the view has no area.
    virtual bool drawHierarchy(const CGRect& in, bool afterScreenUpdates);
    // draw(_:): what the view paints of itself, over its background and under its subviews, with the
    // drawing calls (`UIColor::setFill`, `UIBezierPath::fill`, `draw(at:withAttributes:)`). The display
    // asks for it every time it paints the view, so no picture is kept and `setNeedsDisplay` only marks.
    virtual void draw(const CGRect& /*rect*/) {}
    void setNeedsDisplay() { m_needsDisplay = true; }
    bool needsDisplay() const { return m_needsDisplay; }
    // Runs `draw(_:)` over the bounds and answers what it painted.
    std::vector<ViewDrawing::Operation> drawing();

    // Coordinates between views; a null view stands for the window (without one, the topmost superview).
    // Views in different windows meet through the windows' frames.
    CGPoint convertTo(CGPoint point, const std::shared_ptr<UIView>& view) const;
    CGPoint convertFrom(CGPoint point, const std::shared_ptr<UIView>& view) const;
    CGRect convertTo(const CGRect& rect, const std::shared_ptr<UIView>& view) const;
    CGRect convertFrom(const CGRect& rect, const std::shared_ptr<UIView>& view) const;

    // The deepest visible, interactive view under the point (in this view's bounds), front subviews
    // first. Hidden views, nearly transparent ones and ones that take no interaction are passed over with
    // everything inside them.
    virtual std::shared_ptr<UIView> hitTest(CGPoint point, const std::shared_ptr<UIEvent>& with);
    virtual bool point(CGPoint inside, const std::shared_ptr<UIEvent>& with);

    // Layout: marked views lay out their subviews on the next `layoutIfNeeded` that reaches them. First
    // every view marked with `setNeedsUpdateConstraints` updates its constraints (subviews before their
    // superview); then the tree's constraints are solved, and the superview of every view that moves is
    // marked. The plain `layoutSubviews` places the subviews that do not translate their autoresizing
    // mask where the solution says; a view that overrides it calls it first.
    virtual void layoutSubviews();
    void setNeedsLayout() { m_needsLayout = true; }
    // Lays out from the topmost marked ancestor down through every marked view beneath it, again while
    // layout itself changes constraints (a few rounds at most).
    void layoutIfNeeded();
    // Adds, removes or changes the view's own constraints; overrides call it last.
    virtual void updateConstraints() {}
    void setNeedsUpdateConstraints();
    bool needsUpdateConstraints() const { return m_needsUpdateConstraints; }
    void updateConstraintsIfNeeded();

    // Called around moves in the tree: on the moved view, and on every view of its subtree when the
    // window changes (top down).
    virtual void willMoveToSuperview(const std::shared_ptr<UIView>& /*newSuperview*/) {}
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(const std::shared_ptr<UIWindow>& /*newWindow*/) {}
    virtual void didMoveToWindow() {}
    // Called on the superview when a subview arrives, and before one leaves.
    virtual void didAddSubview(const std::shared_ptr<UIView>& /*subview*/) {}
    virtual void willRemoveSubview(const std::shared_ptr<UIView>& /*subview*/) {}

    // The window's traits; a view outside any window has its superview's, or unspecified ones. The
    // nearest interface-style override among the view and its superviews wins.
    virtual UITraitCollection traitCollection() const;
    // Called, top down, on each view whose traits differ after its window's scene, its place in the tree
    // or an interface-style override changed; `previousTraitCollection` is what it had before. Views
    // that keep appearance-dependent values in their layer resolve them again here.
    virtual void traitCollectionDidChange(const std::optional<UITraitCollection>& /*previousTraitCollection*/) {}

    // Called on views loaded from an interface file once they are complete, and when a design tool shows
    // them; views made in code never see them.
    virtual void awakeFromNib() {}
    virtual void prepareForInterfaceBuilder() {}

    // The view's controller when it is a controller's view, else the superview.
    std::shared_ptr<UIResponder> next() const override;

    // Interactions (a context menu), owned by the view.
    const std::vector<std::shared_ptr<UIInteraction>>& interactions() const { return m_interactions; }
    void addInteraction(const std::shared_ptr<UIInteraction>& interaction);
    void removeInteraction(const std::shared_ptr<UIInteraction>& interaction);

    // Gesture recognisers, owned by the view. A recogniser moves here from any view it was on.
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);

protected:
    friend Foundation::Construct;
    UIView();
    explicit UIView(const CGRect& frame);
    // init(coder:): a view described in an interface document; it takes its accessibility identifier.
    explicit UIView(Foundation::NSCoder& coder);
    std::shared_ptr<UIWindow> firstResponderWindow() const override { return window(); }
    // A set traits value; none while the kind of view decides.
    const std::optional<UIAccessibilityTraits>& explicitAccessibilityTraits() const { return m_accessibilityTraits; }

private:
    friend class LayoutEngine;
    friend class NSLayoutConstraint;
    friend class UIViewController;
    friend class UIWindow;
    friend class UIWindowScene;
    // Runs `change`, then tells every view under `roots` whose traits it changed.
    static void changeTraits(const std::vector<std::shared_ptr<UIView>>& roots, const std::function<void()>& change);
    void resizeSubviews(CGSize oldSize);
    // Applies the animations' end state; the completion runs once `seconds` have passed on the clock.
    static void runAnimation(double seconds, const std::function<void()>& animations, std::function<void(bool)> completion);
    bool isSelfOrAncestor(const UIView* view) const;
    bool isInVisibleWindow() const;
    void place(const std::shared_ptr<UIView>& view, std::size_t index);
    void moveHere(const std::shared_ptr<UIView>& view, std::size_t index);
    void leaveSuperview();
    void detachSubview(const UIView* view);
    void announceWillMoveToWindow(const std::shared_ptr<UIWindow>& newWindow);
    void setWindowOfSubtree(const std::shared_ptr<UIWindow>& window);
    void announceDidMoveToWindow();
    void layoutSubtreeIfNeeded();
    // Leads `updateConstraintsIfNeeded` from here down to a view that needs it.
    void subviewNeedsUpdateConstraints();
    // The main layout engine of the tree the view is in, when its topmost view has one.
    LayoutEngine* layoutEngine() const;
    // The shape of the tree or something every constraint may depend on changed.
    void layoutTreeDidChange() const;
    // The view's own frame (`frameOnly`), or its intrinsic size or autoresizing mask, changed.
    void layoutInputDidChange(bool frameOnly) const;
    // A subview was hidden or shown.
    virtual void subviewVisibilityDidChange(UIView& /*subview*/) {}
    // Drops the constraints installed above `subtree` (on this view and its ancestors) that refer to a view
    // inside it: they cannot hold once the subtree leaves.
    void removeConstraintsReachingInto(const UIView& subtree);
    void drawSubtree(UIGraphicsImageRendererContext& context, const CGRect& rect, CGFloat alpha) const;
    // A null view stands for the window base of the other one.
    static CGPoint convertBetween(CGPoint point, const UIView* from, const UIView* to);

    CGPoint m_center;
    CGRect m_bounds;
    CGAffineTransform m_transform;
    std::weak_ptr<UIView> m_superview;
    std::vector<std::shared_ptr<UIView>> m_subviews;
    std::weak_ptr<UIWindow> m_window;
    // The controller whose view this is; told around this view's layout.
    std::weak_ptr<UIViewController> m_viewController;
    bool m_isHidden = false;
    CGFloat m_alpha = 1;
    std::shared_ptr<UIColor> m_backgroundColor;
    bool m_isUserInteractionEnabled = true;
    std::int64_t m_tag = 0;
    std::optional<Foundation::String> m_accessibilityIdentifier;
    std::optional<Foundation::String> m_accessibilityLabel;
    std::optional<Foundation::String> m_accessibilityValue;
    std::optional<UIAccessibilityTraits> m_accessibilityTraits;
    bool m_isExclusiveTouch = false;
    bool m_needsLayout = true;
    bool m_needsDisplay = true;
    bool m_needsUpdateConstraints = true;
    bool m_subviewNeedsUpdateConstraints = false;
    // Set by the engine of the tree while the view takes part in its layout.
    bool m_takesPartInLayout = false;
    bool m_layoutUsesBoundsOrigin = false;
    std::shared_ptr<LayoutEngine> m_layoutEngine;
    std::vector<std::shared_ptr<UIGestureRecognizer>> m_gestureRecognizers;
    std::vector<std::shared_ptr<UIInteraction>> m_interactions;
    ContentMode m_contentMode {};
    UIUserInterfaceStyle m_overrideUserInterfaceStyle = UIUserInterfaceStyle::unspecified;
    std::shared_ptr<UIColor> m_tintColor;
    bool m_translatesAutoresizingMaskIntoConstraints = true;
    std::vector<std::shared_ptr<NSLayoutConstraint>> m_constraints;
    mutable std::shared_ptr<UILayoutGuide> m_safeAreaLayoutGuide;
    mutable std::shared_ptr<CALayer> m_layer;
    std::uint64_t m_autoresizingMask = 0;
    mutable std::shared_ptr<UILayoutGuide> m_layoutMarginsGuide;
    std::vector<std::shared_ptr<UILayoutGuide>> m_layoutGuides;
    UIEdgeInsets m_layoutMargins {8, 8, 8, 8};
    UIEdgeInsets m_safeAreaInsets;
    UILayoutPriority m_contentHuggingPriority[2] {UILayoutPriority::defaultLow(), UILayoutPriority::defaultLow()};
    UILayoutPriority m_contentCompressionResistancePriority[2] {UILayoutPriority::defaultHigh(),
                                                                UILayoutPriority::defaultHigh()};
};

} // namespace UIKit

#include "Platform/UIKit/UIView.AutoresizingMask.hpp"
#include "Platform/UIKit/UIView.AnimationOptions.hpp"
#include "Platform/UIKit/UIView.ContentMode.hpp"
