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

using Attribute = NSLayoutConstraint::Attribute;
using Axis = NSLayoutConstraint::Axis;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "LayoutConstraints");
    return logger;
}

// Multi-line text is measured again at the width it got, which may move it again; a few rounds settle
// every layout we make.
constexpr int maximumWidthPasses = 4;
// The topmost view keeps its size against every optional constraint; a required one may still move
// it when the view does not translate its autoresizing mask.
constexpr double rootHoldStrength = 1e11;
// Sizes past this are taken as "as large as it gets".
constexpr CGFloat largestFittingLength = 1e7;
// What a layout pass may ask of the solver, in row entries rewritten: a second or two of work, far past
// any window's needs, so that no system holds the program up for longer.
constexpr std::uint64_t workLimit = 1'000'000'000;
// A required constraint off by more than this is broken, not rounded.
constexpr double brokenTolerance = 0.01;

double snap(double value)
{
    // Solutions come out of divisions; a value a rounding error away from a clean one is that one.
    double clean = std::round(value * 4096) / 4096;
    return std::abs(value - clean) < 1e-6 ? clean + 0.0 : value;
}

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

void canonicalize(std::vector<ConstraintSolver::Term>& terms)
{
    std::sort(terms.begin(), terms.end(), [](const auto& a, const auto& b) { return a.variable.id < b.variable.id; });
    std::size_t out = 0;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (out > 0 && terms[out - 1].variable == terms[i].variable)
            terms[out - 1].coefficient += terms[i].coefficient;
        else
            terms[out++] = terms[i];
    }
    terms.resize(out);
    std::erase_if(terms, [](const auto& term) { return std::abs(term.coefficient) < 1e-12; });
}

bool sameTerms(const std::vector<ConstraintSolver::Term>& lhs, const std::vector<ConstraintSolver::Term>& rhs)
{
    return std::equal(lhs.begin(), lhs.end(), rhs.begin(), rhs.end(), [](const auto& a, const auto& b) {
        return a.variable == b.variable && a.coefficient == b.coefficient;
    });
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

std::string name(const Foundation::NSObject& object)
{
    std::ostringstream text;
    text << object.className() << ":" << static_cast<const void*>(&object);
    return text.str();
}

std::string number(double value)
{
    std::ostringstream text;
    text << snap(value);
    return text.str();
}

} // namespace

std::size_t LayoutEngine::KeyHash::operator()(const Key& key) const
{
    return std::hash<const void*>()(key.object) ^ (static_cast<std::size_t>(key.part) * 0x9e3779b97f4a7c15ULL);
}

void LayoutEngine::Linear::add(const Linear& other, double factor)
{
    for (const auto& term : other.terms)
        terms.push_back({term.variable, term.coefficient * factor});
    constant += other.constant * factor;
}

LayoutEngine::LayoutEngine(UIView& root, Purpose purpose)
    : m_root(root)
    , m_purpose(purpose)
    , m_fittingPriorities {UILayoutPriority::fittingSizeLevel(), UILayoutPriority::fittingSizeLevel()}
{
}

LayoutEngine::~LayoutEngine()
{
    if (m_purpose != Purpose::layout)
        return;
    for (auto& [object, item] : m_items) {
        if (auto view = std::dynamic_pointer_cast<const UIView>(item.object.lock()))
            const_cast<UIView&>(*view).m_takesPartInLayout = false;
    }
}

double LayoutEngine::strength(UILayoutPriority priority)
{
    if (priority >= UILayoutPriority::required())
        return ConstraintSolver::required;
    double level = std::clamp<double>(priority.rawValue, 1.0, 999.999);
    return std::pow(10.0, 9.0 * (level - 1.0) / 998.0);
}

void LayoutEngine::constraintDidChange(const NSLayoutConstraint& constraint)
{
    if (!m_needsRebuild)
        m_changedConstraints.push_back(&constraint);
}

void LayoutEngine::viewDidChange(const UIView& view)
{
    if (!m_needsRebuild && !m_isApplying)
        m_changedViews.push_back(&view);
}

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

// --- Keeping the solver in step ----------------------------------------------------------------

