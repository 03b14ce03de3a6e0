#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/RecordSealing.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <map>
#include <mutex>

namespace Shared {

// What another process saved (the extension stamping an item it filled in, adding one) reaches this
// process's index through the store's history: only the items it names are read and opened.

namespace {

// History the index no longer needs is forgotten once this much of it has gathered.
constexpr std::int64_t forgetHistoryAfter = 1000;

} // namespace

std::optional<bool> RecordStore::takeInChangesByOthers(std::uint64_t generation, std::int64_t storeChangeCount) const
{
    std::int64_t stamp;
    {
        std::lock_guard lock(m_indexMutex);
        if (!m_index || generation != m_indexGeneration)
            return std::nullopt;
        stamp = m_indexHistoryStamp;
    }
    CoreData::NSPersistentHistoryResult history;
    try {
        history = m_context->execute(CoreData::NSPersistentHistoryChangeRequest::fetchHistory(CoreData::NSPersistentHistoryToken(stamp)));
    } catch (const Foundation::Error&) {
        return std::nullopt; // forgotten meanwhile
    }
    // Each item others changed, by the last of its changes; this process's own reached the index as
    // they were saved.
    std::map<std::int64_t, const CoreData::NSPersistentHistoryChange*> changes;
    bool savedByOthers = false;
    for (const auto& change : history.changes) {
        savedByOthers = savedByOthers || !change.isLocal;
        if (change.changedObjectID.entityName() == EntryObject::entityName())
            changes[change.changedObjectID.primaryKey()] = &change;
    }
    std::erase_if(changes, [](const auto& change) { return change.second->isLocal; });
    std::vector<Foundation::String> removed;
    std::vector<CoreData::Value> changedIDs;
    for (const auto& [key, change] : changes) {
        if (change->changeType != CoreData::NSPersistentHistoryChange::ChangeType::delete_) {
            changedIDs.emplace_back(change->changedObjectID);
        } else if (auto name = change->tombstone.find(SyncedObject::recordNameKey); name != change->tombstone.end() && name->second.as<Foundation::String>()) {
            removed.push_back(*name->second.as<Foundation::String>());
        }
    }
    std::vector<std::vector<CoreData::Value>> rows;
    if (!changedIDs.empty()) {
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(EntryObject::entityName());
        request.setPredicate(CoreData::key("self").in(std::move(changedIDs)));
        request.setPropertiesToFetch({SyncedObject::recordNameKey, "sealedIndex", "remoteSealedEntry", Syncwright::Syncable::isLocallyDeletedKey});
        rows = m_context->fetchValues(request);
    }

    auto key = m_cryptor->itemSecretsKey();
    std::vector<std::optional<EntryIndex>> opened(rows.size());
    concurrentPerform(rows.size(), [&](std::size_t i) {
        const auto* name = rows[i][0].as<Foundation::String>();
        const auto* sealed = rows[i][1].as<Foundation::Data>();
        if (name && sealed && rows[i][2].isNil())
            opened[i] = RecordSealing::openSummary(*name, *sealed, key);
    });
    std::vector<EntryIndex> changed;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto* name = rows[i][0].as<Foundation::String>();
        if (!name)
            continue;
        if (const auto* deleted = rows[i][3].as<bool>(); deleted && *deleted) {
            removed.push_back(*name);
            continue;
        }
        // A fetched record to merge, or a summary to make again: the whole reading does that.
        if (!opened[i])
            return std::nullopt;
        changed.push_back(std::move(*opened[i]));
    }
    std::lock_guard lock(m_indexMutex);
    if (!m_index || generation != m_indexGeneration)
        return std::nullopt;
    for (auto& summary : changed)
        m_index->insert(std::move(summary));
    for (const auto& id : removed)
        m_index->remove(id);
    m_indexHistoryStamp = history.token.stamp();
    m_indexStoreChangeCount = storeChangeCount;
    // Others' changes to what the index does not hold (attachments, the vault) are news to the screens too.
    return savedByOthers;
}

void RecordStore::advanceHistory(std::uint64_t generation) const
{
    // The token first, then the count: had another process saved in between, the count would tell.
    auto token = m_context->currentPersistentHistoryToken();
    auto count = m_context->storeChangeCountByOthers();
    std::int64_t forget = 0;
    {
        std::lock_guard lock(m_indexMutex);
        if (!m_index || generation != m_indexGeneration || count != m_indexStoreChangeCount)
            return;
        m_indexHistoryStamp = std::max(m_indexHistoryStamp, token.stamp());
        if (m_indexHistoryStamp - m_forgottenHistoryStamp < forgetHistoryAfter)
            return;
        forget = m_indexHistoryStamp;
        m_forgottenHistoryStamp = forget;
    }
    // Another process behind it reads its store afresh.
    m_context->execute(CoreData::NSPersistentHistoryChangeRequest::deleteHistory(CoreData::NSPersistentHistoryToken(forget)));
}

} // namespace Shared
