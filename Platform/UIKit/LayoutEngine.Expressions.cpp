#include "Platform/UIKit/LayoutEngine.hpp"

#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace UIKit {

namespace {

// The topmost view keeps its size against every optional constraint; a required one may still move
// it when the view does not translate its autoresizing mask.
constexpr double rootHoldStrength = 1e11;
// Sizes past this are taken as "as large as it gets".
constexpr CGFloat largestFittingLength = 1e7;

using Attribute = NSLayoutConstraint::Attribute;
using Axis = NSLayoutConstraint::Axis;

template <class A, class B>
bool sameObject(const std::weak_ptr<A>& lhs, const std::weak_ptr<B>& rhs)
{
    return !lhs.expired() && !lhs.owner_before(rhs) && !rhs.owner_before(lhs);
}

ConstraintSolver::Relation relationOf(NSLayoutConstraint::Relation relation)
{
    switch (relation) {
    case NSLayoutConstraint::Relation::lessThanOrEqual:
        return ConstraintSolver::Relation::lessThanOrEqual;
    case NSLayoutConstraint::Relation::greaterThanOrEqual:
        return ConstraintSolver::Relation::greaterThanOrEqual;
    case NSLayoutConstraint::Relation::equal:
        break;
    }
    return ConstraintSolver::Relation::equal;
}

bool isEdge(Attribute attribute)
{
    return attribute == Attribute::left || attribute == Attribute::right || attribute == Attribute::leading
        || attribute == Attribute::trailing || attribute == Attribute::top || attribute == Attribute::bottom;
}

const UIView* viewOf(const Foundation::NSObject* item)
{
    if (const auto* view = dynamic_cast<const UIView*>(item))
        return view;
    if (const auto* guide = dynamic_cast<const UILayoutGuide*>(item))
        return guide->owningView().get();
    return nullptr;
}

bool isInside(const UIView* view, const UIView& ancestor)
{
    for (std::shared_ptr<UIView> holder; view; view = (holder = view->superview()).get()) {
        if (view == &ancestor)
            return true;
    }
    return false;
}

} // namespace

// --- Which views and guides take part -------------------------------------------------------------

LayoutEngine::Item& LayoutEngine::itemFor(const Foundation::NSObject& object, ItemKind kind, bool hasOrigin)
{
    auto [found, inserted] = m_items.try_emplace(&object);
    Item& item = found->second;
    auto owner = object.weak_from_this();
    if (!inserted && !sameObject(item.object, owner)) {
        // Another object now lives where a departed one did.
        if (item.hasOrigin) {
            m_solver.releaseVariable(item.x);
            m_solver.releaseVariable(item.y);
        }
        m_solver.releaseVariable(item.width);
        m_solver.releaseVariable(item.height);
        inserted = true;
    }
    if (inserted) {
        item = Item {};
        item.object = owner;
        item.kind = kind;
        item.hasOrigin = hasOrigin;
        if (hasOrigin) {
            item.x = m_solver.makeVariable();
            item.y = m_solver.makeVariable();
        }
        item.width = m_solver.makeVariable();
        item.height = m_solver.makeVariable();
    }
    return item;
}

const LayoutEngine::Item* LayoutEngine::findItem(const void* object) const
{
    auto found = m_items.find(object);
    return found == m_items.end() ? nullptr : &found->second;
}

void LayoutEngine::markView(UIView& view)
{
    std::shared_ptr<UIView> holder;
    for (UIView* current = &view; current; current = (holder = current->superview()).get()) {
        Item& item = itemFor(*current, ItemKind::view, current != &m_root);
        if (item.seen == m_generation)
            return;
        item.seen = m_generation;
        if (m_purpose == Purpose::layout)
            current->m_takesPartInLayout = true;
        if (current == &m_root)
            return;
    }
}

LayoutEngine::GuideKind LayoutEngine::guideKind(const UILayoutGuide& guide, const UIView& owner)
{
    if (owner.m_layoutMarginsGuide.get() == &guide)
        return GuideKind::margins;
    if (owner.m_safeAreaLayoutGuide.get() == &guide)
        return GuideKind::safeArea;
    if (const auto* scrollView = dynamic_cast<const UIScrollView*>(&owner)) {
        if (scrollView->m_contentLayoutGuide.get() == &guide)
            return GuideKind::content;
        if (scrollView->m_frameLayoutGuide.get() == &guide)
            return GuideKind::frame;
    }
    return GuideKind::custom;
}