void LayoutEngine::rebuild()
{
    ++m_generation;
    m_needsRebuild = false;
    m_changedConstraints.clear();
    m_changedViews.clear();

    std::vector<UIView*> views;
    std::vector<std::pair<NSLayoutConstraint*, UIView*>> constraints;
    for (std::vector<UIView*> pending {&m_root}; !pending.empty();) {
        UIView* view = pending.back();
        pending.pop_back();
        views.push_back(view);
        for (const auto& constraint : view->constraints())
            constraints.emplace_back(constraint.get(), view);
        for (auto subview = view->subviews().rbegin(); subview != view->subviews().rend(); ++subview)
            pending.push_back(subview->get());
    }
    for (UIView* view : views) {
        if (m_purpose == Purpose::layout)
            view->m_layoutUsesBoundsOrigin = false;
        if (view == &m_root || !view->translatesAutoresizingMaskIntoConstraints())
            markView(*view);
    }
    for (auto [constraint, space] : constraints)
        markItemsOf(*constraint, *space);

    // What the views ask for comes first, so that a constraint that contradicts it is the one refused.
    std::vector<Spec> specs;
    rootSpecs(specs);
    m_wrapping.clear();
    for (UIView* view : views) {
        auto found = m_items.find(view);
        if (found == m_items.end() || found->second.seen != m_generation)
            continue;
        viewSpecs(*view, specs);
        if (!std::isnan(found->second.measuredAtWidth) && found->second.intrinsic.width >= 0 && measuresIntrinsically(*view))
            m_wrapping.push_back(view);
    }
    for (auto [constraint, space] : constraints) {
        if (auto spec = specFor(*constraint))
            specs.push_back(std::move(*spec));
    }

    // What is gone leaves first, so that it cannot stand in the way of what replaces it.
    for (const Spec& spec : specs) {
        if (auto found = m_entries.find(spec.key); found != m_entries.end())
            found->second.seen = m_generation;
    }
    std::vector<std::pair<std::uint64_t, Key>> gone;
    for (const auto& [key, entry] : m_entries) {
        if (entry.seen != m_generation)
            gone.emplace_back(entry.order, key);
    }
    std::sort(gone.begin(), gone.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [order, key] : gone) {
        auto found = m_entries.find(key);
        drop(found->second);
        m_entries.erase(found);
        m_entriesChanged = true;
    }
    for (Spec& spec : specs)
        apply(spec);
    for (auto item = m_items.begin(); item != m_items.end();) {
        if (item->second.seen == m_generation) {
            ++item;
            continue;
        }
        if (item->second.hasOrigin) {
            m_solver.releaseVariable(item->second.x);
            m_solver.releaseVariable(item->second.y);
        }
        m_solver.releaseVariable(item->second.width);
        m_solver.releaseVariable(item->second.height);
        if (m_purpose == Purpose::layout) {
            if (auto view = std::dynamic_pointer_cast<const UIView>(item->second.object.lock()))
                const_cast<UIView&>(*view).m_takesPartInLayout = false;
        }
        item = m_items.erase(item);
    }
}

void LayoutEngine::apply(Spec& spec)
{
    canonicalize(spec.expression.terms);
    auto [found, inserted] = m_entries.try_emplace(spec.key);
    Entry& entry = found->second;
    entry.seen = m_generation;
    if (inserted) {
        entry.order = m_nextOrder++;
        m_entriesChanged = true;
    }
    const bool same = !inserted && sameObject(entry.owner, spec.owner) && entry.relation == spec.relation
        && entry.strength == spec.strength && sameTerms(entry.terms, spec.expression.terms);
    if (same) {
        if (entry.constant == spec.expression.constant)
            return;
        if (entry.inSolver) {
            auto outcome = m_solver.setConstant(entry.handle, spec.expression.constant);
            entry.constant = spec.expression.constant;
            if (!outcome.holds) {
                drop(entry);
                refuse(spec.key, entry, outcome.conflicting);
            }
            return;
        }
        // A refused constraint that changed is given another chance.
    } else if (!inserted) {
        drop(entry);
    }
    entry.owner = spec.owner;
    entry.terms = std::move(spec.expression.terms);
    entry.constant = spec.expression.constant;
    entry.relation = spec.relation;
    entry.strength = spec.strength;
    auto outcome = m_solver.add(entry.terms, entry.constant, entry.relation, entry.strength);
    if (outcome.holds) {
        entry.handle = outcome.constraint;
        entry.inSolver = true;
        m_keysByHandle[entry.handle.id] = spec.key;
    } else {
        entry.inSolver = false;
        refuse(spec.key, entry, outcome.conflicting);
    }
}

void LayoutEngine::refuse(const Key& key, Entry& entry, const std::vector<ConstraintSolver::Constraint>& conflicting)
{
    // A change made in place meets the constraints in whatever order the changes came, and a constraint
    // refused earlier may fit now: only a layout from nothing knows which one a fresh layout refuses.
    if (!m_afresh) {
        m_needsAfresh = true;
        return;
    }
    m_refusedNow = true;
    auto before = m_refused.find(key);
    if (before == m_refused.end() || before->second != entry.constant)
        reportConflict(key, conflicting);
}

