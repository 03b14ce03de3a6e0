#include "Shared/Screens/EntriesVC.hpp"

#include "Shared/Screens/EntriesSearch.hpp"
#include "Shared/Screens/EntriesVC.Worker.hpp"
#include "Shared/Screens/EntriesVCDelegate.hpp"
#include "Shared/Screens/EntryCell.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/UITableView.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"

#include <mutex>
#include <utility>

namespace Shared {

using Foundation::IndexPath;
using Foundation::String;

// What the main thread and the worker share: the step asked for next, and the worker's own state.
struct EntriesVC::Work {
    std::mutex mutex;
    std::optional<EntriesVCWorker::Request> next;
    // Only on the work queue.
    EntriesVCWorker worker;
};

// --- Asking for the items and showing them -------------------------------------------------------------

void EntriesVC::requestEntries()
{
    m_needsEntries = false;
    const auto& config = **m_config;
    m_searchableFields = config.preferenceStore ? config.preferenceStore->searchableFields() : Settings::Items::SearchableFields {};
    Items items(std::vector<EntryIndex> {});
    auto delegate = this->delegate();
    if (delegate && config.authenticationState.isAuthenticated() && delegate->canShowEntries(*this))
        items = delegate->entryIndices(config.filter, config.sortMethod, *this);
    submit(std::move(items));
}

bool EntriesVC::narrowsToDomain(const String& searchText) const
{
    // The picker shows the link's site until the user searches, and then every item.
    const auto* picker = *m_config ? (*m_config)->mode.as<Config::Mode::Picker>() : nullptr;
    return picker && !picker->domainText.isEmpty() && searchText.isEmpty();
}

void EntriesVC::searchTextDidChange()
{
    auto text = searchText();
    if (*m_config)
        (*m_config)->searchState.text = text;
    if (narrowsToDomain(text) != narrowsToDomain(m_requestedSearchText)) {
        requestEntries();
        return;
    }
    submit(std::nullopt);
}

void EntriesVC::submit(std::optional<Items> items)
{
    m_requestedSearchText = searchText();
    if (!m_work) {
        m_work = std::make_shared<Work>();
        m_workQueue = Foundation::DispatchQueue::create("EntriesVC.work", Foundation::DispatchQueue::Attributes::serial,
                                                        Foundation::DispatchQoS::QoSClass::userInitiated);
    }
    {
        // Steps asked for while the worker is busy merge: it takes the newest items and search at once.
        std::lock_guard lock(m_work->mutex);
        if (!items && m_work->next)
            items = std::move(m_work->next->items);
        m_work->next = EntriesVCWorker::Request {std::move(items), m_searchableFields, m_requestedSearchText};
    }
    ++m_stepsInFlight;
    m_workQueue->async([work = m_work, weakSelf = weakSelf(this), awaited = Foundation::RunLoop::beginAwaitedWork()] {
        std::optional<EntriesVCWorker::Request> request;
        {
            std::lock_guard lock(work->mutex);
            request = std::exchange(work->next, std::nullopt);
        }
        std::shared_ptr<EntriesVCWorker::Result> result;
        if (request)
            result = std::make_shared<EntriesVCWorker::Result>(work->worker.run(*request));
        Foundation::DispatchQueue::main()->async([weakSelf, result = std::move(result)] {
            auto self = weakSelf.lock();
            if (!self)
                return;
            if (result)
                self->show(result->rows, result->changes, result->itemsArrived);
            self->stepDidEnd();
        });
        // With the rows on their way, the search index catches up, unless other items come next anyway;
        // its slowest part gives way to any step asked for meanwhile, which it would only hold up.
        bool itemsNext = false;
        {
            std::lock_guard lock(work->mutex);
            itemsNext = work->next && work->next->items;
        }
        if (!itemsNext)
            work->worker.indexItems([&work] {
                std::lock_guard lock(work->mutex);
                return work->next.has_value();
            });
    });
}

void EntriesVC::stepDidEnd()
{
    if (--m_stepsInFlight > 0)
        return;
    auto waiting = std::exchange(m_waitingForRows, {});
    for (auto& request : waiting)
        request(*this);
}

void EntriesVC::whenRowsArrive(std::function<void(EntriesVC&)> request)
{
    if (m_stepsInFlight == 0)
        request(*this);
    else
        m_waitingForRows.push_back(std::move(request));
}

void EntriesVC::show(std::shared_ptr<const EntriesVCRows> rows, const Basalwork::ChangeSet& changes, bool itemsArrived)
{
    auto apply = [&] { m_rows = std::move(rows); };
    if (isViewLoaded()) {
        // One change from what the table shows to what it is to show, so rows that stay keep their
        // cells, their place on screen and their selection.
        using RowAnimation = UIKit::UITableView::RowAnimation;
        Basalwork::performBatchUpdates(*m_tableView, changes, apply, RowAnimation::fade, RowAnimation::fade,
                                       [this](const IndexPath& indexPath) { reconfigureCell(indexPath); }, nullptr);
    } else {
        apply();
    }
    bool selectionChanged = false;
    if (itemsArrived) {
        m_hasItems = true;
        // Items deleted meanwhile leave the selection, and the owner hears of it, so nothing goes on
        // showing an item that is gone.
        auto selected = m_selectedEntryIDs.size();
        std::erase_if(m_selectedEntryIDs, [&](const String& entryID) { return !m_rows->contains(entryID); });
        selectionChanged = m_selectedEntryIDs.size() != selected;
    }
    if (!isViewLoaded())
        return;
    updateEmptyLabel();
    applySelectionToTable(false);
    if (selectionChanged)
        reportSelection(true);
}

void EntriesVC::updateEmptyLabel()
{
    bool isEmpty = m_hasItems && m_rows->shownCount() == 0;
    m_emptyLabel->setIsHidden(!isEmpty);
    if (isEmpty)
        m_emptyLabel->setText(EntriesSearch::words(m_rows->searchText()).empty() ? String("No Items") : String("No Results"));
}

void EntriesVC::reconfigureCell(const IndexPath& indexPath)
{
    auto cell = std::dynamic_pointer_cast<EntryCell>(m_tableView->cellForRow(indexPath));
    if (const auto* row = rowAt(indexPath); cell && row)
        cell->configure(*row, m_listStyle, m_appearance);
}

void EntriesVC::reconfigureVisibleCells()
{
    for (const auto& indexPath : m_tableView->indexPathsForVisibleRows().value_or(std::vector<IndexPath> {}))
        reconfigureCell(indexPath);
}

// --- The rows shown -------------------------------------------------------------------------------------

std::vector<String> EntriesVC::shownEntryIDs() const
{
    std::vector<String> ids;
    ids.reserve(m_rows->shownCount());
    for (std::size_t row = 0; row < m_rows->shownCount(); ++row)
        ids.push_back(m_rows->shownItem(row).entryID);
    return ids;
}

std::int64_t EntriesVC::shownCount() const
{
    return static_cast<std::int64_t>(m_rows->shownCount());
}

const String& EntriesVC::shownID(std::int64_t row) const
{
    return m_rows->shownItem(static_cast<std::size_t>(row)).entryID;
}

std::optional<std::int64_t> EntriesVC::rowOf(const String& entryID) const
{
    return m_rows->shownRow(entryID);
}

const EntryIndex* EntriesVC::rowAt(const IndexPath& indexPath) const
{
    if (indexPath.row() < 0 || indexPath.row() >= shownCount())
        return nullptr;
    return &m_rows->shownItem(static_cast<std::size_t>(indexPath.row()));
}

} // namespace Shared
