#include "Platform/UIKit/ConstraintSolver.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {
namespace {

constexpr double epsilon = 1e-8;

bool nearZero(double value)
{
    return std::abs(value) < epsilon;
}

} // namespace

ConstraintSolver::ConstraintSolver()
{
    makeSymbol(Kind::row); // the objective
    makeSymbol(Kind::row); // the artificial objective, used while adding
    m_basic[objectiveRow] = true;
}

// --- Symbols -----------------------------------------------------------------------------------

ConstraintSolver::Symbol ConstraintSolver::makeSymbol(Kind kind)
{
    Symbol symbol;
    if (!m_freeSymbols.empty()) {
        symbol = m_freeSymbols.top();
        m_freeSymbols.pop();
    } else {
        symbol = static_cast<Symbol>(m_kinds.size());
        m_kinds.push_back(Kind::free);
        m_basic.push_back(false);
        m_rows.emplace_back();
        m_columns.emplace_back();
        m_owner.push_back(0);
    }
    m_kinds[symbol] = kind;
    m_basic[symbol] = false;
    m_owner[symbol] = 0;
    return symbol;
}

void ConstraintSolver::releaseSymbol(Symbol symbol)
{
    if (symbol <= artificialRow || m_kinds[symbol] == Kind::free)
        return;
    // Rounding may leave traces of a symbol whose constraints are gone.
    if (isBasic(symbol))
        takeRow(symbol);
    for (auto owners = m_columns[symbol]; Symbol owner : owners)
        removeFromRow(owner, symbol);
    m_kinds[symbol] = Kind::free;
    m_freeSymbols.push(symbol);
}

bool ConstraintSolver::isRestricted(Symbol symbol) const
{
    Kind kind = m_kinds[symbol];
    return kind == Kind::slack || kind == Kind::error || kind == Kind::dummy;
}

ConstraintSolver::Variable ConstraintSolver::makeVariable()
{
    return {makeSymbol(Kind::external)};
}

void ConstraintSolver::releaseVariable(Variable variable)
{
    Foundation::precondition(variable.id < m_kinds.size() && m_kinds[variable.id] == Kind::external,
                             "Releasing a variable the solver does not have");
    releaseSymbol(variable.id);
}

// --- Rows --------------------------------------------------------------------------------------

double ConstraintSolver::coefficient(const Row& row, Symbol symbol)
{
    auto found = std::lower_bound(row.cells.begin(), row.cells.end(), symbol,
                                  [](const Cell& cell, Symbol s) { return cell.symbol < s; });
    return found != row.cells.end() && found->symbol == symbol ? found->coefficient : 0.0;
}

void ConstraintSolver::unlink(Symbol owner, Symbol symbol)
{
    auto& column = m_columns[symbol];
    auto found = std::find(column.begin(), column.end(), owner);
    if (found != column.end()) {
        *found = column.back();
        column.pop_back();
    }
}

void ConstraintSolver::addToRow(Symbol owner, Symbol symbol, double coefficient)
{
    auto& cells = m_rows[owner].cells;
    auto found = std::lower_bound(cells.begin(), cells.end(), symbol,
                                  [](const Cell& cell, Symbol s) { return cell.symbol < s; });
    if (found != cells.end() && found->symbol == symbol) {
        found->coefficient += coefficient;
        if (nearZero(found->coefficient)) {
            cells.erase(found);
            unlink(owner, symbol);
        }
    } else if (!nearZero(coefficient)) {
        cells.insert(found, {symbol, coefficient});
        m_columns[symbol].push_back(owner);
    }
}

void ConstraintSolver::removeFromRow(Symbol owner, Symbol symbol)
{
    auto& cells = m_rows[owner].cells;
    auto found = std::lower_bound(cells.begin(), cells.end(), symbol,
                                  [](const Cell& cell, Symbol s) { return cell.symbol < s; });
    if (found != cells.end() && found->symbol == symbol) {
        cells.erase(found);
        unlink(owner, symbol);
    }
}

