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

std::optional<Foundation::IndexPath> UITableView::indexPathForSelectedRow() const
{
    if (m_selectedRows.empty())
        return std::nullopt;
    return *m_selectedRows.begin();
}

std::optional<std::vector<Foundation::IndexPath>> UITableView::indexPathsForSelectedRows() const
{
    if (m_selectedRows.empty())
        return std::nullopt;
    return std::vector<Foundation::IndexPath>(m_selectedRows.begin(), m_selectedRows.end());
}

void UITableView::selectRow(const std::optional<Foundation::IndexPath>& at, bool /*animated*/, ScrollPosition scrollPosition)
{
    if (!at || !selectsMultiple()) {
        for (const auto& row : std::set(m_selectedRows))
            if (row != at)
                deselectRow(row, false);
    }
    if (!at)
        return;
    m_selectedRows.insert(*at);
    if (scrollPosition != ScrollPosition::none)
        scrollToRow(*at, scrollPosition, false);
    if (auto cell = cellForRow(*at))
        cell->setIsSelected(true);
}

void UITableView::deselectRow(const Foundation::IndexPath& at, bool animated)
{
    if (m_selectedRows.erase(at) == 0)
        return;
    if (auto cell = cellForRow(at))
        cell->setIsSelected(false, animated);
}

CGRect UITableView::rectForRow(const Foundation::IndexPath& at)
{
    loadIfNeeded();
    if (at.section() < 0 || at.section() >= static_cast<std::int64_t>(m_rowTops.size()))
        return {};
    const auto& tops = m_rowTops[static_cast<std::size_t>(at.section())];
    if (at.row() < 0 || at.row() + 1 >= static_cast<std::int64_t>(tops.size()))
        return {};
    const auto row = static_cast<std::size_t>(at.row());
    return {{0, tops[row]}, {bounds().size.width, tops[row + 1] - tops[row]}};
}

void UITableView::scrollToRow(const Foundation::IndexPath& at, ScrollPosition position, bool animated)
{
    loadIfNeeded();
    Foundation::precondition(at.section() >= 0 && at.section() < static_cast<std::int64_t>(m_rowCounts.size())
                                 && at.row() >= 0 && at.row() < m_rowCounts[static_cast<std::size_t>(at.section())],
                             "Attempt to scroll to invalid index path: " + at.description());
    const CGRect rect = rectForRow(at);
    if (position == ScrollPosition::none) {
        scrollRectToVisible(rect, animated);
        return;
    }
    const auto inset = contentInset();
    const CGFloat visible = bounds().size.height - inset.top - inset.bottom;
    CGFloat y = rect.origin.y - inset.top;
    if (position == ScrollPosition::middle)
        y -= (visible - rect.size.height) / 2;
    else if (position == ScrollPosition::bottom)
        y -= visible - rect.size.height;
    const CGFloat lowest = -inset.top;
    const CGFloat highest = std::max(lowest, contentSize().height + inset.bottom - bounds().size.height);
    setContentOffset({contentOffset().x, std::clamp(y, lowest, highest)}, animated);
}

void UITableView::setEditing(bool editing, bool /*animated*/)
{
    if (editing == m_isEditing)
        return;
    m_isEditing = editing;
    // Selection does not carry over between the modes.
    selectRow(std::nullopt, false, ScrollPosition::none);
}

std::optional<Foundation::IndexPath> UITableView::indexPathForRow(CGPoint at)
{
    loadIfNeeded();
    if (at.x < 0 || at.x >= bounds().size.width)
        return std::nullopt;
    for (std::size_t section = 0; section < m_rowTops.size(); ++section) {
        const auto& tops = m_rowTops[section];
        if (tops.size() < 2 || at.y < tops.front() || at.y >= tops.back())
            continue;
        // The last row starting at or above the point; rows of no height start where the next does.
        const auto next = std::upper_bound(tops.begin(), tops.end(), at.y);
        return Foundation::IndexPath::withRow(next - tops.begin() - 1, static_cast<std::int64_t>(section));
    }
    return std::nullopt;
}

