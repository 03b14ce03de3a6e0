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

using Axis = NSLayoutConstraint::Axis;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "LayoutConstraints");
    return logger;
}

// Multi-line text is measured again at the width it got, which may move it again; a few rounds settle
// every layout we make.
constexpr int maximumWidthPasses = 4;
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
