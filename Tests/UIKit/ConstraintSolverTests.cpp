#include "Platform/UIKit/ConstraintSolver.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using UIKit::ConstraintSolver;
using Relation = ConstraintSolver::Relation;
using Term = ConstraintSolver::Term;

namespace {

constexpr double required = ConstraintSolver::required;

ConstraintSolver::Outcome add(ConstraintSolver& solver, std::vector<Term> terms, double constant, Relation relation,
                              double strength = required)
{
    return solver.add(terms, constant, relation, strength);
}

} // namespace

TEST(ConstraintSolver, SolvesEqualitiesInequalitiesAndWeights)
{
    ConstraintSolver solver;
    auto left = solver.makeVariable();
    auto width = solver.makeVariable();
    auto right = solver.makeVariable();
    // right = left + width, left = 10, width >= 100, width == 50 weakly, right <= 300
    add(solver, {{right, 1}, {left, -1}, {width, -1}}, 0, Relation::equal);
    add(solver, {{left, 1}}, -10, Relation::equal);
    add(solver, {{width, 1}}, -100, Relation::greaterThanOrEqual);
    add(solver, {{width, 1}}, -50, Relation::equal, 1);
    add(solver, {{right, 1}}, -300, Relation::lessThanOrEqual);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(left), 10);
    EXPECT_DOUBLE_EQ(solver.value(width), 100);
    EXPECT_DOUBLE_EQ(solver.value(right), 110);

    // Of two wishes that cannot both hold, the heavier wins whatever order they came in.
    auto wide = add(solver, {{width, 1}}, -250, Relation::equal, 10);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(width), 250);
    add(solver, {{width, 1}}, -150, Relation::equal, 100);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(width), 150);
    solver.remove(wide.constraint);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(width), 150);
    EXPECT_EQ(solver.constraintCount(), 6u);
}

TEST(ConstraintSolver, RefusesAContradictionNamingTheConstraintsInvolved)
{
    ConstraintSolver solver;
    auto x = solver.makeVariable();
    auto y = solver.makeVariable();
    auto xIs10 = add(solver, {{x, 1}}, -10, Relation::equal);
    auto unrelated = add(solver, {{y, 1}}, -5, Relation::greaterThanOrEqual);
    auto xAtMost5 = add(solver, {{x, 1}}, -5, Relation::lessThanOrEqual);
    EXPECT_FALSE(xAtMost5.holds);
    ASSERT_EQ(xAtMost5.conflicting.size(), 2u);
    EXPECT_EQ(xAtMost5.conflicting[0], xAtMost5.constraint);
    EXPECT_EQ(xAtMost5.conflicting[1], xIs10.constraint);
    (void)unrelated;

    // The refused constraint left nothing behind.
    auto xIs20 = add(solver, {{x, 1}}, -20, Relation::equal);
    EXPECT_FALSE(xIs20.holds);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(x), 10);
    EXPECT_DOUBLE_EQ(solver.value(y), 5);
    EXPECT_EQ(solver.constraintCount(), 2u);

    // A redundant equality is fine until its constant disagrees.
    auto alsoX10 = add(solver, {{x, 2}}, -20, Relation::equal);
    EXPECT_TRUE(alsoX10.holds);
    EXPECT_FALSE(solver.setConstant(alsoX10.constraint, -30).holds);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(x), 10);
}

TEST(ConstraintSolver, ChangesConstantsInPlaceAndRollsBackWhatCannotHold)
{
    ConstraintSolver solver;
    auto x = solver.makeVariable();
    auto y = solver.makeVariable();
    auto floor = add(solver, {{x, 1}}, -10, Relation::greaterThanOrEqual);
    add(solver, {{y, 1}, {x, -2}}, 0, Relation::equal);
    add(solver, {{y, 1}}, -100, Relation::lessThanOrEqual);
    add(solver, {{x, 1}}, 0, Relation::equal, 1); // as small as allowed
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(y), 20);

    EXPECT_TRUE(solver.setConstant(floor.constraint, -30).holds);
    EXPECT_DOUBLE_EQ(solver.value(x), 30);
    EXPECT_DOUBLE_EQ(solver.value(y), 60);

    // x >= 60 would need y = 120 > 100: refused, and the previous solution stands.
    auto refused = solver.setConstant(floor.constraint, -60);
    EXPECT_FALSE(refused.holds);
    EXPECT_GE(refused.conflicting.size(), 2u);
    EXPECT_EQ(solver.constant(floor.constraint), -30);
    solver.solve();
    EXPECT_DOUBLE_EQ(solver.value(x), 30);
}

TEST(ConstraintSolver, EditVariablesFollowSuggestions)
{
    ConstraintSolver solver;
    auto width = solver.makeVariable();
    add(solver, {{width, 1}}, -40, Relation::greaterThanOrEqual);
    add(solver, {{width, 1}}, -400, Relation::lessThanOrEqual);
    auto edit = solver.addEditVariable(width, 1000);
    for (double suggestion : {120.0, 10.0, 1000.0, 250.0}) {
        solver.suggestValue(edit, suggestion);
        solver.solve();
        EXPECT_DOUBLE_EQ(solver.value(width), std::clamp(suggestion, 40.0, 400.0));
    }
    solver.remove(edit);
    EXPECT_EQ(solver.constraintCount(), 2u);
}

