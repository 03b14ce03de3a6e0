#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <queue>
#include <span>
#include <vector>

namespace UIKit {

// The layout engine's arithmetic: an incremental simplex over linear equalities and inequalities in the
// manner of Cassowary. Required constraints always hold; optional ones carry a weight, and the solution
// minimises the sum of each optional constraint's error times its weight. Constraints come and go and
// constants change without starting over, so a window that changes one thing re-solves in a few pivots.
// Every loop is bounded: a solver that would run past its bound throws `ConstraintSolver::Failure`
// instead of spinning.
class ConstraintSolver {
public:
    struct Variable {
        std::uint32_t id = 0;
        friend bool operator==(Variable, Variable) = default;
    };
    struct Constraint {
        std::uint32_t id = 0;
        friend bool operator==(Constraint, Constraint) = default;
    };
    enum class Relation : std::uint8_t { lessThanOrEqual, equal, greaterThanOrEqual };
    struct Term {
        Variable variable;
        double coefficient = 1;
    };
    // A constraint's strength: required, or a positive weight.
    static constexpr double required = std::numeric_limits<double>::infinity();

    // What adding a constraint or changing a constant gave.
    struct Outcome {
        bool holds = true;
        Constraint constraint;
        // When a required constraint cannot hold: it and the required constraints it contradicts.
        std::vector<Constraint> conflicting;
    };

    struct Failure {
        const char* reason;
    };

    ConstraintSolver();

    Variable makeVariable();
    // The variable must no longer appear in any constraint; its number is used again.
    void releaseVariable(Variable variable);

    // Adds `Σ terms + constant  relation  0`. A required constraint that contradicts the required ones
    // already added is not added: the outcome names the conflict and the solver is as it was.
    Outcome add(std::span<const Term> terms, double constant, Relation relation, double strength);
    void remove(Constraint constraint);
    bool contains(Constraint constraint) const;
    // Changes a constraint's constant in place. When a required constraint could then no longer hold,
    // nothing changes and the outcome names the conflict.
    Outcome setConstant(Constraint constraint, double constant);
    double constant(Constraint constraint) const;

    // Edit variables: a value the solution should take, as strongly as the strength says, changed by
    // suggesting values. Strengths of edit variables are optional.
    Constraint addEditVariable(Variable variable, double strength);
    void suggestValue(Constraint edit, double value);

    // Brings the solution up to date; values read afterwards are the optimum.
    void solve();
    double value(Variable variable) const;

    std::size_t constraintCount() const { return m_liveConstraints; }

    // Bounds the work of everything the solver does from now on, in row entries rewritten, so that no
    // system, however dense or ill-conditioned, holds up a layout pass: past it, each call throws
    // `Failure`. No argument removes the bound.
    void limitWork(std::optional<std::uint64_t> rowEntries);
    // How many times a symbol has been replaced throughout the tableau, where rounding can build up.
    std::uint64_t substitutions() const { return m_substitutions; }

private:
    using Symbol = std::uint32_t;
    enum class Kind : std::uint8_t { free, row, external, slack, error, dummy };
    struct Cell {
        Symbol symbol;
        double coefficient;
    };
    // basic = constant + Σ coefficient x symbol, symbols in increasing order.
    struct Row {
        double constant = 0;
        std::vector<Cell> cells;
    };
    struct Record {
        std::vector<Term> terms;
        double constant = 0;
        Relation relation = Relation::equal;
        double strength = required;
        Symbol marker = 0;
        Symbol other = 0;
        // The marker's coefficient in the row as first made, before any change of sign.
        double markerCoefficient = 1;
        bool alive = false;
    };

    static constexpr Symbol objectiveRow = 0;
    static constexpr Symbol artificialRow = 1;

    Symbol makeSymbol(Kind kind);
    void releaseSymbol(Symbol symbol);
    bool isBasic(Symbol symbol) const { return m_basic[symbol]; }
    bool isRestricted(Symbol symbol) const;
    static double coefficient(const Row& row, Symbol symbol);

    // Row edits that keep the column index (which rows hold which symbol) true.
    void addToRow(Symbol owner, Symbol symbol, double coefficient);
    void addRowToRow(Symbol owner, const Row& other, double factor, Symbol skip);
    void removeFromRow(Symbol owner, Symbol symbol);
    void installRow(Symbol owner, Row row);
    Row takeRow(Symbol owner);
    void unlink(Symbol owner, Symbol symbol);

    Row makeRow(const Record& record, Symbol marker, Symbol other);
    Symbol chooseSubject(const Row& row, const Record& record) const;
    bool addWithArtificialVariable(const Row& row, std::vector<Symbol>& blocking);
    // Replaces `symbol` in every row by the expression `row`.
    void substitute(Symbol symbol, const Row& row);
    void pivot(Symbol leaving, Symbol entering);
    void optimize(Symbol objective);
    bool dualOptimize(std::vector<Symbol>* blocking);
    Symbol leavingRowFor(Symbol entering) const;
    Symbol markerLeavingRow(Symbol marker) const;
    Symbol shiftMarker(const Record& record, double delta);
    std::vector<Constraint> conflictFrom(const std::vector<Symbol>& markers, Constraint constraint) const;
    std::size_t iterationLimit() const;



    std::vector<Kind> m_kinds;
    std::vector<bool> m_basic;
    std::vector<Row> m_rows;
    std::vector<std::vector<Symbol>> m_columns;
    std::vector<std::uint32_t> m_owner; // the constraint a marker or error symbol belongs to
    // Numbers are used again lowest first, so that the numbering (and with it every choice Bland's rule
    // makes) depends on what the solver holds, not on the order things left it.
    template <class Number>
    using LowestFirst = std::priority_queue<Number, std::vector<Number>, std::greater<Number>>;
    LowestFirst<Symbol> m_freeSymbols;
    std::vector<Record> m_records;
    LowestFirst<std::uint32_t> m_freeRecords;
    std::vector<Symbol> m_infeasible;
    std::size_t m_liveConstraints = 0;
    std::size_t m_basicCount = 0;
    bool m_needsOptimize = false;
    std::optional<std::uint64_t> m_workLimit;
    std::uint64_t m_work = 0;
    std::uint64_t m_substitutions = 0;
};

} // namespace UIKit