void LayoutEngine::drop(Entry& entry)
{
    if (!entry.inSolver)
        return;
    m_solver.remove(entry.handle);
    m_keysByHandle.erase(entry.handle.id);
    entry.inSolver = false;
}

std::string LayoutEngine::describe(const Key& key) const
{
    auto found = m_entries.find(key);
    auto owner = found == m_entries.end() ? nullptr : found->second.owner.lock();
    if (!owner)
        return "<a constraint that no longer exists>";
    if (key.part == Part::constraint)
        return owner->description();
    const Entry& entry = found->second;
    const std::string value = number(-entry.constant);
    const std::string relation = entry.relation == Relation::lessThanOrEqual ? " <= "
        : entry.relation == Relation::greaterThanOrEqual                     ? " >= "
                                                                             : " == ";
    const auto& view = static_cast<const UIView&>(*owner);
    switch (key.part) {
    case Part::maskX:
    case Part::maskY:
    case Part::maskWidth:
    case Part::maskHeight: {
        static const char* names[] = {"minX", "minY", "width", "height"};
        const char* attribute = names[static_cast<int>(key.part) - static_cast<int>(Part::maskX)];
        return "<NSAutoresizingMaskLayoutConstraint " + name(view) + "." + attribute + " == " + value + "   (active)>";
    }
    case Part::hugWidth:
    case Part::resistWidth:
    case Part::hugHeight:
    case Part::resistHeight: {
        const bool width = key.part == Part::hugWidth || key.part == Part::resistWidth;
        const bool hug = key.part == Part::hugWidth || key.part == Part::hugHeight;
        const auto axis = width ? Axis::horizontal : Axis::vertical;
        const auto priority = hug ? view.contentHuggingPriority(axis) : view.contentCompressionResistancePriority(axis);
        return "<NSContentSizeLayoutConstraint " + name(view) + (width ? ".width" : ".height") + relation + value
            + (hug ? " Hug:" : " CompressionResistance:") + number(priority.rawValue) + "   (active)>";
    }
    case Part::minimumWidth:
    case Part::minimumHeight:
        return "<NSContentSizeLayoutConstraint " + name(view) + (key.part == Part::minimumWidth ? ".width" : ".height")
            + " >= 0   (active)>";
    case Part::rootWidth:
    case Part::rootHeight: {
        const bool width = key.part == Part::rootWidth;
        return std::string("<") + (m_purpose == Purpose::fitting ? "UIView-Fitting-" : "UIView-Encapsulated-Layout-")
            + (width ? "Width " : "Height ") + name(view) + (width ? ".width" : ".height") + " == " + value
            + "   (active)>";
    }
    case Part::constraint:
        break;
    }
    return owner->description();
}

void LayoutEngine::reportConflict(const Key& refused, const std::vector<ConstraintSolver::Constraint>& conflicting)
{
    std::string message = "Unable to simultaneously satisfy constraints.\n"
                          "\tProbably at least one of the constraints in the following list is one you don't want.\n"
                          "(\n";
    for (std::size_t i = 0; i < conflicting.size(); ++i) {
        Key key = refused;
        if (i > 0) {
            auto found = m_keysByHandle.find(conflicting[i].id);
            if (found == m_keysByHandle.end())
                continue;
            key = found->second;
        }
        message += "    \"" + describe(key) + "\"" + (i + 1 < conflicting.size() ? ",\n" : "\n");
    }
    message += ")\n\nWill attempt to recover by breaking constraint \n" + describe(refused);
    log().error("%{public}@", message);
}

double LayoutEngine::value(Variable variable) const
{
    return snap(m_solver.value(variable));
}

void LayoutEngine::solve()
{
    m_solver.solve();
    // Text that wraps is as tall as the width it got makes it; that may move things again.
    for (int pass = 0; pass < maximumWidthPasses; ++pass) {
        bool changed = false;
        for (auto wrapping = m_wrapping.begin(); wrapping != m_wrapping.end();) {
            UIView& view = **wrapping;
            Item& item = m_items.at(&view);
            const CGFloat width = std::max(0.0, value(item.width));
            // No room at all (a hidden view) says nothing about the lines its text needs; measured there,
            // it would keep asking for no more width once it shows again.
            if (width == item.measuredAtWidth || width <= 0) {
                ++wrapping;
                continue;
            }
            auto measured = view.intrinsicContentSizeAtWidth(width);
            if (!measured) {
                item.measuredAtWidth = std::nan("");
                wrapping = m_wrapping.erase(wrapping);
                continue;
            }
            item.measuredAtWidth = width;
            if (*measured != item.intrinsic) {
                std::vector<Spec> specs;
                intrinsicSpecs(view, item, specs);
                for (Spec& spec : specs)
                    apply(spec);
                changed = true;
            }
            ++wrapping;
        }
        if (!changed)
            break;
        m_solver.solve();
    }
}