bool LayoutEngine::usesContentArea(const Foundation::NSObject& item, const UIView& space,
                                   const Foundation::NSObject* other) const
{
    // Constraints between a scroll view's edges and what it holds describe its content, not its frame.
    if (&item != &space || !dynamic_cast<const UIScrollView*>(&space))
        return false;
    const UIView* otherView = viewOf(other);
    if (!otherView || otherView == &space)
        return false;
    return isInside(otherView, space);
}

void LayoutEngine::markItemsOf(const NSLayoutConstraint& constraint, const UIView& space)
{
    auto first = constraint.firstItem();
    auto second = constraint.secondItem();
    const std::pair<const std::shared_ptr<Foundation::NSObject>*, Attribute> sides[] = {
        {&first, constraint.firstAttribute()},
        {&second, constraint.secondAttribute()},
    };
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& object = *sides[i].first;
        const auto* other = (i == 0 ? second : first).get();
        if (!object)
            continue;
        if (auto* view = dynamic_cast<UIView*>(object.get())) {
            markView(*view);
            if (isEdge(sides[i].second) && usesContentArea(*view, space, other)) {
                const auto& guide = static_cast<UIScrollView&>(*view).contentLayoutGuide();
                itemFor(*guide, ItemKind::contentGuide, false).seen = m_generation;
            }
        } else if (auto* guide = dynamic_cast<UILayoutGuide*>(object.get())) {
            auto owner = guide->owningView();
            if (!owner)
                continue;
            markView(*owner);
            switch (guideKind(*guide, *owner)) {
            case GuideKind::content:
                itemFor(*guide, ItemKind::contentGuide, false).seen = m_generation;
                break;
            case GuideKind::custom:
                itemFor(*guide, ItemKind::guide, true).seen = m_generation;
                break;
            default:
                break;
            }
        }
    }
}

// --- Expressions -------------------------------------------------------------------------------

void LayoutEngine::usesBoundsOrigin(const UIView& view) const
{
    if (m_purpose == Purpose::layout)
        const_cast<UIView&>(view).m_layoutUsesBoundsOrigin = true;
}

std::pair<LayoutEngine::Linear, LayoutEngine::Linear> LayoutEngine::offsetOf(const UIView& view, const UIView& space) const
{
    // Where the bounds coordinates of `view` sit in those of `space`: each view on the way adds its
    // frame's origin less its bounds' origin.
    std::pair<Linear, Linear> offset;
    std::shared_ptr<UIView> holder;
    for (const UIView* current = &view; current && current != &space; current = (holder = current->superview()).get()) {
        const Item* item = findItem(current);
        usesBoundsOrigin(*current);
        offset.first.add(item->x, 1);
        offset.first.constant -= current->bounds().origin.x;
        offset.second.add(item->y, 1);
        offset.second.constant -= current->bounds().origin.y;
    }
    return offset;
}

LayoutEngine::Rect LayoutEngine::rectOf(const Foundation::NSObject& object, const UIView& space) const
{
    Rect rect;
    if (const auto* view = dynamic_cast<const UIView*>(&object)) {
        const Item* item = findItem(view);
        rect.width.add(item->width, 1);
        rect.height.add(item->height, 1);
        if (view == &space) {
            usesBoundsOrigin(*view);
            rect.x.constant = view->bounds().origin.x;
            rect.y.constant = view->bounds().origin.y;
        } else {
            std::tie(rect.x, rect.y) = offsetOf(*view->superview(), space);
            rect.x.add(item->x, 1);
            rect.y.add(item->y, 1);
        }
        return rect;
    }
    const auto& guide = static_cast<const UILayoutGuide&>(object);
    auto owner = guide.owningView();
    const Item* ownerItem = findItem(owner.get());
    const CGPoint origin = owner->bounds().origin;
    usesBoundsOrigin(*owner);
    auto inset = [&](const UIEdgeInsets& insets) {
        rect.x.constant = origin.x + insets.left;
        rect.y.constant = origin.y + insets.top;
        rect.width.add(ownerItem->width, 1);
        rect.width.constant = -(insets.left + insets.right);
        rect.height.add(ownerItem->height, 1);
        rect.height.constant = -(insets.top + insets.bottom);
    };
    switch (guideKind(guide, *owner)) {
    case GuideKind::margins:
        inset(owner->layoutMargins());
        break;
    case GuideKind::safeArea:
        inset(owner->safeAreaInsets());
        break;
    case GuideKind::frame:
        inset({});
        break;
    case GuideKind::content:
    case GuideKind::custom: {
        const Item* item = findItem(&guide);
        if (item->hasOrigin) {
            rect.x.add(item->x, 1);
            rect.y.add(item->y, 1);
        }
        rect.width.add(item->width, 1);
        rect.height.add(item->height, 1);
        break;
    }
    }
    auto [x, y] = offsetOf(*owner, space);
    rect.x.add(x, 1);
    rect.y.add(y, 1);
    return rect;
}