void ConstraintSolver::addRowToRow(Symbol owner, const Row& other, double factor, Symbol skip)
{
    Row& row = m_rows[owner];
    row.constant += other.constant * factor;
    // One merge of the two ordered rows; the old storage is kept for the next merge.
    std::vector<Cell> merged;
    merged.reserve(row.cells.size() + other.cells.size());
    auto a = row.cells.begin();
    auto b = other.cells.begin();
    while (a != row.cells.end() || b != other.cells.end()) {
        if (b != other.cells.end() && b->symbol == skip) {
            ++b;
        } else if (b == other.cells.end() || (a != row.cells.end() && a->symbol < b->symbol)) {
            merged.push_back(*a++);
        } else if (a == row.cells.end() || b->symbol < a->symbol) {
            double value = b->coefficient * factor;
            if (!nearZero(value)) {
                merged.push_back({b->symbol, value});
                m_columns[b->symbol].push_back(owner);
            }
            ++b;
        } else {
            double value = a->coefficient + b->coefficient * factor;
            if (!nearZero(value))
                merged.push_back({a->symbol, value});
            else
                unlink(owner, a->symbol);
            ++a;
            ++b;
        }
    }
    row.cells = std::move(merged);
}

void ConstraintSolver::installRow(Symbol owner, Row row)
{
    for (const Cell& cell : row.cells)
        m_columns[cell.symbol].push_back(owner);
    m_rows[owner] = std::move(row);
    if (!m_basic[owner] && owner > artificialRow)
        ++m_basicCount;
    m_basic[owner] = true;
}

ConstraintSolver::Row ConstraintSolver::takeRow(Symbol owner)
{
    Row row = std::move(m_rows[owner]);
    m_rows[owner] = Row {};
    for (const Cell& cell : row.cells)
        unlink(owner, cell.symbol);
    if (m_basic[owner] && owner > artificialRow)
        --m_basicCount;
    m_basic[owner] = false;
    return row;
}

namespace {

// Helpers for a row that is not yet in the tableau, so no column needs keeping.
template <class Cells>
void accumulate(Cells& cells, std::uint32_t symbol, double coefficient)
{
    auto found = std::lower_bound(cells.begin(), cells.end(), symbol,
                                  [](const auto& cell, std::uint32_t s) { return cell.symbol < s; });
    if (found != cells.end() && found->symbol == symbol) {
        found->coefficient += coefficient;
        if (nearZero(found->coefficient))
            cells.erase(found);
    } else if (!nearZero(coefficient)) {
        cells.insert(found, {symbol, coefficient});
    }
}

// Turns `0 = row` into `subject = row'`.
template <class Row>
void solveFor(Row& row, std::uint32_t subject)
{
    auto found = std::lower_bound(row.cells.begin(), row.cells.end(), subject,
                                  [](const auto& cell, std::uint32_t s) { return cell.symbol < s; });
    double factor = -1.0 / found->coefficient;
    row.cells.erase(found);
    row.constant *= factor;
    for (auto& cell : row.cells)
        cell.coefficient *= factor;
}

} // namespace

void ConstraintSolver::substitute(Symbol symbol, const Row& row)
{
    ++m_substitutions;
    if (m_workLimit) {
        m_work += m_columns[symbol].size() * (row.cells.size() + 1);
        if (m_work > *m_workLimit)
            throw Failure {"The layout needs more work than a layout pass may take"};
    }
    for (auto owners = m_columns[symbol]; Symbol owner : owners) {
        double factor = coefficient(m_rows[owner], symbol);
        removeFromRow(owner, symbol);
        addRowToRow(owner, row, factor, symbol);
        if (isRestricted(owner) && m_rows[owner].constant < -epsilon)
            m_infeasible.push_back(owner);
    }
}

void ConstraintSolver::pivot(Symbol leaving, Symbol entering)
{
    Row row = takeRow(leaving);
    accumulate(row.cells, leaving, -1.0);
    solveFor(row, entering);
    substitute(entering, row);
    installRow(entering, std::move(row));
}

// --- Adding and removing -----------------------------------------------------------------------

