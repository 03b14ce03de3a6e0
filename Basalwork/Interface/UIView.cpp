#include "Basalwork/Interface/UIView.hpp"

#include "Basalwork/Interface/NSLayoutConstraint.hpp"
#include "Basalwork/Interface/UILayoutPriority.hpp"
#include "Basalwork/Interface/UIView.FrameConversion.Error.hpp"

#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"
#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"

namespace Basalwork {
namespace {

using UIKit::CGFloat;

std::shared_ptr<UIKit::UIView> shared(const UIKit::UIView& view)
{
    return std::static_pointer_cast<UIKit::UIView>(std::const_pointer_cast<Foundation::NSObject>(view.shared_from_this()));
}

void collectMatches(const UIKit::UIView& view, const std::function<bool(const UIKit::UIView&)>& where,
                    std::vector<std::shared_ptr<UIKit::UIView>>& found)
{
    for (const auto& subview : view.subviews()) {
        if (where(*subview))
            found.push_back(subview);
        collectMatches(*subview, where, found);
    }
}

// Which edges the centring family keeps the subview between, and how.
enum class Across { within, equal };

// The first four of the centring family: centred on `centerOn`, kept between the edges of `edges` (a view
// or a layout guide), all at the highest priority. Insets count inwards from those edges.
template <class CenterOn, class Edges>
CenterInConstraints centered(UIKit::UIView& subview, const CenterOn& centerOn, const Edges& edges, Across across,
                             const LayoutInsets& insets, CGFloat maxWidth)
{
    auto priority = UILayoutPriorities::highest();
    auto leading = across == Across::equal
        ? subview.leadingAnchor().constraintEqualTo(edges.leadingAnchor(), insets.leading())
        : subview.leadingAnchor().constraintGreaterThanOrEqualTo(edges.leadingAnchor(), insets.leading());
    auto trailing = across == Across::equal
        ? subview.trailingAnchor().constraintEqualTo(edges.trailingAnchor(), -insets.trailing())
        : subview.trailingAnchor().constraintLessThanOrEqualTo(edges.trailingAnchor(), -insets.trailing());
    return {
        with(subview.centerXAnchor().constraintEqualTo(centerOn.centerXAnchor()), priority),
        with(subview.centerYAnchor().constraintEqualTo(centerOn.centerYAnchor()), priority),
        with(subview.widthAnchor().constraintLessThanOrEqualToConstant(maxWidth), priority),
        with(leading, priority),
        with(trailing, priority),
        with(subview.topAnchor().constraintGreaterThanOrEqualTo(edges.topAnchor(), insets.top()), priority),
        with(subview.bottomAnchor().constraintLessThanOrEqualTo(edges.bottomAnchor(), -insets.bottom()), priority),
    };
}

// Adds the subview, constrains it, activates the group and only then hands it to the completion.
template <class Constraints, class Make>
void addConstrained(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview, Make&& make,
                    const std::function<void(const Constraints&)>& completion)
{
    container.addSubview(subview);
    subview->setTranslatesAutoresizingMaskIntoConstraints(false);
    Constraints constraints = make(*subview);
    NSLayoutConstraints::activate(constraints);
    if (completion)
        completion(constraints);
}

} // namespace

std::shared_ptr<UIKit::UIView> UIViews::withBackgroundColor(std::shared_ptr<UIKit::UIColor> backgroundColor)
{
    auto view = Foundation::make<UIKit::UIView>();
    view->setBackgroundColor(std::move(backgroundColor));
    return view;
}

void setIsVisible(UIKit::UIView& view, bool isVisible)
{
    if (view.isHidden() == isVisible)
        view.setIsHidden(!isVisible);
}

void setVisibilityAndAlpha(UIKit::UIView& view, bool isVisible)
{
    setIsVisible(view, isVisible);
    view.setAlpha(isVisible ? 1.0 : 0.0);
}

std::shared_ptr<UIKit::UIView> findFirstResponder(const UIKit::UIView& view)
{
    if (view.isFirstResponder())
        return shared(view);
    for (const auto& subview : view.subviews()) {
        if (auto found = findFirstResponder(*subview))
            return found;
    }
    return nullptr;
}

bool isOrContains(const UIKit::UIView& view, const UIKit::UIView& other)
{
    if (&view == &other)
        return true;
    for (const auto& subview : view.subviews()) {
        if (isOrContains(*subview, other))
            return true;
    }
    return false;
}

std::vector<std::shared_ptr<UIKit::UIView>> findSubviewsRecursively(const UIKit::UIView& view,
                                                                    const std::function<bool(const UIKit::UIView&)>& where)
{
    std::vector<std::shared_ptr<UIKit::UIView>> found;
    collectMatches(view, where, found);
    return found;
}

UIKit::CGRect frame(const UIKit::UIView& view, const UIView::FrameConversion::CoordinateSystem& in)
{
    auto superview = view.superview();
    if (!superview)
        throw UIView::FrameConversion::Error::failedToConvertViewFrameToCoordinateSystem(shared(view), in);
    const auto* other = in.as<UIView::FrameConversion::CoordinateSystem::OtherView>();
    return superview->convertTo(view.frame(), other ? other->view : nullptr);
}

void resize(UIKit::UIView& view, UIKit::CGSize toSystemLayoutFittingSize)
{
    view.setBounds({view.bounds().origin, view.systemLayoutSizeFitting(toSystemLayoutFittingSize)});
}

UIKit::CGFloat requiredHeight(const UIKit::UIView& view, UIKit::CGFloat givenContentWidth)
{
    return view.systemLayoutSizeFitting({givenContentWidth, 0}, UIKit::UILayoutPriority::required(),
                                        UIKit::UILayoutPriority::defaultLow())
        .height;
}

std::shared_ptr<UIKit::UIImage> drawToImage(UIKit::UIView& view, bool afterScreenUpdates)
{
    auto renderer = Foundation::make<UIKit::UIGraphicsImageRenderer>(view.bounds());
    return renderer->image([&](UIKit::UIGraphicsImageRendererContext&) { view.drawHierarchy(view.bounds(), afterScreenUpdates); });
}

void performAnimatedLayoutUpdate(UIKit::UIView& view, UIView::AnimationDirection direction,
                                 const std::shared_ptr<UIKit::UIView>& inContainer)
{
    using UIKit::UIView;
    if (direction == Basalwork::UIView::AnimationDirection::none)
        return;
    auto container = inContainer ? inContainer : view.superview();
    if (!container)
        return;
    auto superview = view.superview();
    if (!superview) {
        // No frame to slide from: the change is still shown, without the slide.
        container->layoutIfNeeded();
        return;
    }
    auto frameInContainer = [&] { return superview->convertTo(view.frame(), container); };

    auto oldPicture = view.snapshotView(false);
    if (!oldPicture)
        return;
    container->addSubview(oldPicture);
    UIView::performWithoutAnimation([&] {
        oldPicture->setFrame(frameInContainer());
        oldPicture->setAlpha(1);
    });
    // The new content takes its place under the old picture.
    UIView::performWithoutAnimation([&] { container->layoutIfNeeded(); });

    auto newPicture = view.snapshotView(true);
    if (!newPicture) {
        oldPicture->removeFromSuperview();
        return;
    }
    container->addSubview(newPicture);
    CGFloat distance = view.bounds().size.height;
    if (direction == Basalwork::UIView::AnimationDirection::fromBottom)
        distance = -distance;
    UIView::performWithoutAnimation([&] {
        newPicture->setFrame(frameInContainer().offsetBy(0, -distance));
        newPicture->setAlpha(0);
    });
    UIView::performWithoutAnimation([&] {
        view.setAlpha(0);
        container->layoutIfNeeded();
    });

    UIView::animate(
        0.3,
        [&] {
            oldPicture->setFrame(oldPicture->frame().offsetBy(0, distance));
            newPicture->setFrame(newPicture->frame().offsetBy(0, distance));
            oldPicture->setAlpha(0);
            newPicture->setAlpha(1);
        },
        [oldPicture, newPicture, real = shared(view)](bool) {
            oldPicture->removeFromSuperview();
            newPicture->removeFromSuperview();
            real->setAlpha(1);
        });
}

void addSubviewWithEdgeContraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                  const LayoutInsets& insets, const std::function<void(const EdgeConstraints&)>& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) { return NSLayoutConstraints::constrainEdges(view, container, insets); }, completion);
}

void addSubviewWithMarginContraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                    const LayoutInsets& insets, const std::function<void(const EdgeConstraints&)>& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) { return NSLayoutConstraints::constrainMargins(view, container, insets); }, completion);
}

void addSubviewWithSizeAndCenterConstraints(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                            const std::function<void(const SizeAndCenterConstraints&)>& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) { return NSLayoutConstraints::constrainSizeAndCenter(view, container); }, completion);
}

void addSubviewCentered(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                        const LayoutInsets& insets, CGFloat maxWidth, const CenterInCompletion& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) { return centered(view, container, container, Across::within, insets, maxWidth); },
        completion);
}

void addSubviewCenteredLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                        const LayoutInsets& insets, CGFloat maxWidth, const CenterInCompletion& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) {
            return centered(view, container, *container.layoutMarginsGuide(), Across::within, insets, maxWidth);
        },
        completion);
}

void addSubviewCenteredVerticallyLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                                  const LayoutInsets& insets, CGFloat maxWidth,
                                                  const CenterInCompletion& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) {
            return centered(view, container, *container.layoutMarginsGuide(), Across::equal, insets, maxWidth);
        },
        completion);
}

void addSubviewCenteredVerticallyInMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                           const LayoutInsets& insets, CGFloat maxWidth, const CenterInCompletion& completion)
{
    addConstrained(
        container, subview,
        [&](UIKit::UIView& view) {
            const auto& guide = *container.layoutMarginsGuide();
            return centered(view, guide, guide, Across::equal, insets, maxWidth);
        },
        completion);
}

