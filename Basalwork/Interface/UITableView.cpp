#include "Basalwork/Interface/UITableView.hpp"

#include <utility>

namespace Basalwork {

UIKit::CGFloat adjustedContentWidth(const UIKit::UITableView& tableView)
{
    const auto insets = tableView.safeAreaInsets();
    return tableView.bounds().size.width - insets.left - insets.right;
}

void performBatchUpdates(UIKit::UITableView& tableView, const ChangeSet& for_, const std::function<void()>& updateDatasource,
                         UIKit::UITableView::RowAnimation removeAnimation, UIKit::UITableView::RowAnimation insertAnimation,
                         const std::function<void(const Foundation::IndexPath&)>& updateCell,
                         std::function<void(bool)> completion)
{
    const auto* animate = for_.updateAction().as<ChangeSet::UpdateAction::Animate>();
    if (!animate) {
        updateDatasource();
        tableView.reloadData();
        if (completion)
            completion(true);
        return;
    }
    std::vector<std::int64_t> removedSections, insertedSections;
    std::vector<std::pair<std::int64_t, std::int64_t>> movedSections;
    for (const auto& difference : animate->sectionDifferences) {
        if (auto removed = difference.as<Difference::Removed>())
            removedSections.push_back(removed->from);
        else if (auto inserted = difference.as<Difference::Inserted>())
            insertedSections.push_back(inserted->at);
        else if (auto moved = difference.as<Difference::Moved>())
            movedSections.emplace_back(moved->from, moved->to);
    }
    std::vector<Foundation::IndexPath> removedRows, insertedRows;
    std::vector<std::pair<Foundation::IndexPath, Foundation::IndexPath>> movedRows;
    // Made at their sizes: a search can remove most of a large list in one batch.
    std::size_t removals = 0;
    std::size_t insertions = 0;
    for (const auto& section : animate->itemDifferencesPerSection)
        for (const auto& difference : section.differences) {
            removals += difference.is<Difference::Removed>();
            insertions += difference.is<Difference::Inserted>();
        }
    removedRows.reserve(removals);
    insertedRows.reserve(insertions);
    for (const auto& section : animate->itemDifferencesPerSection) {
        for (const auto& difference : section.differences) {
            if (auto removed = difference.as<Difference::Removed>())
                removedRows.push_back(Foundation::IndexPath::withRow(removed->from, section.fromSectionIndex));
            else if (auto inserted = difference.as<Difference::Inserted>())
                insertedRows.push_back(Foundation::IndexPath::withRow(inserted->at, section.toSectionIndex));
            else if (auto moved = difference.as<Difference::Moved>())
                movedRows.emplace_back(Foundation::IndexPath::withRow(moved->from, section.fromSectionIndex),
                                       Foundation::IndexPath::withRow(moved->to, section.toSectionIndex));
        }
    }
    using RowAnimation = UIKit::UITableView::RowAnimation;
    tableView.performBatchUpdates([&] {
        updateDatasource();
        if (!removedSections.empty())
            tableView.deleteSections(removedSections, RowAnimation::fade);
        if (!removedRows.empty())
            tableView.deleteRows(removedRows, removeAnimation);
        if (!insertedSections.empty())
            tableView.insertSections(insertedSections, RowAnimation::fade);
        if (!insertedRows.empty())
            tableView.insertRows(insertedRows, insertAnimation);
        for (const auto& [from, to] : movedSections)
            tableView.moveSection(from, to);
        for (const auto& [from, to] : movedRows)
            tableView.moveRow(from, to);
    });
    // Every row on screen now shows the new data, changed or not.
    tableView.performBatchUpdates(
        [&] {
            for (const auto& indexPath : tableView.indexPathsForVisibleRows().value_or(std::vector<Foundation::IndexPath> {}))
                updateCell(indexPath);
        },
        std::move(completion));
}

void reloadVisibleCells(UIKit::UITableView& tableView, UIKit::UITableView::RowAnimation animation)
{
    if (auto visible = tableView.indexPathsForVisibleRows())
        tableView.reloadRows(*visible, animation);
    else
        tableView.reloadData();
}

void resizeVisibleCells(UIKit::UITableView& tableView)
{
    tableView.beginUpdates();
    tableView.endUpdates();
}

} // namespace Basalwork