LayoutEngine::Linear LayoutEngine::attributeOf(const Foundation::NSObject& object, Attribute attribute,
                                               const UIView& space, const Foundation::NSObject* other) const
{
    Rect rect;
    if (isEdge(attribute) && usesContentArea(object, space, other)) {
        const Item* content = findItem(static_cast<const UIScrollView&>(space).contentLayoutGuide().get());
        rect.width.add(content->width, 1);
        rect.height.add(content->height, 1);
    } else {
        rect = rectOf(object, space);
    }
    // An edge or a centre is the origin plus some of the length.
    auto along = [](Linear origin, const Linear& length, double share) {
        origin.add(length, share);
        return origin;
    };
    switch (attribute) {
    case Attribute::left:
    case Attribute::leading:
        return rect.x;
    case Attribute::right:
    case Attribute::trailing:
        return along(std::move(rect.x), rect.width, 1);
    case Attribute::centerX:
        return along(std::move(rect.x), rect.width, 0.5);
    case Attribute::top:
        return rect.y;
    case Attribute::bottom:
        return along(std::move(rect.y), rect.height, 1);
    case Attribute::centerY:
        return along(std::move(rect.y), rect.height, 0.5);
    case Attribute::width:
        return rect.width;
    case Attribute::height:
        return rect.height;
    case Attribute::notAnAttribute:
        break;
    }
    return {};
}

std::optional<LayoutEngine::Spec> LayoutEngine::specFor(const NSLayoutConstraint& constraint) const
{
    auto space = constraint.installedOn();
    auto first = constraint.firstItem();
    auto second = constraint.secondItem();
    if (!space || !first || (constraint.secondAttribute() != Attribute::notAnAttribute && !second))
        return std::nullopt;
    // Every item must have what its expression needs; one that lost its view takes no part.
    for (const auto* object : {first.get(), second.get()}) {
        if (object && !findItem(viewOf(object)))
            return std::nullopt;
        if (const auto* guide = dynamic_cast<const UILayoutGuide*>(object)) {
            auto owner = guide->owningView();
            if (!owner)
                return std::nullopt;
            auto kind = guideKind(*guide, *owner);
            if ((kind == GuideKind::content || kind == GuideKind::custom) && !findItem(guide))
                return std::nullopt;
        }
    }
    Spec spec {{&constraint, Part::constraint}, constraint.weak_from_this(), {}, relationOf(constraint.relation()),
               strength(constraint.priority())};
    spec.expression = attributeOf(*first, constraint.firstAttribute(), *space, second.get());
    if (second)
        spec.expression.add(attributeOf(*second, constraint.secondAttribute(), *space, first.get()), -constraint.multiplier());
    spec.expression.constant -= constraint.constant();
    return spec;
}

bool LayoutEngine::measuresIntrinsically(const UIView& view) const
{
    // The topmost view's size is given, except when fitting, where it is what is asked.
    if (&view == &m_root)
        return m_purpose == Purpose::fitting;
    return !view.translatesAutoresizingMaskIntoConstraints();
}