void LayoutEngine::applyChanges()
{
    auto constraints = std::move(m_changedConstraints);
    auto views = std::move(m_changedViews);
    m_changedConstraints.clear();
    m_changedViews.clear();
    for (const NSLayoutConstraint* constraint : constraints) {
        if (auto spec = specFor(*constraint))
            apply(*spec);
    }
    for (const UIView* changed : views) {
        auto found = m_items.find(changed);
        if (found == m_items.end() || found->second.seen != m_generation)
            continue;
        std::vector<Spec> specs;
        auto& view = const_cast<UIView&>(*changed);
        Item& item = found->second;
        if (changed == &m_root)
            rootSpecs(specs);
        // What it measures may now depend on the width where it did not before.
        if (std::isnan(item.measuredAtWidth))
            item.measuredAtWidth = -1;
        viewSpecs(view, specs);
        for (Spec& spec : specs)
            apply(spec);
        if (measuresIntrinsically(view) && item.intrinsic.width >= 0
            && std::find(m_wrapping.begin(), m_wrapping.end(), &view) == m_wrapping.end())
            m_wrapping.push_back(&view);
    }
}

void LayoutEngine::forgetSolver()
{
    if (m_purpose == Purpose::layout) {
        for (auto& [object, item] : m_items) {
            if (auto view = std::dynamic_pointer_cast<const UIView>(item.object.lock()))
                const_cast<UIView&>(*view).m_takesPartInLayout = false;
        }
    }
    m_solver = ConstraintSolver();
    m_entries.clear();
    m_entriesChanged = true;
    m_checkedAtSubstitution = std::numeric_limits<std::uint64_t>::max();
    m_keysByHandle.clear();
    m_items.clear();
    m_wrapping.clear();
    m_changedConstraints.clear();
    m_changedViews.clear();
}

void LayoutEngine::startAfresh()
{
    forgetSolver();
    m_solver.limitWork(workLimit);
    m_refusedNow = false;
    m_afresh = true;
    m_needsAfresh = false;
    rebuild();
}

const std::vector<std::pair<LayoutEngine::Key, LayoutEngine::Entry*>>& LayoutEngine::allEntries()
{
    // Entries stay where they are in the map while others come and go, so the list is made again only
    // when the entries changed, not at every layout.
    if (m_entriesChanged) {
        m_allEntries.clear();
        m_allEntries.reserve(m_entries.size());
        for (auto& [key, entry] : m_entries)
            m_allEntries.emplace_back(key, &entry);
        m_entriesChanged = false;
    }
    return m_allEntries;
}

std::optional<std::pair<LayoutEngine::Key, double>> LayoutEngine::brokenRequirement()
{
    std::optional<std::pair<Key, double>> worst;
    std::uint64_t worstOrder = 0;
    for (const auto& [key, entry] : allEntries()) {
        if (!entry->inSolver || entry->strength != ConstraintSolver::required)
            continue;
        double value = entry->constant;
        for (const Term& term : entry->terms)
            value += term.coefficient * m_solver.value(term.variable);
        const double error = entry->relation == Relation::equal ? std::abs(value)
            : entry->relation == Relation::lessThanOrEqual      ? std::max(0.0, value)
                                                                : std::max(0.0, -value);
        if (!(error <= brokenTolerance) && (!worst || error > worst->second || (error == worst->second && entry->order < worstOrder))) {
            worst = {key, error};
            worstOrder = entry->order;
        }
    }
    return worst;
}

void LayoutEngine::reportNewRefusals()
{
    if (m_refused.empty() && !m_refusedNow)
        return;
    m_refused.clear();
    for (const auto& [key, entry] : allEntries()) {
        if (!entry->inSolver)
            m_refused.emplace(key, entry->constant);
    }
}

