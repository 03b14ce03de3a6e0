#include "Shared/Screens/EntriesVC.hpp"

#include "Shared/Screens/EntriesVC.Rows.hpp"

#include "Shared/Screens/EntriesVCDelegate.hpp"
#include "Shared/Screens/EntryCell.hpp"

#include "Basalwork/Interface/UITableView.hpp"
#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <algorithm>
#include <utility>

namespace Shared {

using Foundation::IndexPath;
using Foundation::String;

// --- The table's data source and delegate -------------------------------------------------------------

std::int64_t EntriesVC::numberOfRowsInSection(UIKit::UITableView& /*tableView*/, std::int64_t /*section*/)
{
    return shownCount();
}

std::shared_ptr<UIKit::UITableViewCell> EntriesVC::cellForRowAt(UIKit::UITableView& tableView, const IndexPath& indexPath)
{
    auto cell = std::static_pointer_cast<EntryCell>(tableView.dequeueReusableCell(EntryCell::reuseIdentifier, indexPath));
    if (const auto* row = rowAt(indexPath))
        cell->configure(*row, m_listStyle, m_appearance);
    return cell;
}

void EntriesVC::didSelectRowAt(UIKit::UITableView& /*tableView*/, const IndexPath& indexPath)
{
    const auto* row = rowAt(indexPath);
    if (!row)
        return;
    if (m_isSelectingMultiple) {
        if (std::ranges::find(m_selectedEntryIDs, row->entryID) == m_selectedEntryIDs.end())
            m_selectedEntryIDs.push_back(row->entryID);
    } else {
        m_selectedEntryIDs = {row->entryID};
    }
    m_anchorRow = indexPath.row();
    m_lastMovedRow = indexPath.row();
    reportSelection(true);
}

void EntriesVC::didDeselectRowAt(UIKit::UITableView& /*tableView*/, const IndexPath& indexPath)
{
    const auto* row = rowAt(indexPath);
    if (!row || !m_isSelectingMultiple)
        return;
    std::erase(m_selectedEntryIDs, row->entryID);
    reportSelection(true);
}

std::shared_ptr<UIKit::UIView> EntriesVC::viewForRow(const IndexPath& indexPath) const
{
    if (auto cell = m_tableView->cellForRow(indexPath))
        return cell;
    return m_tableView;
}

std::shared_ptr<UIKit::UIContextMenuConfiguration> EntriesVC::contextMenuConfigurationForRowAt(UIKit::UITableView& /*tableView*/,
                                                                                                const IndexPath& indexPath, UIKit::CGPoint /*point*/)
{
    const auto* row = rowAt(indexPath);
    auto delegate = this->delegate();
    if (!row || !delegate)
        return nullptr;
    // A click on one of several selected items is about all of them.
    std::vector<String> entryIDs {row->entryID};
    if (std::ranges::find(m_selectedEntryIDs, row->entryID) != m_selectedEntryIDs.end())
        entryIDs = m_selectedEntryIDs;
    auto menu = delegate->contextMenu(entryIDs, viewForRow(indexPath), *this);
    if (!menu)
        return nullptr;
    UIKit::UIContextMenuConfiguration::ActionProvider provider = [menu](const std::vector<std::shared_ptr<UIKit::UIMenuElement>>&) { return menu; };
    return Foundation::make<UIKit::UIContextMenuConfiguration>(std::optional<String>(), UIKit::UIContextMenuConfiguration::PreviewProvider(),
                                                               std::move(provider));
}

std::shared_ptr<UIKit::UISwipeActionsConfiguration> EntriesVC::leadingSwipeActionsConfigurationForRowAt(UIKit::UITableView& /*tableView*/,
                                                                                                        const IndexPath& indexPath)
{
    const auto* row = rowAt(indexPath);
    auto delegate = this->delegate();
    if (!row || !delegate || !delegate->allowsLeadingSwipeActions(*this))
        return nullptr;
    auto entryID = row->entryID;
    using Copy = void (EntriesTVCDelegate::*)(const String&, EntriesTVCDelegate::SwipeCompletion, EntriesVC&);
    std::vector<std::shared_ptr<UIKit::UIContextualAction>> actions;
    auto add = [&](bool available, const char* title, Copy copy) {
        if (!available)
            return;
        actions.push_back(Foundation::make<UIKit::UIContextualAction>(
            UIKit::UIContextualAction::Style::normal, String(title),
            [weakSelf = weakSelf(this), entryID, copy](const auto&, const auto&, UIKit::UIContextualAction::CompletionHandler completion) {
                auto self = weakSelf.lock();
                auto delegate = self ? self->delegate() : nullptr;
                if (!delegate) {
                    completion(false);
                    return;
                }
                ((*delegate).*copy)(entryID, std::move(completion), *self);
            }));
    };
    add(delegate->username(entryID, *this).has_value(), "Copy Username", &EntriesTVCDelegate::copyUsername);
    add(delegate->password(entryID, *this).has_value(), "Copy Password", &EntriesTVCDelegate::copyPassword);
    add(delegate->oneTimePassword(entryID, *this).has_value(), "Copy One-Time Password", &EntriesTVCDelegate::copyOneTimePassword);
    if (actions.empty())
        return nullptr;
    return Foundation::make<UIKit::UISwipeActionsConfiguration>(std::move(actions));
}

std::shared_ptr<UIKit::UISwipeActionsConfiguration> EntriesVC::trailingSwipeActionsConfigurationForRowAt(UIKit::UITableView& /*tableView*/,
                                                                                                         const IndexPath& indexPath)
{
    const auto* row = rowAt(indexPath);
    auto delegate = this->delegate();
    if (!row || !delegate || !delegate->allowsTrailingSwipeActions(*this))
        return nullptr;
    const auto& index = *row;
    using Swipe = void (EntriesTVCDelegate::*)(const String&, const std::shared_ptr<UIKit::UIView>&, EntriesTVCDelegate::SwipeCompletion, EntriesVC&);
    std::vector<std::shared_ptr<UIKit::UIContextualAction>> actions;
    auto sourceView = viewForRow(indexPath);
    auto add = [&](const char* title, Swipe swipe, bool isDestructive = false) {
        actions.push_back(Foundation::make<UIKit::UIContextualAction>(
            isDestructive ? UIKit::UIContextualAction::Style::destructive : UIKit::UIContextualAction::Style::normal, String(title),
            [weakSelf = weakSelf(this), entryID = index.entryID, weakSource = std::weak_ptr<UIKit::UIView>(sourceView),
             swipe](const auto&, const auto&, UIKit::UIContextualAction::CompletionHandler completion) {
                auto self = weakSelf.lock();
                auto delegate = self ? self->delegate() : nullptr;
                if (!delegate) {
                    completion(false);
                    return;
                }
                ((*delegate).*swipe)(entryID, weakSource.lock(), std::move(completion), *self);
            }));
    };
    if (index.isTrashed) {
        add("Restore", &EntriesTVCDelegate::didSwipeToRestore);
        add("Delete Permanently", &EntriesTVCDelegate::didSwipeToDeletePermanently, true);
    } else {
        add("Move to Trash", &EntriesTVCDelegate::didSwipeToMoveToTrash, true);
        if (index.isArchived)
            add("Unarchive", &EntriesTVCDelegate::didSwipeToUnarchive);
        else
            add("Archive", &EntriesTVCDelegate::didSwipeToArchive);
        add("Share", &EntriesTVCDelegate::didSwipeToShare);
        add("Duplicate", &EntriesTVCDelegate::didSwipeToDuplicate);
        if (index.isFavorite)
            add("Unfavorite", &EntriesTVCDelegate::didSwipeToUnfavorite);
        else
            add("Favorite", &EntriesTVCDelegate::didSwipeToFavorite);
    }
    return Foundation::make<UIKit::UISwipeActionsConfiguration>(std::move(actions));
}

} // namespace Shared
