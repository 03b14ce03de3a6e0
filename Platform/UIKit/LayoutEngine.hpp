#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/ConstraintSolver.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Foundation {
class NSObject;
}

namespace UIKit {

class UILayoutGuide;
class UIView;

// Turns a tree of views into one system for the solver and reads frames back. Each view that takes part
// (it does not translate its autoresizing mask, a constraint names it, or it holds one that does) gets a
// frame of four variables in its superview's bounds coordinates; its constraints, its autoresizing mask,
// its intrinsic size and the size of the tree's topmost view become constraints on them. The engine of a
// tree lives on its topmost view and follows changes without starting over: a changed constant is
// changed in the solver, a change to the tree's shape compares everything with what the solver holds.
// Fitting uses a short-lived engine on the view it measures.
class LayoutEngine {
public:
    enum class Purpose : std::uint8_t { layout, fitting };

    LayoutEngine(UIView& root, Purpose purpose);
    ~LayoutEngine();
    LayoutEngine(const LayoutEngine&) = delete;
    LayoutEngine& operator=(const LayoutEngine&) = delete;

    // A view or constraint came or went, or something every constraint may depend on changed.
    void setNeedsRebuild() { m_needsRebuild = true; }
    void constraintDidChange(const NSLayoutConstraint& constraint);
    // The frame, autoresizing mask, intrinsic size or its priorities of a view that takes part.
    void viewDidChange(const UIView& view);
    bool needsUpdate() const { return m_needsRebuild || !m_changedConstraints.empty() || !m_changedViews.empty(); }
    // True while the engine sets frames itself; what that moves follows from the solution already.
    bool isApplying() const { return m_isApplying; }
    // Counts the views the engine marked for layout, so that a layout pass can tell it has more to do.
    std::uint64_t markedForLayout() const { return m_markedForLayout; }

    // Brings the solution up to date and marks for layout the superview of every view whose frame it
    // changes.
    void update();
    // Gives the subviews of `view` (and a scroll view its content size) what the solution says.
    void apply(UIView& view);
    // The solved frame of a view that takes part, in its superview's bounds coordinates.
    std::optional<CGRect> frame(const UIView& view) const;

    // The size the root takes with its width and height held to the target as strongly as the
    // priorities say.
    CGSize fittingSize(CGSize target, UILayoutPriority horizontal, UILayoutPriority vertical);

    // How strongly an optional priority weighs in the solution: each priority weighs a little more than
    // the one below it, and 999 outweighs 1 a billion times, so a higher priority wins unless the lower
    // one is broken by far more points.
    static double strength(UILayoutPriority priority);

private:
    using Variable = ConstraintSolver::Variable;
    using Term = ConstraintSolver::Term;
    using Relation = ConstraintSolver::Relation;
    using Owner = std::weak_ptr<const Foundation::NSObject>;

    enum class Part : std::uint32_t {
        constraint,
        maskX,
        maskY,
        maskWidth,
        maskHeight,
        hugWidth,
        hugHeight,
        resistWidth,
        resistHeight,
        minimumWidth,
        minimumHeight,
        rootWidth,
        rootHeight,
    };
    struct Key {
        const void* object;
        Part part;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Linear {
        std::vector<Term> terms;
        double constant = 0;
        void add(Variable variable, double coefficient) { terms.push_back({variable, coefficient}); }
        void add(const Linear& other, double factor);
    };
    struct Rect {
        Linear x;
        Linear y;
        Linear width;
        Linear height;
    };
    struct Spec {
        Key key;
        Owner owner;
        Linear expression;
        Relation relation;
        double strength;
    };
    struct Entry {
        Owner owner;
        std::vector<Term> terms;
        double constant = 0;
        Relation relation = Relation::equal;
        double strength = 0;
        ConstraintSolver::Constraint handle;
        bool inSolver = false;
        std::uint64_t seen = 0;
        // When the entry was first made: the order in which entries leave the solver, so that the
        // solution does not depend on where in memory their objects live.
        std::uint64_t order = 0;
    };
    enum class GuideKind : std::uint8_t { margins, safeArea, content, frame, custom };
    static GuideKind guideKind(const UILayoutGuide& guide, const UIView& owner);
    enum class ItemKind : std::uint8_t { view, guide, contentGuide };
    // A view or a layout guide with variables of its own.
    struct Item {
        Owner object;
        ItemKind kind = ItemKind::view;
        bool hasOrigin = false;
        Variable x, y, width, height;
        std::uint64_t seen = 0;
        // Intrinsic size as last given to the solver, and the width it was measured at for content that
        // wraps (-1: not measured at a width; NaN: its size does not depend on the width).
        CGSize intrinsic {-1, -1};
        CGFloat measuredAtWidth = -1;
    };