ConstraintSolver::Row ConstraintSolver::makeRow(const Record& record, Symbol marker, Symbol other)
{
    Row row;
    row.constant = record.constant;
    for (const Term& term : record.terms) {
        if (nearZero(term.coefficient))
            continue;
        Symbol symbol = term.variable.id;
        if (isBasic(symbol)) {
            const Row& basic = m_rows[symbol];
            row.constant += basic.constant * term.coefficient;
            for (const Cell& cell : basic.cells)
                accumulate(row.cells, cell.symbol, cell.coefficient * term.coefficient);
        } else {
            accumulate(row.cells, symbol, term.coefficient);
        }
    }
    bool optional = record.strength != required;
    if (record.relation == Relation::equal) {
        if (optional) {
            accumulate(row.cells, marker, -1.0);
            accumulate(row.cells, other, 1.0);
            addToRow(objectiveRow, marker, record.strength);
            addToRow(objectiveRow, other, record.strength);
        } else {
            accumulate(row.cells, marker, 1.0);
        }
    } else {
        double sign = record.relation == Relation::lessThanOrEqual ? 1.0 : -1.0;
        accumulate(row.cells, marker, sign);
        if (optional) {
            accumulate(row.cells, other, -sign);
            addToRow(objectiveRow, other, record.strength);
        }
    }
    if (row.constant < 0) {
        row.constant = -row.constant;
        for (Cell& cell : row.cells)
            cell.coefficient = -cell.coefficient;
    }
    return row;
}

ConstraintSolver::Symbol ConstraintSolver::chooseSubject(const Row& row, const Record& record) const
{
    // An unrestricted variable that no other row mentions costs no substitution at all.
    Symbol best = 0;
    std::size_t fewest = 0;
    for (const Cell& cell : row.cells) {
        if (m_kinds[cell.symbol] != Kind::external)
            continue;
        std::size_t uses = m_columns[cell.symbol].size();
        if (best == 0 || uses < fewest) {
            best = cell.symbol;
            fewest = uses;
            if (uses == 0)
                break;
        }
    }
    if (best != 0)
        return best;
    for (Symbol candidate : {record.marker, record.other}) {
        if (candidate == 0)
            continue;
        Kind kind = m_kinds[candidate];
        if ((kind == Kind::slack || kind == Kind::error) && coefficient(row, candidate) < 0)
            return candidate;
    }
    return 0;
}

ConstraintSolver::Outcome ConstraintSolver::add(std::span<const Term> terms, double constant, Relation relation,
                                                double strength)
{
    Foundation::precondition(strength > 0 && !std::isnan(strength), "A constraint's strength must be positive");
    Foundation::precondition(std::isfinite(constant), "A constraint's constant must be finite");
    for (const Term& term : terms)
        Foundation::precondition(term.variable.id < m_kinds.size() && m_kinds[term.variable.id] == Kind::external
                                     && std::isfinite(term.coefficient),
                                 "A constraint refers to a variable the solver does not have");

    std::uint32_t id;
    if (!m_freeRecords.empty()) {
        id = m_freeRecords.top();
        m_freeRecords.pop();
    } else {
        id = static_cast<std::uint32_t>(m_records.size());
        m_records.emplace_back();
    }
    Record& record = m_records[id];
    record.terms.assign(terms.begin(), terms.end());
    record.constant = constant;
    record.relation = relation;
    record.strength = strength;
    bool optional = strength != required;
    if (relation == Relation::equal) {
        record.marker = makeSymbol(optional ? Kind::error : Kind::dummy);
        record.other = optional ? makeSymbol(Kind::error) : 0;
        record.markerCoefficient = optional ? -1.0 : 1.0;
    } else {
        record.marker = makeSymbol(Kind::slack);
        record.other = optional ? makeSymbol(Kind::error) : 0;
        record.markerCoefficient = relation == Relation::lessThanOrEqual ? 1.0 : -1.0;
    }
    m_owner[record.marker] = id;
    if (record.other)
        m_owner[record.other] = id;

    Outcome outcome;
    outcome.constraint = {id};
    auto fail = [&](const std::vector<Symbol>& blocking) {
        // Trying may have moved the basis away from the optimum.
        m_needsOptimize = true;
        outcome.holds = false;
        outcome.conflicting = conflictFrom(blocking, {id});
        releaseSymbol(m_records[id].marker);
        releaseSymbol(m_records[id].other);
        m_records[id] = Record {};
        m_freeRecords.push(id);
        return outcome;
    };

    Row row = makeRow(record, record.marker, record.other);
    Symbol subject = chooseSubject(row, record);
    if (subject == 0 && std::all_of(row.cells.begin(), row.cells.end(),
                                    [&](const Cell& cell) { return m_kinds[cell.symbol] == Kind::dummy; })) {
        if (!nearZero(row.constant)) {
            std::vector<Symbol> dummies;
            for (const Cell& cell : row.cells)
                dummies.push_back(cell.symbol);
            return fail(dummies);
        }
        subject = record.marker;
    }
    if (subject == 0) {
        std::vector<Symbol> blocking;
        if (!addWithArtificialVariable(row, blocking))
            return fail(blocking);
    } else {
        solveFor(row, subject);
        substitute(subject, row);
        installRow(subject, std::move(row));
    }
    m_records[id].alive = true;
    ++m_liveConstraints;
    m_needsOptimize = true;
    return outcome;
}

