#include "Platform/UIKit/UISplitViewController.hpp"

#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewControllerTransitionCoordinator.hpp"

#include <algorithm>

namespace UIKit {
namespace {

constexpr CGFloat automaticPrimaryWidth = 320;
constexpr CGFloat automaticSupplementaryWidth = 320;

using Mask = UIView::AutoresizingMask;

void place(const std::shared_ptr<UIViewController>& controller, UIView& into, const CGRect& frame, Mask mask)
{
    const auto& view = controller->view();
    view->setFrame(frame);
    view->setAutoresizingMask(mask);
    if (view->superview().get() != &into)
        into.addSubview(view);
}

} // namespace

std::shared_ptr<UIViewController> UISplitViewController::viewController(Column forColumn) const
{
    auto found = m_columns.find(forColumn);
    return found == m_columns.end() ? nullptr : found->second;
}

void UISplitViewController::setViewController(const std::shared_ptr<UIViewController>& viewController, Column forColumn)
{
    auto previous = this->viewController(forColumn);
    if (previous == viewController)
        return;
    if (previous) {
        if (auto view = previous->viewIfLoaded(); view && isViewLoaded() && view->superview() == this->view())
            view->removeFromSuperview();
        previous->willMove(nullptr);
        previous->removeFromParent();
    }
    if (!viewController)
        m_columns.erase(forColumn);
    else
        m_columns[forColumn] = viewController;
    auto self = sharedSelf(this);
    if (viewController && viewController->parent() != self) {
        addChild(viewController);
        viewController->didMove(self);
    }
    placeColumns();
}

std::vector<std::shared_ptr<UIViewController>> UISplitViewController::viewControllers() const
{
    std::vector<std::shared_ptr<UIViewController>> controllers;
    for (auto column : {Column::primary, Column::supplementary, Column::secondary})
        if (auto controller = viewController(column))
            controllers.push_back(controller);
    return controllers;
}

void UISplitViewController::setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& viewControllers)
{
    setViewController(viewControllers.empty() ? nullptr : viewControllers.front(), Column::primary);
    setViewController(viewControllers.size() < 2 ? nullptr : viewControllers.back(), Column::secondary);
}

void UISplitViewController::loadView()
{
    UIViewController::loadView();
    placeColumns();
}

CGFloat UISplitViewController::primaryColumnWidth() const
{
    CGFloat width = m_preferredPrimaryColumnWidth.value_or(automaticPrimaryWidth);
    width = std::clamp(width, m_minimumPrimaryColumnWidth.value_or(0),
                       std::max(m_minimumPrimaryColumnWidth.value_or(0), m_maximumPrimaryColumnWidth.value_or(10000)));
    if (auto view = viewIfLoaded())
        width = std::min(width, view->bounds().size.width);
    return std::max(width, 0.0);
}

void UISplitViewController::setPreferredPrimaryColumnWidth(std::optional<CGFloat> width)
{
    m_preferredPrimaryColumnWidth = width;
    placeColumns();
}

void UISplitViewController::setMinimumPrimaryColumnWidth(std::optional<CGFloat> width)
{
    m_minimumPrimaryColumnWidth = width;
    placeColumns();
}

void UISplitViewController::setMaximumPrimaryColumnWidth(std::optional<CGFloat> width)
{
    m_maximumPrimaryColumnWidth = width;
    placeColumns();
}

void UISplitViewController::setPreferredSupplementaryColumnWidth(std::optional<CGFloat> width)
{
    m_preferredSupplementaryColumnWidth = width;
    placeColumns();
}

UISplitViewController::DisplayMode UISplitViewController::displayMode() const
{
    if (m_isCollapsed)
        return DisplayMode::secondaryOnly;
    auto mode = m_shownDisplayMode.value_or(m_preferredDisplayMode);
    if (mode == DisplayMode::automatic)
        mode = m_style == Style::tripleColumn ? DisplayMode::twoBesideSecondary : DisplayMode::oneBesideSecondary;
    return mode;
}

void UISplitViewController::changeDisplayMode(DisplayMode mode)
{
    if (mode == displayMode())
        return;
    if (auto delegate = this->delegate())
        delegate->willChangeTo(*this, mode);
    m_shownDisplayMode = mode;
    placeColumns();
}