void LayoutEngine::viewSpecs(UIView& view, std::vector<Spec>& specs)
{
    Item& item = m_items.at(&view);
    if (measuresIntrinsically(view)) {
        intrinsicSpecs(view, item, specs);
        return;
    }
    if (&view == &m_root)
        return;
    // The autoresizing mask as constraints: the view keeps its frame at its superview's present size and
    // shares any change of that size among its flexible parts, as resizing does.
    auto superview = view.superview();
    const Item& parent = m_items.at(superview.get());
    const CGRect frame = view.frame();
    const CGSize parentSize = superview->bounds().size;
    const auto mask = view.autoresizingMask();
    using Mask = UIView::AutoresizingMask;
    auto axis = [&](Part positionPart, Part sizePart, Variable position, Variable size, Variable parentLength,
                    CGFloat origin, CGFloat length, CGFloat currentParentLength, bool leading, bool flexible, bool trailing) {
        int parts = int(leading) + int(flexible) + int(trailing);
        double share = parts == 0 ? 0.0 : 1.0 / parts;
        Spec positionSpec {{&view, positionPart}, view.weak_from_this(), {}, Relation::equal, ConstraintSolver::required};
        positionSpec.expression.add(position, 1);
        Spec sizeSpec {{&view, sizePart}, view.weak_from_this(), {}, Relation::equal, ConstraintSolver::required};
        sizeSpec.expression.add(size, 1);
        double positionShare = leading ? share : 0.0;
        double sizeShare = flexible ? share : 0.0;
        if (positionShare != 0)
            positionSpec.expression.add(parentLength, -positionShare);
        if (sizeShare != 0)
            sizeSpec.expression.add(parentLength, -sizeShare);
        positionSpec.expression.constant = -(origin - positionShare * currentParentLength);
        sizeSpec.expression.constant = -(length - sizeShare * currentParentLength);
        specs.push_back(std::move(positionSpec));
        specs.push_back(std::move(sizeSpec));
    };
    axis(Part::maskX, Part::maskWidth, item.x, item.width, parent.width, frame.origin.x, frame.size.width,
         parentSize.width, mask.contains(Mask::flexibleLeftMargin()), mask.contains(Mask::flexibleWidth()),
         mask.contains(Mask::flexibleRightMargin()));
    axis(Part::maskY, Part::maskHeight, item.y, item.height, parent.height, frame.origin.y, frame.size.height,
         parentSize.height, mask.contains(Mask::flexibleTopMargin()), mask.contains(Mask::flexibleHeight()),
         mask.contains(Mask::flexibleBottomMargin()));
}

void LayoutEngine::intrinsicSpecs(UIView& view, Item& item, std::vector<Spec>& specs)
{
    CGSize size;
    if (item.measuredAtWidth >= 0) {
        auto measured = view.intrinsicContentSizeAtWidth(item.measuredAtWidth);
        if (!measured)
            item.measuredAtWidth = std::nan("");
        size = measured ? *measured : view.intrinsicContentSize();
    } else {
        size = view.intrinsicContentSize();
    }
    item.intrinsic = size;
    auto dimension = [&](Axis axis, Variable variable, CGFloat length, Part hug, Part resist) {
        if (length < 0)
            return;
        Spec hugging {{&view, hug}, view.weak_from_this(), {}, Relation::lessThanOrEqual,
                      strength(view.contentHuggingPriority(axis))};
        hugging.expression.add(variable, 1);
        hugging.expression.constant = -length;
        Spec resisting {{&view, resist}, view.weak_from_this(), hugging.expression, Relation::greaterThanOrEqual,
                        strength(view.contentCompressionResistancePriority(axis))};
        // Content squeezed past nothing is gone, not negative.
        Spec minimum {{&view, resist == Part::resistWidth ? Part::minimumWidth : Part::minimumHeight},
                      view.weak_from_this(), {}, Relation::greaterThanOrEqual, ConstraintSolver::required};
        minimum.expression.add(variable, 1);
        specs.push_back(std::move(hugging));
        specs.push_back(std::move(resisting));
        specs.push_back(std::move(minimum));
    };
    dimension(Axis::horizontal, item.width, size.width, Part::hugWidth, Part::resistWidth);
    dimension(Axis::vertical, item.height, size.height, Part::hugHeight, Part::resistHeight);
}

void LayoutEngine::rootSpecs(std::vector<Spec>& specs)
{
    const Item& item = m_items.at(&m_root);
    CGSize size = m_root.bounds().size;
    double strengths[2];
    if (m_purpose == Purpose::fitting) {
        size = {std::clamp<CGFloat>(m_fittingTarget.width, 0, largestFittingLength),
                std::clamp<CGFloat>(m_fittingTarget.height, 0, largestFittingLength)};
        strengths[0] = strength(m_fittingPriorities[0]);
        strengths[1] = strength(m_fittingPriorities[1]);
    } else {
        strengths[0] = strengths[1] =
            m_root.translatesAutoresizingMaskIntoConstraints() ? ConstraintSolver::required : rootHoldStrength;
    }
    Spec width {{&m_root, Part::rootWidth}, m_root.weak_from_this(), {}, Relation::equal, strengths[0]};
    width.expression.add(item.width, 1);
    width.expression.constant = -size.width;
    Spec height {{&m_root, Part::rootHeight}, m_root.weak_from_this(), {}, Relation::equal, strengths[1]};
    height.expression.add(item.height, 1);
    height.expression.constant = -size.height;
    specs.push_back(std::move(width));
    specs.push_back(std::move(height));
}

} // namespace UIKit
