#include "Platform/UIKit/UITableView.hpp"

#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UITouch.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/UIKit/UINib.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"

#include <algorithm>
#include <set>
#include <string>

namespace UIKit {

struct UITableView::PendingUpdates {
    std::set<std::int64_t> deletedSections;  // old indices
    std::set<std::int64_t> insertedSections; // new indices
    std::vector<std::pair<std::int64_t, std::int64_t>> movedSections;
    // Gathered as they come and sorted, each path once, when the batch is applied: a search can remove
    // a hundred thousand rows in one batch.
    std::vector<Foundation::IndexPath> deletedRows;  // old paths
    std::vector<Foundation::IndexPath> insertedRows; // new paths
    std::vector<std::pair<Foundation::IndexPath, Foundation::IndexPath>> movedRows;
};

namespace {

constexpr CGFloat fallbackRowHeight = 44;

// Where each old position ends up: positions that stay keep their order and fill, in order, the new
// positions that no insertion or move claims. `removed` and `claimed` are ascending, each value once.
std::vector<std::optional<std::int64_t>> mapPositions(std::int64_t oldCount, const std::vector<std::int64_t>& removed,
                                                      const std::vector<std::int64_t>& claimed,
                                                      const std::vector<std::pair<std::int64_t, std::int64_t>>& moves,
                                                      std::int64_t newCount)
{
    std::vector<std::optional<std::int64_t>> result(static_cast<std::size_t>(std::max<std::int64_t>(oldCount, 0)));
    std::int64_t next = 0;
    auto removedAt = removed.begin();
    auto claimedAt = claimed.begin();
    for (std::int64_t old = 0; old < oldCount; ++old) {
        while (removedAt != removed.end() && *removedAt < old)
            ++removedAt;
        if (removedAt != removed.end() && *removedAt == old)
            continue;
        while (next < newCount) {
            while (claimedAt != claimed.end() && *claimedAt < next)
                ++claimedAt;
            if (claimedAt == claimed.end() || *claimedAt != next)
                break;
            ++next;
        }
        if (next < newCount)
            result[static_cast<std::size_t>(old)] = next++;
    }
    for (const auto& [from, to] : moves)
        if (from >= 0 && from < oldCount)
            result[static_cast<std::size_t>(from)] = to;
    return result;
}

template <class T>
void sortUnique(std::vector<T>& values)
{
    // A list difference hands its paths over in order already.
    if (!std::is_sorted(values.begin(), values.end()))
        std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

template <class T>
bool sortedContains(const std::vector<T>& values, const T& value)
{
    return std::binary_search(values.begin(), values.end(), value);
}

[[noreturn]] void invalidUpdate(const std::string& reason)
{
    Foundation::fatalError("Invalid update: " + reason);
}

std::string count(std::size_t value)
{
    return std::to_string(value);
}

} // namespace

UITableView::UITableView(const CGRect& frame, Style style)
    : UIScrollView(frame)
    , m_style(style)
{
}

UITableView::UITableView(Foundation::NSCoder& coder)
    : UIScrollView(coder)
    , m_style(Style::plain)
{
    auto style = coder.decodeInteger("style");
    if (style == static_cast<std::int64_t>(Style::grouped) || style == static_cast<std::int64_t>(Style::insetGrouped))
        m_style = static_cast<Style>(style);
}

namespace {

template <class View>
std::function<std::shared_ptr<View>()> firstObjectOf(std::shared_ptr<UINib> nib)
{
    return [nib = std::move(nib)]() -> std::shared_ptr<View> {
        auto objects = nib->instantiate(nullptr);
        return objects.empty() ? nullptr : std::dynamic_pointer_cast<View>(objects.front());
    };
}

} // namespace

void UITableView::registerCell(const std::shared_ptr<UINib>& nib, const Foundation::String& forCellReuseIdentifier)
{
    m_cellFactories[forCellReuseIdentifier] = firstObjectOf<UITableViewCell>(nib);
}

void UITableView::registerHeaderFooterView(const std::shared_ptr<UINib>& nib,
                                           const Foundation::String& forHeaderFooterViewReuseIdentifier)
{
    m_headerFooterFactories[forHeaderFooterViewReuseIdentifier] = firstObjectOf<UITableViewHeaderFooterView>(nib);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(const Foundation::String& withIdentifier,
                                                                  const Foundation::IndexPath& /*for_*/)
{
    auto& pool = m_reusableCells[withIdentifier];
    if (!pool.empty()) {
        auto cell = pool.back();
        pool.pop_back();
        cell->prepareForReuse();
        return cell;
    }
    auto factory = m_cellFactories.find(withIdentifier);
    if (factory == m_cellFactories.end())
        return nullptr;
    auto cell = factory->second();
    if (cell)
        cell->m_reuseIdentifier = withIdentifier;
    return cell;
}

std::shared_ptr<UITableViewHeaderFooterView> UITableView::dequeueReusableHeaderFooterView(const Foundation::String& withIdentifier)
{
    auto& pool = m_reusableHeaderFooterViews[withIdentifier];
    if (!pool.empty()) {
        auto view = pool.back();
        pool.pop_back();
        view->prepareForReuse();
        return view;
    }
    auto factory = m_headerFooterFactories.find(withIdentifier);
    if (factory == m_headerFooterFactories.end())
        return nullptr;
    auto view = factory->second();
    if (view)
        view->m_reuseIdentifier = withIdentifier;
    return view;
}

std::vector<std::int64_t> UITableView::fetchRowCounts()
{
    std::vector<std::int64_t> counts;
    auto source = dataSource();
    if (!source)
        return counts;
    const auto sections = source->numberOfSections(*this);
    for (std::int64_t section = 0; section < sections; ++section)
        counts.push_back(std::max<std::int64_t>(source->numberOfRowsInSection(*this, section), 0));
    return counts;
}

void UITableView::loadIfNeeded()
{
    if (!m_hasLoaded)
        reloadData();
}

std::int64_t UITableView::numberOfSections()
{
    loadIfNeeded();
    return static_cast<std::int64_t>(m_rowCounts.size());
}

std::int64_t UITableView::numberOfRows(std::int64_t inSection)
{
    loadIfNeeded();
    Foundation::precondition(inSection >= 0 && inSection < static_cast<std::int64_t>(m_rowCounts.size()),
                             "Section " + std::to_string(inSection) + " is out of bounds");
    return m_rowCounts[static_cast<std::size_t>(inSection)];
}

void UITableView::recycle(const std::shared_ptr<UITableViewCell>& cell)
{
    cell->removeFromSuperview();
    cell->setIsSelected(false);
    if (cell->reuseIdentifier())
        m_reusableCells[*cell->reuseIdentifier()].push_back(cell);
}

void UITableView::recycle(const std::shared_ptr<UITableViewHeaderFooterView>& view)
{
    view->removeFromSuperview();
    if (view->reuseIdentifier())
        m_reusableHeaderFooterViews[*view->reuseIdentifier()].push_back(view);
}

void UITableView::recycleHeadersAndFooters()
{
    for (auto& [section, view] : m_headerViews)
        recycle(view);
    for (auto& [section, view] : m_footerViews)
        recycle(view);
    m_headerViews.clear();
    m_footerViews.clear();
}

void UITableView::reloadData()
{
    // Data that changes inside a batch is reloaded once the batch ends.
    m_pending.reset();
    m_hasLoaded = true;
    m_rowCounts = fetchRowCounts();
    m_measuredHeights.clear();
    for (auto& [indexPath, cell] : m_visibleCells)
        recycle(cell);
    m_visibleCells.clear();
    recycleHeadersAndFooters();
    m_selectedRows.clear();
    m_highlightedRow.reset();
    layoutRows();
}

void UITableView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    if (!m_hasLoaded)
        reloadData();
    else
        layoutRows();
}

void UITableView::setContentOffset(CGPoint offset, bool animated)
{
    UIScrollView::setContentOffset(offset, animated);
    if (m_hasLoaded)
        layoutRows();
}

void UITableView::setBackgroundView(std::shared_ptr<UIView> view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        m_backgroundView->setFrame({{0, 0}, bounds().size});
        insertSubview(m_backgroundView, 0);
    }
}

void UITableView::layoutRows()
{
    // Measuring a cell may call back into the table; one pass at a time.
    if (m_isLayingOut)
        return;
    m_isLayingOut = true;
    auto delegate = this->delegate();
    auto source = dataSource();
    const CGFloat width = bounds().size.width;
    const CGFloat top = bounds().origin.y;
    const CGFloat bottom = top + bounds().size.height;
    std::map<Foundation::IndexPath, std::shared_ptr<UITableViewCell>> shown;
    std::vector<std::pair<Foundation::IndexPath, std::shared_ptr<UITableViewCell>>> appearing;
    std::map<std::int64_t, std::shared_ptr<UITableViewHeaderFooterView>> headers;
    std::map<std::int64_t, std::shared_ptr<UITableViewHeaderFooterView>> footers;
    m_rowTops.resize(m_rowCounts.size());
    // Cells that scrolled out go back to the pool first, so that the rows scrolling in can take them.
    for (auto cell = m_visibleCells.begin(); cell != m_visibleCells.end();) {
        const auto frame = cell->second->frame();
        if (frame.origin.y >= bottom || frame.origin.y + frame.size.height <= top) {
            recycle(cell->second);
            cell = m_visibleCells.erase(cell);
        } else {
            ++cell;
        }
    }

    auto sectionView = [&](std::int64_t section, bool header, CGFloat y, CGFloat height) {
        auto& known = header ? m_headerViews : m_footerViews;
        std::shared_ptr<UITableViewHeaderFooterView> view;
        if (auto found = known.find(section); found != known.end()) {
            view = found->second;
            known.erase(found);
        } else if (delegate && height > 0 && y < bottom && y + height > top) {
            auto asked = header ? delegate->viewForHeaderInSection(*this, section)
                                : delegate->viewForFooterInSection(*this, section);
            view = std::dynamic_pointer_cast<UITableViewHeaderFooterView>(asked);
        }
        if (!view)
            return;
        view->setFrame({{0, y}, {width, height}});
        addSubview(view);
        (header ? headers : footers)[section] = view;
    };
    auto sectionHeight = [&](std::int64_t section, bool header) {
        CGFloat height = header ? m_sectionHeaderHeight : m_sectionFooterHeight;
        if (delegate)
            height = header ? delegate->heightForHeaderInSection(*this, section)
                            : delegate->heightForFooterInSection(*this, section);
        return std::max<CGFloat>(height, 0);
    };

    CGFloat y = 0;
    for (std::int64_t section = 0; section < static_cast<std::int64_t>(m_rowCounts.size()); ++section) {
        const CGFloat headerHeight = sectionHeight(section, true);
        sectionView(section, true, y, headerHeight);
        y += headerHeight;
        const auto rowCount = m_rowCounts[static_cast<std::size_t>(section)];
        auto& tops = m_rowTops[static_cast<std::size_t>(section)];
        tops.resize(static_cast<std::size_t>(rowCount) + 1);
        for (std::int64_t row = 0; row < rowCount; ++row) {
            const auto indexPath = Foundation::IndexPath::withRow(row, section);
            CGFloat height = delegate ? delegate->heightForRowAt(*this, indexPath) : m_rowHeight;
            const bool automatic = height < 0;
            if (automatic) {
                // A row measured while shown keeps that height off screen; others count as estimated.
                if (auto measured = m_measuredHeights.find(indexPath); measured != m_measuredHeights.end()) {
                    height = measured->second;
                } else {
                    const CGFloat estimate = delegate ? delegate->estimatedHeightForRowAt(*this, indexPath) : m_estimatedRowHeight;
                    height = estimate > 0 ? estimate : fallbackRowHeight;
                }
            }
            std::shared_ptr<UITableViewCell> cell;
            if (y < bottom && y + height > top && source) {
                if (auto found = m_visibleCells.find(indexPath); found != m_visibleCells.end()) {
                    cell = found->second;
                    m_visibleCells.erase(found);
                } else {
                    cell = source->cellForRowAt(*this, indexPath);
                    Foundation::precondition(cell != nullptr, "The data source gave no cell for row " + indexPath.description());
                    appearing.emplace_back(indexPath, cell);
                }
                // A self-sizing row takes the height its cell's constraints give it at the table's width.
                if (automatic) {
                    const CGFloat fitting = cell->systemLayoutSizeFitting({width, 0}, UILayoutPriority::required(),
                                                                          UILayoutPriority::fittingSizeLevel())
                                                .height;
                    if (fitting > 0)
                        height = fitting;
                    m_measuredHeights[indexPath] = height;
                }
                cell->setFrame({{0, y}, {width, height}});
                cell->setIsSelected(m_selectedRows.contains(indexPath));
                cell->setIsHighlighted(m_highlightedRow == indexPath);
                addSubview(cell);
                shown[indexPath] = cell;
            }
            tops[static_cast<std::size_t>(row)] = y;
            y += height;
        }
        tops[static_cast<std::size_t>(rowCount)] = y;
        const CGFloat footerHeight = sectionHeight(section, false);
        sectionView(section, false, y, footerHeight);
        y += footerHeight;
    }
    if (m_tableFooterView)
        y += std::max<CGFloat>(m_tableFooterView->bounds().size.height, 0);
    setContentSize({width, y});
    if (m_backgroundView)
        m_backgroundView->setFrame({bounds().origin, bounds().size});

    for (auto& [indexPath, cell] : m_visibleCells)
        recycle(cell);
    for (auto& [section, view] : m_headerViews)
        recycle(view);
    for (auto& [section, view] : m_footerViews)
        recycle(view);
    m_visibleCells = std::move(shown);
    m_headerViews = std::move(headers);
    m_footerViews = std::move(footers);
    m_isLayingOut = false;
    for (auto& [indexPath, cell] : appearing)
        if (delegate && cellForRow(indexPath) == cell)
            delegate->willDisplay(*this, *cell, indexPath);
}

std::optional<std::vector<Foundation::IndexPath>> UITableView::indexPathsForVisibleRows() const
{
    if (!m_hasLoaded)
        return std::nullopt;
    std::vector<Foundation::IndexPath> paths;
    for (const auto& [indexPath, cell] : m_visibleCells)
        paths.push_back(indexPath);
    return paths;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const
{
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [indexPath, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::shared_ptr<UITableViewCell> UITableView::cellForRow(const Foundation::IndexPath& at) const
{
    auto found = m_visibleCells.find(at);
    return found == m_visibleCells.end() ? nullptr : found->second;
}

std::optional<Foundation::IndexPath> UITableView::indexPath(const UITableViewCell& for_) const
{
    for (const auto& [indexPath, cell] : m_visibleCells)
        if (cell.get() == &for_)
            return indexPath;
    return std::nullopt;
}

std::shared_ptr<UITableViewHeaderFooterView> UITableView::headerView(std::int64_t forSection) const
{
    auto found = m_headerViews.find(forSection);
    return found == m_headerViews.end() ? nullptr : found->second;
}

std::shared_ptr<UITableViewHeaderFooterView> UITableView::footerView(std::int64_t forSection) const
{
    auto found = m_footerViews.find(forSection);
    return found == m_footerViews.end() ? nullptr : found->second;
}

void UITableView::performBatchUpdates(const std::function<void()>& updates, std::function<void(bool)> completion)
{
    beginUpdates();
    if (updates)
        updates();
    endUpdates();
    if (completion)
        UIView::animate(0.3, nullptr, std::move(completion));
}

void UITableView::beginUpdates()
{
    if (m_batchDepth++ == 0)
        m_pending = std::make_shared<PendingUpdates>();
}

void UITableView::endUpdates()
{
    Foundation::precondition(m_batchDepth > 0, "endUpdates without beginUpdates");
    if (--m_batchDepth > 0)
        return;
    auto pending = std::move(m_pending);
    if (!m_hasLoaded) {
        // Nothing was shown before, so there is nothing to check the changes against.
        reloadData();
        return;
    }
    if (!pending) { // reloaded inside the batch
        return;
    }
    m_pending = std::move(pending);
    applyPendingUpdates();
    m_pending.reset();
}

void UITableView::recordUpdate(Update update)
{
    m_appliedRowCount += update.rows.size();
    m_appliedUpdates.push_back(std::move(update));
    // A long-running table keeps its recent changes only: a search over a large list removes and
    // inserts that many rows each time.
    std::size_t dropped = 0;
    while (m_appliedUpdates.size() - dropped > 1 && m_appliedRowCount > maximumAppliedRowCount)
        m_appliedRowCount -= m_appliedUpdates[dropped++].rows.size();
    m_appliedUpdates.erase(m_appliedUpdates.begin(), m_appliedUpdates.begin() + static_cast<std::ptrdiff_t>(dropped));
}

// A change outside any batch is a batch of its own.
#define UITABLEVIEW_CHANGE(body)                                                                                      \
    beginUpdates();                                                                                                   \
    body;                                                                                                             \
    endUpdates()

void UITableView::insertRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with)
{
    UITABLEVIEW_CHANGE({
        m_pending->insertedRows.insert(m_pending->insertedRows.end(), at.begin(), at.end());
        recordUpdate({Update::Kind::insertRows, at, {}, with});
    });
}

void UITableView::deleteRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with)
{
    UITABLEVIEW_CHANGE({
        m_pending->deletedRows.insert(m_pending->deletedRows.end(), at.begin(), at.end());
        recordUpdate({Update::Kind::deleteRows, at, {}, with});
    });
}

void UITableView::reloadRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with)
{
    // A reload replaces the row: out at its old path, in at the same path.
    UITABLEVIEW_CHANGE({
        m_pending->deletedRows.insert(m_pending->deletedRows.end(), at.begin(), at.end());
        m_pending->insertedRows.insert(m_pending->insertedRows.end(), at.begin(), at.end());
        recordUpdate({Update::Kind::reloadRows, at, {}, with});
    });
}

void UITableView::moveRow(const Foundation::IndexPath& at, const Foundation::IndexPath& to)
{
    UITABLEVIEW_CHANGE({
        m_pending->movedRows.emplace_back(at, to);
        recordUpdate({Update::Kind::moveRow, {at, to}, {}, std::nullopt});
    });
}

void UITableView::insertSections(const std::vector<std::int64_t>& sections, RowAnimation with)
{
    UITABLEVIEW_CHANGE({
        m_pending->insertedSections.insert(sections.begin(), sections.end());
        recordUpdate({Update::Kind::insertSections, {}, sections, with});
    });
}

void UITableView::deleteSections(const std::vector<std::int64_t>& sections, RowAnimation with)
{
    UITABLEVIEW_CHANGE({
        m_pending->deletedSections.insert(sections.begin(), sections.end());
        recordUpdate({Update::Kind::deleteSections, {}, sections, with});
    });
}

void UITableView::reloadSections(const std::vector<std::int64_t>& sections, RowAnimation with)
{
    UITABLEVIEW_CHANGE({
        m_pending->deletedSections.insert(sections.begin(), sections.end());
        m_pending->insertedSections.insert(sections.begin(), sections.end());
        recordUpdate({Update::Kind::reloadSections, {}, sections, with});
    });
}

void UITableView::moveSection(std::int64_t section, std::int64_t toSection)
{
    UITABLEVIEW_CHANGE({
        m_pending->movedSections.emplace_back(section, toSection);
        recordUpdate({Update::Kind::moveSection, {}, {section, toSection}, std::nullopt});
    });
}

#undef UITABLEVIEW_CHANGE

void UITableView::applyPendingUpdates()
{
    // Rows move and change: each is measured again once shown.
    m_measuredHeights.clear();
    auto& pending = *m_pending;
    sortUnique(pending.deletedRows);
    sortUnique(pending.insertedRows);
    const auto oldCounts = m_rowCounts;
    const auto newCounts = fetchRowCounts();
    const auto oldSections = static_cast<std::int64_t>(oldCounts.size());
    const auto newSections = static_cast<std::int64_t>(newCounts.size());

    std::vector<std::int64_t> removedSections(pending.deletedSections.begin(), pending.deletedSections.end());
    std::vector<std::int64_t> claimedSections(pending.insertedSections.begin(), pending.insertedSections.end());
    for (const auto& [from, to] : pending.movedSections) {
        if (from < 0 || from >= oldSections || to < 0 || to >= newSections)
            invalidUpdate("attempt to move section " + std::to_string(from) + " to section " + std::to_string(to)
                          + ", but there are only " + std::to_string(oldSections) + " sections before the update and "
                          + std::to_string(newSections) + " after");
        removedSections.push_back(from);
        claimedSections.push_back(to);
    }
    sortUnique(removedSections);
    sortUnique(claimedSections);
    for (auto section : pending.deletedSections)
        if (section < 0 || section >= oldSections)
            invalidUpdate("attempt to delete section " + std::to_string(section) + ", but there are only "
                          + std::to_string(oldSections) + " sections before the update");
    for (auto section : pending.insertedSections)
        if (section < 0 || section >= newSections)
            invalidUpdate("attempt to insert section " + std::to_string(section) + " but there are only "
                          + std::to_string(newSections) + " sections after the update");
    if (newSections != oldSections + static_cast<std::int64_t>(pending.insertedSections.size())
            - static_cast<std::int64_t>(pending.deletedSections.size()))
        invalidUpdate("invalid number of sections. The number of sections contained in the table view after the update ("
                      + std::to_string(newSections)
                      + ") must be equal to the number of sections contained in the table view before the update ("
                      + std::to_string(oldSections) + "), plus or minus the number of sections inserted or deleted ("
                      + count(pending.insertedSections.size()) + " inserted, " + count(pending.deletedSections.size())
                      + " deleted).");

    const auto sectionMap = mapPositions(oldSections, removedSections, claimedSections, pending.movedSections, newSections);
    std::vector<std::optional<std::int64_t>> oldSectionOf(static_cast<std::size_t>(newSections));
    for (std::int64_t old = 0; old < oldSections; ++old)
        if (auto mapped = sectionMap[static_cast<std::size_t>(old)]; mapped && !pending.deletedSections.contains(old))
            oldSectionOf[static_cast<std::size_t>(*mapped)] = old;

    for (const auto& path : pending.deletedRows) {
        if (path.section() < 0 || path.section() >= oldSections || path.row() < 0
            || path.row() >= oldCounts[static_cast<std::size_t>(path.section())])
            invalidUpdate("attempt to delete row " + std::to_string(path.row()) + " from section "
                          + std::to_string(path.section()) + " which only contains "
                          + (path.section() >= 0 && path.section() < oldSections
                                 ? std::to_string(oldCounts[static_cast<std::size_t>(path.section())])
                                 : std::string("0"))
                          + " rows before the update");
    }
    for (const auto& path : pending.insertedRows) {
        if (path.section() < 0 || path.section() >= newSections || path.row() < 0
            || path.row() >= newCounts[static_cast<std::size_t>(path.section())])
            invalidUpdate("attempt to insert row " + std::to_string(path.row()) + " into section "
                          + std::to_string(path.section()) + ", but there are only "
                          + (path.section() >= 0 && path.section() < newSections
                                 ? std::to_string(newCounts[static_cast<std::size_t>(path.section())])
                                 : std::string("0"))
                          + " rows in section " + std::to_string(path.section()) + " after the update");
    }

    // Row counts of every section that exists before and after.
    std::map<Foundation::IndexPath, std::shared_ptr<UITableViewCell>> moved;
    std::set<Foundation::IndexPath> selected;
    auto rowsOf = [](const std::vector<Foundation::IndexPath>& paths, std::int64_t section) {
        auto first = std::lower_bound(paths.begin(), paths.end(), Foundation::IndexPath::withRow(0, section));
        auto last = std::lower_bound(first, paths.end(), Foundation::IndexPath::withRow(0, section + 1));
        return std::ranges::subrange(first, last);
    };
    for (std::int64_t section = 0; section < newSections; ++section) {
        const auto old = oldSectionOf[static_cast<std::size_t>(section)];
        if (!old || pending.insertedSections.contains(section))
            continue;
        std::size_t movedIn = 0, movedOut = 0;
        const auto deletedHere = rowsOf(pending.deletedRows, *old);
        const auto insertedHere = rowsOf(pending.insertedRows, section);
        const auto deleted = static_cast<std::size_t>(deletedHere.size());
        const auto inserted = static_cast<std::size_t>(insertedHere.size());
        for (const auto& [from, to] : pending.movedRows) {
            movedOut += from.section() == *old;
            movedIn += to.section() == section;
        }
        const auto before = oldCounts[static_cast<std::size_t>(*old)];
        const auto after = newCounts[static_cast<std::size_t>(section)];
        if (after != before + static_cast<std::int64_t>(inserted + movedIn) - static_cast<std::int64_t>(deleted + movedOut))
            invalidUpdate("invalid number of rows in section " + std::to_string(section)
                          + ". The number of rows contained in an existing section after the update ("
                          + std::to_string(after)
                          + ") must be equal to the number of rows contained in that section before the update ("
                          + std::to_string(before) + "), plus or minus the number of rows inserted or deleted from that section ("
                          + count(inserted) + " inserted, " + count(deleted)
                          + " deleted) and plus or minus the number of rows moved into or out of that section ("
                          + count(movedIn) + " moved in, " + count(movedOut) + " moved out).");
        // Cells of rows that stay keep showing their rows at the rows' new places. Only the selected and
        // the visible rows are followed: a table can hold many more rows than either. Without moves a
        // row's new place is found among the sorted paths, with no map of every row.
        std::vector<std::optional<std::int64_t>> rowMap;
        if (!pending.movedRows.empty()) {
            std::vector<std::int64_t> removed, claimed;
            std::vector<std::pair<std::int64_t, std::int64_t>> moves;
            for (const auto& path : deletedHere)
                removed.push_back(path.row());
            for (const auto& path : insertedHere)
                claimed.push_back(path.row());
            for (const auto& [from, to] : pending.movedRows) {
                if (from.section() == *old)
                    removed.push_back(from.row());
                if (to.section() == section)
                    claimed.push_back(to.row());
                if (from.section() == *old && to.section() == section)
                    moves.emplace_back(from.row(), to.row());
            }
            sortUnique(removed);
            sortUnique(claimed);
            rowMap = mapPositions(before, removed, claimed, moves, after);
        }
        auto rowsBelow = [](const auto& paths, std::int64_t row) {
            return static_cast<std::int64_t>(std::ranges::lower_bound(paths, row, {}, &Foundation::IndexPath::row) - paths.begin());
        };
        auto newPlace = [&](const Foundation::IndexPath& path) -> std::optional<std::int64_t> {
            if (path.section() != *old || path.row() < 0 || path.row() >= before || sortedContains(pending.deletedRows, path))
                return std::nullopt;
            if (!pending.movedRows.empty())
                return rowMap[static_cast<std::size_t>(path.row())];
            // The row stays as the how-many-th of those that stay, and takes that place among the new
            // rows that no insertion claims.
            const auto staying = path.row() - rowsBelow(deletedHere, path.row());
            auto low = staying;
            auto high = staying + static_cast<std::int64_t>(inserted);
            while (low < high) {
                const auto middle = low + (high - low) / 2;
                if (middle + 1 - rowsBelow(insertedHere, middle + 1) > staying)
                    high = middle;
                else
                    low = middle + 1;
            }
            return low < after ? std::optional(low) : std::nullopt;
        };
        for (const auto& path : m_selectedRows)
            if (auto to = newPlace(path))
                selected.insert(Foundation::IndexPath::withRow(*to, section));
        for (auto cell = m_visibleCells.begin(); cell != m_visibleCells.end();) {
            if (auto to = newPlace(cell->first)) {
                moved[Foundation::IndexPath::withRow(*to, section)] = cell->second;
                cell = m_visibleCells.erase(cell);
            } else {
                ++cell;
            }
        }
    }
    for (const auto& [from, to] : pending.movedRows) {
        if (m_selectedRows.contains(from))
            selected.insert(to);
        auto cell = m_visibleCells.find(from);
        if (cell != m_visibleCells.end() && !moved.contains(to)) {
            moved[to] = cell->second;
            m_visibleCells.erase(cell);
        }
    }
    for (auto& [indexPath, cell] : m_visibleCells)
        recycle(cell);
    m_visibleCells = std::move(moved);
    recycleHeadersAndFooters();
    m_selectedRows = std::move(selected);
    m_highlightedRow.reset();
    m_rowCounts = newCounts;
    layoutRows();
}

} // namespace UIKit