void UISplitViewController::setPreferredDisplayMode(DisplayMode mode)
{
    if (m_isCollapsed) {
        m_preferredDisplayMode = mode;
        m_shownDisplayMode.reset();
        return;
    }
    auto previous = displayMode();
    m_preferredDisplayMode = mode;
    m_shownDisplayMode.reset();
    auto now = displayMode();
    if (now != previous) {
        m_shownDisplayMode = previous;
        changeDisplayMode(now);
        m_shownDisplayMode.reset();
    }
}

void UISplitViewController::show(Column column)
{
    if (auto delegate = this->delegate())
        delegate->willShow(*this, column);
    if (m_isCollapsed) {
        m_collapsedColumn = column;
        placeColumns();
        return;
    }
    auto mode = displayMode();
    if (column == Column::primary && mode == DisplayMode::secondaryOnly)
        changeDisplayMode(m_style == Style::tripleColumn ? DisplayMode::twoBesideSecondary : DisplayMode::oneBesideSecondary);
    else if (column == Column::supplementary && mode == DisplayMode::secondaryOnly)
        changeDisplayMode(DisplayMode::oneBesideSecondary);
}

void UISplitViewController::hide(Column column)
{
    if (m_isCollapsed || (column != Column::primary && column != Column::supplementary))
        return;
    if (auto delegate = this->delegate())
        delegate->willHide(*this, column);
    if (column == Column::primary && m_style == Style::tripleColumn && displayMode() != DisplayMode::secondaryOnly)
        changeDisplayMode(DisplayMode::oneBesideSecondary);
    else
        changeDisplayMode(DisplayMode::secondaryOnly);
}

std::shared_ptr<UIViewController> UISplitViewController::collapsedController() const
{
    if (m_style == Style::unspecified)
        return viewController(Column::primary) ? viewController(Column::primary) : viewController(Column::secondary);
    if (auto column = m_collapsedColumn; column && viewController(*column))
        return viewController(*column);
    if (auto compact = viewController(Column::compact))
        return compact;
    return viewController(Column::secondary) ? viewController(Column::secondary) : viewController(Column::primary);
}

void UISplitViewController::placeColumns()
{
    if (!isViewLoaded())
        return;
    auto& container = *view();
    const CGRect bounds = container.bounds();
    struct Placement {
        std::shared_ptr<UIViewController> controller;
        CGRect frame;
        Mask mask;
    };
    std::vector<Placement> placements;
    const Mask fill = Mask::flexibleWidth() | Mask::flexibleHeight();
    const Mask side = Mask::flexibleHeight() | Mask::flexibleRightMargin();
    if (m_isCollapsed) {
        if (auto controller = collapsedController())
            placements.push_back({controller, bounds, fill});
    } else {
        auto primary = viewController(Column::primary);
        auto supplementary = m_style == Style::tripleColumn ? viewController(Column::supplementary) : nullptr;
        auto secondary = viewController(Column::secondary);
        const auto mode = displayMode();
        const bool oneColumn = mode == DisplayMode::oneBesideSecondary || mode == DisplayMode::oneOverSecondary;
        const bool beside = mode == DisplayMode::oneBesideSecondary || mode == DisplayMode::twoBesideSecondary
            || mode == DisplayMode::twoDisplaceSecondary;
        // In the triple-column style one column beside the secondary is the supplementary one.
        const bool showsPrimary = primary && mode != DisplayMode::secondaryOnly && !(supplementary && oneColumn);
        const bool showsSupplementary = supplementary && mode != DisplayMode::secondaryOnly;
        CGFloat x = 0;
        std::vector<Placement> sides;
        if (showsPrimary) {
            sides.push_back({primary, {x, 0, primaryColumnWidth(), bounds.size.height}, side});
            x += primaryColumnWidth();
        }
        if (showsSupplementary) {
            CGFloat width = std::min(m_preferredSupplementaryColumnWidth.value_or(automaticSupplementaryWidth),
                                     std::max(0.0, bounds.size.width - x));
            sides.push_back({supplementary, {x, 0, width, bounds.size.height}, side});
            x += width;
        }
        // Side columns over the secondary one come after it, so they are in front.
        if (secondary) {
            CGFloat secondaryX = beside ? x : 0;
            placements.push_back({secondary, {secondaryX, 0, std::max(0.0, bounds.size.width - secondaryX), bounds.size.height}, fill});
        }
        placements.insert(placements.end(), sides.begin(), sides.end());
    }
    for (const auto& [column, controller] : m_columns) {
        if (std::ranges::any_of(placements, [&](const Placement& placement) { return placement.controller == controller; }))
            continue;
        if (auto view = controller->viewIfLoaded(); view && view->superview().get() == &container)
            view->removeFromSuperview();
    }
    for (const auto& placement : placements)
        place(placement.controller, container, placement.frame, placement.mask);
}