bool ConstraintSolver::addWithArtificialVariable(const Row& row, std::vector<Symbol>& blocking)
{
    Symbol artificial = makeSymbol(Kind::slack);
    installRow(artificial, row);
    installRow(artificialRow, row);
    optimize(artificialRow);
    bool success = nearZero(m_rows[artificialRow].constant);
    if (!success) {
        for (const Cell& cell : m_rows[artificialRow].cells) {
            Kind kind = m_kinds[cell.symbol];
            if (kind == Kind::slack || kind == Kind::dummy)
                blocking.push_back(cell.symbol);
        }
    }
    takeRow(artificialRow);
    if (isBasic(artificial)) {
        // Still basic: its row is exactly the new constraint, so dropping it leaves the tableau as it was.
        Row remaining = takeRow(artificial);
        if (!success || remaining.cells.empty()) {
            releaseSymbol(artificial);
            return success;
        }
        Symbol entering = 0;
        for (const Cell& cell : remaining.cells) {
            Kind kind = m_kinds[cell.symbol];
            if (kind == Kind::slack || kind == Kind::error) {
                entering = cell.symbol;
                break;
            }
        }
        if (entering == 0) {
            releaseSymbol(artificial);
            return false;
        }
        accumulate(remaining.cells, artificial, -1.0);
        solveFor(remaining, entering);
        substitute(entering, remaining);
        installRow(entering, std::move(remaining));
    }
    releaseSymbol(artificial);
    return success;
}

void ConstraintSolver::remove(Constraint constraint)
{
    Foundation::precondition(contains(constraint), "Removing a constraint the solver does not have");
    Record& record = m_records[constraint.id];
    if (record.strength != required) {
        for (Symbol error : {record.marker, record.other}) {
            if (error == 0 || m_kinds[error] != Kind::error)
                continue;
            if (isBasic(error))
                addRowToRow(objectiveRow, m_rows[error], -record.strength, 0);
            else
                addToRow(objectiveRow, error, -record.strength);
        }
    }
    Symbol marker = record.marker;
    if (isBasic(marker)) {
        takeRow(marker);
    } else if (Symbol leaving = markerLeavingRow(marker); leaving != 0) {
        pivot(leaving, marker);
        takeRow(marker);
    }
    releaseSymbol(marker);
    releaseSymbol(record.other);
    m_records[constraint.id] = Record {};
    m_freeRecords.push(constraint.id);
    --m_liveConstraints;
    m_needsOptimize = true;
}

bool ConstraintSolver::contains(Constraint constraint) const
{
    return constraint.id < m_records.size() && m_records[constraint.id].alive;
}

ConstraintSolver::Symbol ConstraintSolver::markerLeavingRow(Symbol marker) const
{
    double firstRatio = std::numeric_limits<double>::max();
    double secondRatio = firstRatio;
    Symbol first = 0;
    Symbol second = 0;
    Symbol third = 0;
    for (Symbol owner : m_columns[marker]) {
        if (owner <= artificialRow)
            continue;
        const Row& row = m_rows[owner];
        double c = coefficient(row, marker);
        // A redundant equality's row holds the marker at no value: leaving on it moves nothing, where
        // any other row would give the equality a value it cannot have.
        if (m_kinds[owner] == Kind::dummy)
            return owner;
        if (m_kinds[owner] == Kind::external) {
            if (third == 0 || owner < third)
                third = owner;
        } else if (c < 0) {
            double ratio = -row.constant / c;
            if (ratio < firstRatio || (ratio == firstRatio && owner < first)) {
                firstRatio = ratio;
                first = owner;
            }
        } else {
            double ratio = row.constant / c;
            if (ratio < secondRatio || (ratio == secondRatio && owner < second)) {
                secondRatio = ratio;
                second = owner;
            }
        }
    }
    return first != 0 ? first : second != 0 ? second : third;
}