void addSubviewCenteredHorizontallyLimitedToMargins(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview,
                                                    const LayoutInsets& insets, CGFloat maxWidth,
                                                    const CenterInCompletion& completion)
{
    // Below the width limit, so that the limit wins when the margins are further apart.
    constexpr UIKit::UILayoutPriority acrossPriority {998};
    container.addSubview(subview);
    subview->setTranslatesAutoresizingMaskIntoConstraints(false);
    const auto& guide = *container.layoutMarginsGuide();
    auto highest = UILayoutPriorities::highest();
    CenterInConstraints constraints {
        with(subview->centerXAnchor().constraintEqualTo(container.centerXAnchor()), highest),
        with(subview->centerYAnchor().constraintEqualTo(container.centerYAnchor()), UILayoutPriorities::lowest()),
        with(subview->widthAnchor().constraintLessThanOrEqualToConstant(maxWidth), highest),
        with(subview->leadingAnchor().constraintEqualTo(guide.leadingAnchor(), insets.leading()), acrossPriority),
        with(guide.trailingAnchor().constraintEqualTo(subview->trailingAnchor(), insets.trailing()), acrossPriority),
        with(subview->topAnchor().constraintEqualTo(guide.topAnchor(), insets.top()), highest),
        with(guide.bottomAnchor().constraintEqualTo(subview->bottomAnchor(), insets.bottom()), highest),
    };
    NSLayoutConstraints::activate(constraints);
    constraints.centerY()->setIsActive(false);
    if (completion)
        completion(constraints);
}

AspectRatioConstraints constrain(UIKit::UIView& view, CGFloat width, UIKit::UILayoutPriority widthPriority,
                                 CGFloat heightRatio, UIKit::UILayoutPriority heightRatioPriority)
{
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    auto widthConstraint = activate(with(view.widthAnchor().constraintEqualToConstant(width), widthPriority));
    auto heightConstraint = activate(
        with(view.heightAnchor().constraintEqualToMultiplier(view.widthAnchor(), heightRatio), heightRatioPriority));
    return {widthConstraint, heightConstraint};
}

AspectRatioConstraints constrain(UIKit::UIView& view, CGFloat aspectRatio, CGFloat to, UIKit::UILayoutPriority priority)
{
    view.setTranslatesAutoresizingMaskIntoConstraints(false);
    auto height = activate(with(view.heightAnchor().constraintEqualToMultiplier(view.widthAnchor(), to / aspectRatio), priority));
    return {nullptr, height};
}

} // namespace Basalwork