void UISplitViewController::setIsCollapsed(bool collapsed)
{
    if (collapsed)
        collapse();
    else
        expand();
}

void UISplitViewController::collapse()
{
    if (m_isCollapsed)
        return;
    auto delegate = this->delegate();
    if (m_style == Style::unspecified) {
        auto primary = viewController(Column::primary);
        auto secondary = viewController(Column::secondary);
        const bool merged = delegate && secondary && delegate->collapseSecondary(*this, secondary, primary);
        // By default a secondary controller goes on top of a primary navigation stack.
        auto navigation = std::dynamic_pointer_cast<UINavigationController>(primary);
        if (!merged && navigation && secondary && !std::dynamic_pointer_cast<UINavigationController>(secondary)) {
            setViewController(nullptr, Column::secondary);
            navigation->pushViewController(secondary, false);
            m_mergedSecondary = secondary;
        }
    } else {
        m_collapsedColumn = delegate ? delegate->topColumnForCollapsingToProposedTopColumn(*this, Column::secondary)
                                     : Column::secondary;
    }
    m_isCollapsed = true;
    placeColumns();
    if (delegate)
        delegate->didCollapse(*this);
}

void UISplitViewController::expand()
{
    if (!m_isCollapsed)
        return;
    auto delegate = this->delegate();
    if (m_style == Style::unspecified) {
        auto primary = viewController(Column::primary);
        auto separated = delegate ? delegate->separateSecondary(*this, primary) : nullptr;
        auto navigation = std::dynamic_pointer_cast<UINavigationController>(primary);
        if (!separated && navigation && m_mergedSecondary && navigation->topViewController() == m_mergedSecondary)
            separated = navigation->popViewController(false);
        m_mergedSecondary.reset();
        if (separated && separated->parent())
            separated->removeFromParent();
        if (separated)
            setViewController(separated, Column::secondary);
    }
    m_collapsedColumn.reset();
    m_isCollapsed = false;
    placeColumns();
    if (delegate)
        delegate->didExpand(*this);
}

void UISplitViewController::willTransition(const UITraitCollection& to,
                                           const std::shared_ptr<UIViewControllerTransitionCoordinator>& with)
{
    UIViewController::willTransition(to, with);
    const auto now = traitCollection().horizontalSizeClass;
    if (now == to.horizontalSizeClass)
        return;
    std::weak_ptr<UISplitViewController> weakSelf = sharedSelf(this);
    const bool compact = to.horizontalSizeClass == UIUserInterfaceSizeClass::compact;
    with->animate([weakSelf, compact](const auto&) {
        if (auto self = weakSelf.lock())
            self->setIsCollapsed(compact);
    });
}

void UISplitViewController::showDetailViewController(const std::shared_ptr<UIViewController>& viewController,
                                                     const std::shared_ptr<Foundation::NSObject>& sender)
{
    if (auto delegate = this->delegate(); delegate && delegate->showDetail(*this, viewController, sender))
        return;
    if (!m_isCollapsed) {
        setViewController(viewController, Column::secondary);
        return;
    }
    if (auto navigation = std::dynamic_pointer_cast<UINavigationController>(collapsedController()))
        navigation->pushViewController(viewController, true);
    else
        present(viewController, true);
}

} // namespace UIKit
