#pragma once

#include "Basalwork/Interface/AspectRatioConstraints.hpp"
#include "Basalwork/Interface/CenterInConstraints.hpp"
#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/SizeAndCenterConstraints.hpp"

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace UIKit {
class UIColor;
class UIImage;
}

namespace Basalwork {

// Types the kit nests in the view type.
struct UIView {
    enum class AnimationDirection : std::uint8_t;
    // A layer's border and shadow as values; see `BorderShadowable`.
    struct Border;
    struct Shadow;
    // Types of `frame(view, in:)`.
    struct FrameConversion {
        class CoordinateSystem;
        class Error;
    };
};

// Initialisers of UIView.
struct UIViews {
    // init(backgroundColor:)
    static std::shared_ptr<UIKit::UIView> withBackgroundColor(std::shared_ptr<UIKit::UIColor> backgroundColor);
};

// Visibility. `setIsVisible` writes `isHidden` only when it changes, so a view in a stack view is not
// laid out again for nothing; `setVisibilityAndAlpha` always writes the alpha.
inline bool isVisible(const UIKit::UIView& view)
{
    return !view.isHidden();
}
void setIsVisible(UIKit::UIView& view, bool isVisible);
void setVisibilityAndAlpha(UIKit::UIView& view, bool isVisible);
inline bool isCurrentlyInViewHierarchy(const UIKit::UIView& view)
{
    return view.window() != nullptr;
}
inline bool isBeingDisplayedSomewhereInViewHierarchy(const UIKit::UIView& view)
{
    return view.window() != nullptr;
}

// Searches of the tree: depth first, subviews in their stored order.
std::shared_ptr<UIKit::UIView> findFirstResponder(const UIKit::UIView& view);
inline bool isOrContainsFirstResponder(const UIKit::UIView& view)
{
    return findFirstResponder(view) != nullptr;
}
// By identity.
bool isOrContains(const UIKit::UIView& view, const UIKit::UIView& other);
// Every descendant that matches, never the view itself: each subview, then the matches inside it.
std::vector<std::shared_ptr<UIKit::UIView>> findSubviewsRecursively(const UIKit::UIView& view,
                                                                    const std::function<bool(const UIKit::UIView&)>& where);
template <class T>
    requires std::derived_from<T, UIKit::UIView>
std::vector<std::shared_ptr<T>> findSubviewsRecursively(const UIKit::UIView& view)
{
    std::vector<std::shared_ptr<T>> found;
    for (const auto& match : findSubviewsRecursively(view, [](const UIKit::UIView& v) { return dynamic_cast<const T*>(&v) != nullptr; }))
        found.push_back(std::static_pointer_cast<T>(match));
    return found;
}
// isDescendant(ofType:): this view or one of its superviews is a `T`.
template <class T>
    requires std::derived_from<T, UIKit::UIView>
bool isDescendant(const UIKit::UIView& view)
{
    if (dynamic_cast<const T*>(&view))
        return true;
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (dynamic_cast<const T*>(ancestor.get()))
            return true;
    }
    return false;
}

// The view's frame in another coordinate space, converted by its superview. Throws
// `UIView::FrameConversion::Error` (its own header) for a view without a superview.
UIKit::CGRect frame(const UIKit::UIView& view, const UIView::FrameConversion::CoordinateSystem& in);
// Keeps the bounds origin and takes the size `systemLayoutSizeFitting` gives.
void resize(UIKit::UIView& view, UIKit::CGSize toSystemLayoutFittingSize);
// requiredHeight(givenContentWidth:): the height the view's constraints and content give it at exactly
// that width, drawn towards nothing at the default low priority.
UIKit::CGFloat requiredHeight(const UIKit::UIView& view, UIKit::CGFloat givenContentWidth);
// The view's hierarchy drawn into an image of its bounds.
std::shared_ptr<UIKit::UIImage> drawToImage(UIKit::UIView& view, bool afterScreenUpdates);

// Shows a change the caller has already made to the view (content or constraints) as the old picture
// sliding out while the new one slides in, over 0.3 seconds, in `inContainer` (else the superview).
// A view without a superview has no frame to animate from: it is only laid out.
void performAnimatedLayoutUpdate(UIKit::UIView& view, UIView::AnimationDirection direction,
                                 const std::shared_ptr<UIKit::UIView>& inContainer = nullptr);

// Adding a subview and constraining it in one call; the receiver is the container. Each turns off the
// subview's autoresizing-mask translation, activates its constraints, then hands them to the completion.
void addSubviewWithEdgeContraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                  const LayoutInsets& insets = LayoutInsets::zero(),
                                  const std::function<void(const EdgeConstraints&)>& completion = nullptr);
void addSubviewWithMarginContraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                    const LayoutInsets& insets = LayoutInsets::zero(),
                                    const std::function<void(const EdgeConstraints&)>& completion = nullptr);
void addSubviewWithSizeAndCenterConstraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                            const std::function<void(const SizeAndCenterConstraints&)>& completion = nullptr);

// The centring family: the subview centred, at most `maxWidth` wide, and kept between edges. Insets count
// inwards from the edges the subview is kept between.
using CenterInCompletion = std::function<void(const CenterInConstraints&)>;
// Centred in the container, inside its edges.
void addSubviewCentered(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                        const LayoutInsets& insets, UIKit::CGFloat maxWidth, const CenterInCompletion& completion = nullptr);
// Centred in the container, inside its margins.
void addSubviewCenteredLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                        const LayoutInsets& insets, UIKit::CGFloat maxWidth,
                                        const CenterInCompletion& completion = nullptr);
// Centred in the container, as wide as its margins allow, inside them vertically.
void addSubviewCenteredVerticallyLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                                  const LayoutInsets& insets, UIKit::CGFloat maxWidth,
                                                  const CenterInCompletion& completion = nullptr);
// Centred in the margins, as wide as they allow, inside them vertically.
void addSubviewCenteredVerticallyInMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                           const LayoutInsets& insets, UIKit::CGFloat maxWidth,
                                           const CenterInCompletion& completion = nullptr);
// Pinned to the margins top and bottom; across, pinned to them at 998 so that the width limit at the
// highest priority wins and the subview stays centred when the margins are wider than `maxWidth`. The
// vertical centring is returned inactive.
void addSubviewCenteredHorizontallyLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                                    const LayoutInsets& insets, UIKit::CGFloat maxWidth,
                                                    const CenterInCompletion& completion = nullptr);

// The view's width fixed and its height a ratio of it; each constraint activated as made.
AspectRatioConstraints constrain(UIKit::UIView& view, UIKit::CGFloat width, UIKit::UILayoutPriority widthPriority,
                                 UIKit::CGFloat heightRatio, UIKit::UILayoutPriority heightRatioPriority);
// Height = width x `to` / `aspectRatio`; the result has no width constraint.
AspectRatioConstraints constrain(UIKit::UIView& view, UIKit::CGFloat aspectRatio, UIKit::CGFloat to,
                                 UIKit::UILayoutPriority priority);

} // namespace Basalwork

#include "Basalwork/Interface/UIView.AnimationDirection.hpp"
#include "Basalwork/Interface/UIView.FrameConversion.CoordinateSystem.hpp"