void LayoutEngine::update()
{
    try {
        // A first layout is a fresh one already.
        m_afresh = m_needsRebuild && m_entries.empty() && m_items.empty();
        m_needsAfresh = false;
        m_refusedNow = false;
        m_solver.limitWork(workLimit);
        if (m_needsRebuild)
            rebuild();
        else
            applyChanges();
        // A constraint refused before may hold now.
        if (m_needsAfresh || !m_refused.empty())
            startAfresh();
        solve();
        if (m_needsAfresh) {
            startAfresh();
            solve();
        }
        // Only rewriting the tableau can let rounding build up; a change of constants alone moves
        // everything by exact sums.
        if (m_solver.substitutions() != m_checkedAtSubstitution) {
            if (auto broken = brokenRequirement()) {
                // Rounding that has built up over many changes; a new solver starts without it.
                log().error("Layout broke a required constraint by %{public}@ points, so it is laid out afresh: %{public}@",
                            number(broken->second), describe(broken->first));
                if (!m_afresh) {
                    startAfresh();
                    solve();
                    broken = brokenRequirement();
                }
                if (broken)
                    log().fault("A fresh layout still breaks a required constraint by %{public}@ points: %{public}@",
                                number(broken->second), describe(broken->first));
            }
            m_checkedAtSubstitution = m_solver.substitutions();
        }
        m_solver.limitWork(std::nullopt);
        m_afresh = false;
        reportNewRefusals();
    } catch (const ConstraintSolver::Failure& failure) {
        // An arithmetic accident or a system past what a layout pass may take: start over with the next
        // change, keeping the frames as they are.
        log().fault("The layout engine gave up, keeping the frames as they were: %{public}@", std::string(failure.reason));
        forgetSolver();
        m_refused.clear();
        m_needsRebuild = false;
        m_afresh = false;
        m_failed = true;
        return;
    }
    m_failed = false;
    markChangedFrames();
}

std::optional<CGRect> LayoutEngine::frame(const UIView& view) const
{
    const Item* item = findItem(&view);
    if (!item || !item->hasOrigin || item->kind != ItemKind::view || m_failed)
        return std::nullopt;
    return CGRect {value(item->x), value(item->y), std::max(0.0, value(item->width)), std::max(0.0, value(item->height))};
}

void LayoutEngine::markChangedFrames()
{
    if (m_purpose != Purpose::layout)
        return;
    for (auto& [object, item] : m_items) {
        if (item.seen != m_generation)
            continue;
        auto locked = item.object.lock();
        if (!locked)
            continue;
        if (item.kind == ItemKind::contentGuide) {
            auto owner = static_cast<const UILayoutGuide&>(*locked).owningView();
            const auto* scrollView = dynamic_cast<const UIScrollView*>(owner.get());
            if (scrollView && scrollView->contentSize() != CGSize {value(item.width), value(item.height)}) {
                owner->setNeedsLayout();
                ++m_markedForLayout;
            }
            continue;
        }
        if (item.kind != ItemKind::view || !item.hasOrigin)
            continue;
        const auto& view = static_cast<const UIView&>(*locked);
        if (view.translatesAutoresizingMaskIntoConstraints())
            continue;
        if (auto solved = frame(view); solved && *solved != view.frame()) {
            if (auto superview = view.superview()) {
                superview->setNeedsLayout();
                ++m_markedForLayout;
            }
        }
    }
    if (!m_root.translatesAutoresizingMaskIntoConstraints()) {
        const Item& root = m_items.at(&m_root);
        CGSize size {std::max(0.0, value(root.width)), std::max(0.0, value(root.height))};
        if (size != m_root.bounds().size) {
            Applying applying(*this);
            m_root.setBounds({m_root.bounds().origin, size});
        }
    }
}

void LayoutEngine::apply(UIView& view)
{
    if (needsUpdate())
        update();
    if (m_failed)
        return;
    Applying applying(*this);
    for (auto subviews = view.subviews(); const auto& subview : subviews) {
        if (subview->translatesAutoresizingMaskIntoConstraints())
            continue;
        if (auto solved = frame(*subview); solved && *solved != subview->frame())
            subview->setFrame(*solved);
    }
    if (auto* scrollView = dynamic_cast<UIScrollView*>(&view); scrollView && scrollView->m_contentLayoutGuide) {
        const Item* content = findItem(scrollView->m_contentLayoutGuide.get());
        if (content && content->seen == m_generation) {
            CGSize size {std::max(0.0, value(content->width)), std::max(0.0, value(content->height))};
            if (size != scrollView->contentSize())
                scrollView->setContentSize(size);
        }
    }
}

CGSize LayoutEngine::fittingSize(CGSize target, UILayoutPriority horizontal, UILayoutPriority vertical)
{
    m_fittingTarget = target;
    m_fittingPriorities[0] = horizontal;
    m_fittingPriorities[1] = vertical;
    m_needsRebuild = true;
    update();
    if (m_failed)
        return m_root.bounds().size;
    const Item& root = m_items.at(&m_root);
    return {std::max(0.0, value(root.width)), std::max(0.0, value(root.height))};
}

} // namespace UIKit