std::vector<ConstraintSolver::Constraint> ConstraintSolver::conflictFrom(const std::vector<Symbol>& markers,
                                                                         Constraint constraint) const
{
    std::vector<Constraint> result {constraint};
    for (Symbol marker : markers) {
        std::uint32_t owner = m_owner[marker];
        if (owner < m_records.size() && m_records[owner].alive && m_records[owner].marker == marker
            && m_records[owner].strength == required && std::find(result.begin(), result.end(), Constraint {owner}) == result.end())
            result.push_back({owner});
    }
    return result;
}

// --- Constants and edit variables --------------------------------------------------------------

ConstraintSolver::Symbol ConstraintSolver::shiftMarker(const Record& record, double delta)
{
    // The constraint's marker appears in no other constraint, so a changed constant is the old marker
    // renamed: marker_old = marker_new + delta / m, with m its coefficient in the constraint's own row.
    // A redundant required equality has its row at zero; the shift may move it, and then the equalities
    // that imply each other disagree. The answer is the first such row.
    double shift = delta / record.markerCoefficient;
    Symbol marker = record.marker;
    Symbol broken = 0;
    auto moved = [&](Symbol owner) {
        const double constant = m_rows[owner].constant;
        if (m_kinds[owner] == Kind::dummy && !nearZero(constant) && broken == 0)
            broken = owner;
        else if (isRestricted(owner) && constant < -epsilon)
            m_infeasible.push_back(owner);
    };
    if (isBasic(marker)) {
        m_rows[marker].constant -= shift;
        moved(marker);
        return broken;
    }
    for (Symbol owner : m_columns[marker]) {
        Row& row = m_rows[owner];
        row.constant += coefficient(row, marker) * shift;
        moved(owner);
    }
    return broken;
}

ConstraintSolver::Outcome ConstraintSolver::setConstant(Constraint constraint, double constant)
{
    Foundation::precondition(contains(constraint), "Changing a constraint the solver does not have");
    Foundation::precondition(std::isfinite(constant), "A constraint's constant must be finite");
    Outcome outcome;
    outcome.constraint = constraint;
    Record& record = m_records[constraint.id];
    double delta = constant - record.constant;
    if (delta == 0)
        return outcome;
    // The dual simplex below needs an optimal tableau to start from.
    solve();
    m_infeasible.clear();
    Symbol broken = shiftMarker(record, delta);
    record.constant = constant;

    std::vector<Symbol> blocking;
    bool feasible = true;
    if (broken != 0) {
        // Required equalities that imply each other cannot take constants that disagree.
        feasible = false;
        blocking.push_back(broken);
        for (const Cell& cell : m_rows[broken].cells)
            blocking.push_back(cell.symbol);
    } else {
        feasible = dualOptimize(&blocking);
    }
    if (feasible)
        return outcome;

    shiftMarker(record, -delta);
    record.constant -= delta;
    m_infeasible.clear();
    for (Symbol owner = artificialRow + 1; owner < m_rows.size(); ++owner) {
        if (isBasic(owner) && isRestricted(owner) && m_rows[owner].constant < -epsilon)
            m_infeasible.push_back(owner);
    }
    if (!dualOptimize(nullptr))
        throw Failure {"The solver could not return to its previous solution"};
    outcome.holds = false;
    outcome.conflicting = conflictFrom(blocking, constraint);
    return outcome;
}

void ConstraintSolver::limitWork(std::optional<std::uint64_t> rowEntries)
{
    m_workLimit = rowEntries;
    m_work = 0;
}

double ConstraintSolver::constant(Constraint constraint) const
{
    Foundation::precondition(contains(constraint), "Reading a constraint the solver does not have");
    return m_records[constraint.id].constant;
}