TEST(ConstraintSolver, ReusesWhatItReleases)
{
    ConstraintSolver solver;
    std::vector<ConstraintSolver::Constraint> constraints;
    for (int round = 0; round < 50; ++round) {
        auto a = solver.makeVariable();
        auto b = solver.makeVariable();
        auto first = add(solver, {{a, 1}}, -round, Relation::equal);
        auto second = add(solver, {{b, 1}, {a, -1}}, -1, Relation::greaterThanOrEqual, 5);
        solver.solve();
        EXPECT_DOUBLE_EQ(solver.value(b), round + 1);
        solver.remove(first.constraint);
        solver.remove(second.constraint);
        solver.releaseVariable(a);
        solver.releaseVariable(b);
    }
    EXPECT_EQ(solver.constraintCount(), 0u);
    EXPECT_LT(solver.makeVariable().id, 10u);
}

namespace {

struct Recorded {
    std::vector<Term> terms;
    double constant;
    Relation relation;
    double strength;
    ConstraintSolver::Constraint handle;
};

double violation(const ConstraintSolver& solver, const Recorded& constraint)
{
    double value = constraint.constant;
    for (const auto& term : constraint.terms)
        value += term.coefficient * solver.value(term.variable);
    switch (constraint.relation) {
    case Relation::lessThanOrEqual:
        return std::max(value, 0.0);
    case Relation::greaterThanOrEqual:
        return std::max(-value, 0.0);
    case Relation::equal:
        break;
    }
    return std::abs(value);
}

double objective(const ConstraintSolver& solver, const std::vector<Recorded>& constraints)
{
    double total = 0;
    for (const auto& constraint : constraints)
        if (constraint.strength != required)
            total += constraint.strength * violation(solver, constraint);
    return total;
}

} // namespace

TEST(ConstraintSolver, ChangedStepByStepItAgreesWithASolverBuiltAfresh)
{
    std::mt19937 random(20260101);
    auto pick = [&](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    for (int round = 0; round < 400; ++round) {
        ConstraintSolver solver;
        std::vector<ConstraintSolver::Variable> variables;
        for (int i = 0; i < 6; ++i)
            variables.push_back(solver.makeVariable());
        std::vector<Recorded> live;
        for (int step = 0; step < 40; ++step) {
            const int action = pick(10);
            if (action < 6 || live.empty()) {
                Recorded made;
                const int count = 1 + pick(3);
                for (int i = 0; i < count; ++i)
                    made.terms.push_back({variables[static_cast<std::size_t>(pick(6))], static_cast<double>(pick(5) - 2)});
                made.constant = pick(200) - 100;
                made.relation = static_cast<Relation>(pick(3));
                made.strength = pick(3) == 0 ? required : std::pow(10.0, pick(9));
                auto outcome = solver.add(made.terms, made.constant, made.relation, made.strength);
                if (outcome.holds) {
                    made.handle = outcome.constraint;
                    live.push_back(made);
                } else {
                    EXPECT_EQ(made.strength, required);
                }
            } else if (action < 8) {
                auto index = static_cast<std::size_t>(pick(static_cast<int>(live.size())));
                solver.remove(live[index].handle);
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(index));
            } else {
                auto& changed = live[static_cast<std::size_t>(pick(static_cast<int>(live.size())))];
                if (solver.setConstant(changed.handle, pick(200) - 100).holds)
                    changed.constant = solver.constant(changed.handle);
                EXPECT_EQ(solver.constant(changed.handle), changed.constant);
            }
            solver.solve();
            for (const auto& constraint : live) {
                if (constraint.strength == required) {
                    ASSERT_LT(violation(solver, constraint), 1e-6) << "round " << round << " step " << step;
                }
            }

            ConstraintSolver fresh;
            std::vector<ConstraintSolver::Variable> freshVariables;
            for (int i = 0; i < 6; ++i)
                freshVariables.push_back(fresh.makeVariable());
            std::vector<Recorded> rebuilt = live;
            for (auto& constraint : rebuilt) {
                for (auto& term : constraint.terms)
                    term.variable = freshVariables[static_cast<std::size_t>(
                        std::find(variables.begin(), variables.end(), term.variable) - variables.begin())];
                ASSERT_TRUE(fresh.add(constraint.terms, constraint.constant, constraint.relation, constraint.strength).holds);
            }
            fresh.solve();
            const double expected = objective(fresh, rebuilt);
            // Weights span eight orders of magnitude: rounding shows at a billionth of the heaviest.
            double weights = 0;
            for (const auto& constraint : live)
                weights += constraint.strength == required ? 0 : constraint.strength;
            ASSERT_NEAR(objective(solver, live), expected, 1e-3 + 1e-6 * expected + 1e-12 * weights)
                << "round " << round << " step " << step;
        }
    }
}

TEST(ConstraintSolver, WorkPastTheLimitIsAFailureNotAHang)
{
    ConstraintSolver solver;
    solver.limitWork(200);
    std::vector<ConstraintSolver::Variable> chain {solver.makeVariable()};
    auto grow = [&] {
        for (int i = 0; i < 100; ++i) {
            chain.push_back(solver.makeVariable());
            add(solver, {{chain.back(), 1}, {chain[chain.size() - 2], -1}}, -1, Relation::greaterThanOrEqual);
            add(solver, {{chain.back(), 1}}, -5.0 * i, Relation::equal, 1);
        }
        solver.solve();
    };
    EXPECT_THROW(grow(), ConstraintSolver::Failure);

    // Without a limit the same system solves.
    ConstraintSolver unlimited;
    std::swap(solver, unlimited);
    chain = {solver.makeVariable()};
    EXPECT_NO_THROW(grow());
}