void UITableView::setHighlightedRow(const std::optional<Foundation::IndexPath>& row)
{
    if (row == m_highlightedRow)
        return;
    auto delegate = this->delegate();
    if (auto previous = std::exchange(m_highlightedRow, std::nullopt)) {
        if (auto cell = cellForRow(*previous))
            cell->setIsHighlighted(false);
        if (delegate)
            delegate->didUnhighlightRowAt(*this, *previous);
    }
    if (!row || (delegate && !delegate->shouldHighlightRowAt(*this, *row)))
        return;
    m_highlightedRow = row;
    if (auto cell = cellForRow(*row))
        cell->setIsHighlighted(true);
    if (delegate)
        delegate->didHighlightRowAt(*this, *row);
}

void UITableView::deselectByUser(const Foundation::IndexPath& indexPath)
{
    auto delegate = this->delegate();
    auto row = delegate ? delegate->willDeselectRowAt(*this, indexPath) : std::optional(indexPath);
    if (!row || !m_selectedRows.contains(*row))
        return;
    deselectRow(*row, true);
    if (delegate)
        delegate->didDeselectRowAt(*this, *row);
}

void UITableView::selectByUser(const Foundation::IndexPath& indexPath)
{
    if (m_isEditing ? !m_allowsSelectionDuringEditing && !m_allowsMultipleSelectionDuringEditing : !m_allowsSelection)
        return;
    if (selectsMultiple() && m_selectedRows.contains(indexPath)) {
        deselectByUser(indexPath);
        return;
    }
    auto delegate = this->delegate();
    auto row = delegate ? delegate->willSelectRowAt(*this, indexPath) : std::optional(indexPath);
    if (!row)
        return;
    if (!selectsMultiple())
        for (const auto& selected : std::set(m_selectedRows))
            if (selected != *row)
                deselectByUser(selected);
    if (m_selectedRows.contains(*row) && !selectsMultiple())
        return;
    selectRow(*row, true, ScrollPosition::none);
    if (delegate)
        delegate->didSelectRowAt(*this, *row);
}

void UITableView::touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&)
{
    if (touches.empty())
        return;
    setHighlightedRow(indexPathForRow(touches.front()->location(sharedSelf(this))));
}

void UITableView::touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&)
{
    // A finger that leaves its row lets go of it.
    if (!touches.empty() && m_highlightedRow && indexPathForRow(touches.front()->location(sharedSelf(this))) != m_highlightedRow)
        setHighlightedRow(std::nullopt);
}

void UITableView::touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>&)
{
    auto row = m_highlightedRow;
    setHighlightedRow(std::nullopt);
    if (!touches.empty() && row && indexPathForRow(touches.front()->location(sharedSelf(this))) == row)
        selectByUser(*row);
}

void UITableView::touchesCancelled(const std::vector<std::shared_ptr<UITouch>>&, const std::shared_ptr<UIEvent>&)
{
    setHighlightedRow(std::nullopt);
}

std::shared_ptr<UIMenu> UITableView::contextMenu(const Foundation::IndexPath& forRowAt, CGPoint point)
{
    auto delegate = this->delegate();
    auto configuration = delegate ? delegate->contextMenuConfigurationForRowAt(*this, forRowAt, point) : nullptr;
    return configuration ? configuration->makeMenu() : nullptr;
}

std::shared_ptr<UISwipeActionsConfiguration> UITableView::swipeActionsConfiguration(const Foundation::IndexPath& forRowAt, bool leading)
{
    auto delegate = this->delegate();
    if (!delegate)
        return nullptr;
    return leading ? delegate->leadingSwipeActionsConfigurationForRowAt(*this, forRowAt)
                   : delegate->trailingSwipeActionsConfigurationForRowAt(*this, forRowAt);
}

} // namespace UIKit