    // Marks the engine as setting frames for as long as it lives.
    struct Applying {
        explicit Applying(LayoutEngine& engine)
            : m_engine(engine)
            , m_previous(engine.m_isApplying)
        {
            engine.m_isApplying = true;
        }
        ~Applying() { m_engine.m_isApplying = m_previous; }
        Applying(const Applying&) = delete;
        Applying& operator=(const Applying&) = delete;

    private:
        LayoutEngine& m_engine;
        bool m_previous;
    };

    void rebuild();
    void applyChanges();
    // Lays out in a new solver, everything added in the order of a first layout: what a change could
    // not settle in place (a refusal, or one still standing) is decided as a fresh layout decides it.
    void startAfresh();
    void forgetSolver();
    const std::vector<std::pair<Key, Entry*>>& allEntries();
    // The worst-broken required constraint the solver holds, if any breaks by more than rounding.
    std::optional<std::pair<Key, double>> brokenRequirement();
    void reportNewRefusals();
    Item& itemFor(const Foundation::NSObject& object, ItemKind kind, bool hasOrigin);
    const Item* findItem(const void* object) const;
    void markView(UIView& view);
    void markItemsOf(const NSLayoutConstraint& constraint, const UIView& space);

    // Expressions. Reading a view's bounds origin makes scrolling it a change to the tree.
    void usesBoundsOrigin(const UIView& view) const;
    Rect rectOf(const Foundation::NSObject& item, const UIView& space) const;
    Linear attributeOf(const Foundation::NSObject& item, NSLayoutConstraint::Attribute attribute, const UIView& space,
                       const Foundation::NSObject* other) const;
    std::pair<Linear, Linear> offsetOf(const UIView& view, const UIView& space) const;
    bool usesContentArea(const Foundation::NSObject& item, const UIView& space, const Foundation::NSObject* other) const;
    std::optional<Spec> specFor(const NSLayoutConstraint& constraint) const;
    bool measuresIntrinsically(const UIView& view) const;
    void viewSpecs(UIView& view, std::vector<Spec>& specs);
    void intrinsicSpecs(UIView& view, Item& item, std::vector<Spec>& specs);
    void rootSpecs(std::vector<Spec>& specs);

    // The solver's side.
    void apply(Spec& spec);
    void drop(Entry& entry);
    void refuse(const Key& key, Entry& entry, const std::vector<ConstraintSolver::Constraint>& conflicting);
    void reportConflict(const Key& refused, const std::vector<ConstraintSolver::Constraint>& conflicting);
    std::string describe(const Key& key) const;
    void solve();
    double value(Variable variable) const;
    void markChangedFrames();

    UIView& m_root;
    Purpose m_purpose;
    ConstraintSolver m_solver;
    std::unordered_map<Key, Entry, KeyHash> m_entries;
    std::unordered_map<std::uint32_t, Key> m_keysByHandle;
    std::unordered_map<const void*, Item> m_items;
    // The constraints refused by the last layout, with the constant each was refused at: a refusal is
    // reported once, not at every layout that keeps it.
    std::unordered_map<Key, double, KeyHash> m_refused;
    std::uint64_t m_nextOrder = 0;
    std::vector<std::pair<Key, Entry*>> m_allEntries;
    bool m_entriesChanged = true;
    // Refused in the fresh layout of this pass.
    bool m_refusedNow = false;
    std::uint64_t m_checkedAtSubstitution = std::numeric_limits<std::uint64_t>::max();
    std::vector<const NSLayoutConstraint*> m_changedConstraints;
    std::vector<const UIView*> m_changedViews;
    // Views whose intrinsic size may depend on the width they get.
    std::vector<UIView*> m_wrapping;
    std::uint64_t m_generation = 0;
    bool m_needsRebuild = true;
    bool m_isApplying = false;
    bool m_failed = false;
    // Set while laying out in a new solver: refusals are final. Otherwise a refusal asks for that.
    bool m_afresh = false;
    bool m_needsAfresh = false;
    std::uint64_t m_markedForLayout = 0;
    CGSize m_fittingTarget;
    UILayoutPriority m_fittingPriorities[2];
};

} // namespace UIKit