ConstraintSolver::Constraint ConstraintSolver::addEditVariable(Variable variable, double strength)
{
    Foundation::precondition(strength != required, "An edit variable cannot be required");
    Term term {variable, 1.0};
    return add(std::span(&term, 1), 0, Relation::equal, strength).constraint;
}

void ConstraintSolver::suggestValue(Constraint edit, double value)
{
    setConstant(edit, -value);
}

// --- Optimising --------------------------------------------------------------------------------

std::size_t ConstraintSolver::iterationLimit() const
{
    // Bland's rule ends every loop; this bound only turns an arithmetic accident into an error.
    return 1000 + 16 * m_kinds.size();
}

ConstraintSolver::Symbol ConstraintSolver::leavingRowFor(Symbol entering) const
{
    double best = std::numeric_limits<double>::max();
    Symbol found = 0;
    for (Symbol owner : m_columns[entering]) {
        if (!isRestricted(owner))
            continue;
        const Row& row = m_rows[owner];
        double c = coefficient(row, entering);
        if (c >= 0)
            continue;
        double ratio = -row.constant / c;
        if (ratio < best || (ratio == best && owner < found)) {
            best = ratio;
            found = owner;
        }
    }
    return found;
}

void ConstraintSolver::optimize(Symbol objective)
{
    for (std::size_t iteration = 0, limit = iterationLimit();; ++iteration) {
        if (iteration > limit)
            throw Failure {"The solver did not reach an optimum"};
        // Weights span nine orders of magnitude, so what counts as zero scales with the largest.
        const auto& cells = m_rows[objective].cells;
        double scale = 1;
        for (const Cell& cell : cells)
            scale = std::max(scale, std::abs(cell.coefficient));
        const double threshold = std::max(epsilon, scale * 1e-12);
        // The lowest-numbered improving symbol that some row bounds (Bland's rule), so that no sequence of
        // pivots repeats. A rounding error's worth of improvement with nothing to bound it is no
        // improvement, but the columns after it still may be.
        Symbol entering = 0;
        Symbol leaving = 0;
        for (const Cell& cell : cells) {
            if (cell.coefficient >= -threshold || m_kinds[cell.symbol] == Kind::dummy)
                continue;
            if (Symbol row = leavingRowFor(cell.symbol); row != 0) {
                entering = cell.symbol;
                leaving = row;
                break;
            }
            if (-cell.coefficient >= scale * 1e-6)
                throw Failure {"The objective is unbounded"};
        }
        if (entering == 0)
            return;
        pivot(leaving, entering);
    }
}

bool ConstraintSolver::dualOptimize(std::vector<Symbol>* blocking)
{
    for (std::size_t iteration = 0, limit = iterationLimit(); !m_infeasible.empty(); ++iteration) {
        if (iteration > limit)
            throw Failure {"The solver did not restore a feasible solution"};
        Symbol leaving = m_infeasible.back();
        m_infeasible.pop_back();
        if (!isBasic(leaving) || !isRestricted(leaving) || m_rows[leaving].constant >= -epsilon)
            continue;
        const Row& row = m_rows[leaving];
        const Row& objective = m_rows[objectiveRow];
        Symbol entering = 0;
        double best = std::numeric_limits<double>::max();
        for (const Cell& cell : row.cells) {
            if (cell.coefficient <= 0 || m_kinds[cell.symbol] == Kind::dummy)
                continue;
            double ratio = coefficient(objective, cell.symbol) / cell.coefficient;
            if (ratio < best || (ratio == best && cell.symbol < entering)) {
                best = ratio;
                entering = cell.symbol;
            }
        }
        if (entering == 0) {
            // Nothing can raise this row: the required constraints in it cannot all hold.
            if (blocking) {
                blocking->push_back(leaving);
                for (const Cell& cell : row.cells)
                    blocking->push_back(cell.symbol);
            }
            m_infeasible.clear();
            return false;
        }
        pivot(leaving, entering);
    }
    return true;
}

void ConstraintSolver::solve()
{
    if (!m_needsOptimize)
        return;
    optimize(objectiveRow);
    m_needsOptimize = false;
}

double ConstraintSolver::value(Variable variable) const
{
    return variable.id < m_kinds.size() && m_basic[variable.id] ? m_rows[variable.id].constant : 0.0;
}

} // namespace UIKit
