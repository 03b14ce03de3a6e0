#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/FolderWatcher.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Stores/MasterPassword.hpp"
#include "Shared/Stores/Migrations.hpp"
#include "Shared/Stores/Onboarding.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordSealing.hpp"
#include "Shared/Stores/RecordStore.BulkTransfer.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.Templates.hpp"
#include "Shared/Stores/RecordStoreError.hpp"
#include "Shared/Stores/Vault.hpp"
#include "Shared/Syncwright/CloudKitChangeToken.hpp"
#include "Shared/Syncwright/PersistentContainer.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Thread.hpp"

#include <algorithm>
#include <deque>
#include <exception>
#include <malloc.h>
#include <mutex>
#include <set>
#include <unordered_map>
#include <utility>

namespace Shared {

namespace {

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("Shared", "RecordStore");
    return logger;
}

// A summary as the index fetch reads it (record name, sealed summary, waiting fetched record); nothing
// when it must be made from the item instead: it does not open, or a fetched record waits to be merged.
std::optional<EntryIndex> openSummary(const std::vector<CoreData::Value>& row, const Cryptor::Key& key)
{
    const auto* id = row[0].as<Foundation::String>();
    const auto* sealed = row[1].as<Foundation::Data>();
    if (!id || !sealed || !row[2].isNil())
        return std::nullopt;
    return RecordSealing::openSummary(*id, *sealed, key);
}

// Only what the summaries need, without making objects.
CoreData::NSFetchRequest<CoreData::NSManagedObject> summaryRequest()
{
    CoreData::NSFetchRequest<CoreData::NSManagedObject> request(EntryObject::entityName());
    request.setPredicate(SyncedObject::notDeleted());
    // The object's ID last, which orders the batches read at once.
    request.setPropertiesToFetch({"recordName", "sealedIndex", "remoteSealedEntry", "objectID"});
    return request;
}

constexpr std::size_t summaryRowsPerBatch = 256;

// A batch of the summaries' rows, and what each became: an item without a summary where it did not open.
struct SummaryBatch {
    std::vector<std::vector<CoreData::Value>> rows;
    std::vector<RecordStore::Index::Item> items;
};

// The rows of the summaries, read by several connections at once, each batch handed to `open` on the
// thread that read it; answers them in the store's order of the objects, so that every reading of the
// same store makes the same index.
template <class Open>
std::vector<SummaryBatch> readSummaryBatches(CoreData::NSManagedObjectContext& context, Open&& open)
{
    std::mutex mutex;
    std::vector<SummaryBatch> batches;
    context.fetchValuesConcurrently(summaryRequest(), summaryRowsPerBatch, [&](std::vector<std::vector<CoreData::Value>> rows) {
        SummaryBatch batch {std::move(rows), {}};
        open(batch);
        std::lock_guard lock(mutex);
        batches.push_back(std::move(batch));
    });
    auto keyOf = [](const SummaryBatch& batch) {
        const auto* id = batch.rows.front()[3].as<CoreData::NSManagedObjectID>();
        return id ? id->primaryKey() : 0;
    };
    std::sort(batches.begin(), batches.end(), [&](const SummaryBatch& lhs, const SummaryBatch& rhs) { return keyOf(lhs) < keyOf(rhs); });
    return batches;
}

Foundation::Data inspectionContext(const Foundation::String& vaultID)
{
    return Foundation::Data::fromString("vault key for inspection/" + vaultID.utf8());
}

// The inspection password's derivation and the vault key sealed under what it derives.
struct InspectionKey {
    Cryptor::KeyDerivation derivation;
    Foundation::Data sealedVaultKey;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(derivation, "derivation");
        container.encode(sealedVaultKey, "sealedVaultKey");
    }
    static InspectionKey decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<Cryptor::KeyDerivation>("derivation"), container.decode<Foundation::Data>("sealedVaultKey")};
    }
};

std::shared_ptr<CoreData::NSManagedObjectModel> makeModel()
{
    auto model = Foundation::make<CoreData::NSManagedObjectModel>();
    model->setEntities({Migrations::entityDescription(), Onboarding::entityDescription(), MasterPassword::entityDescription(),
                        Vault::entityDescription(), EntryObject::entityDescription(), AttachmentObject::entityDescription(),
                        Syncwright::CloudKitChangeToken::makeEntityDescription()});
    return model;
}

} // namespace

// --- Notifications and construction -------------------------------------------------------------------

const Foundation::Notification::Name& RecordStore::recordStoreDidUpdateRecords()
{
    static const auto& name = *new Foundation::Notification::Name("recordStoreDidUpdateRecords");
    return name;
}

const Foundation::Notification::Name& RecordStore::recordStoreDidUpdateAutoFillAvailability()
{
    static const auto& name = *new Foundation::Notification::Name("recordStoreDidUpdateAutoFillAvailability");
    return name;
}

const Foundation::Notification::Name& RecordStore::recordStoreDidPermanentlyResetLocalAndRemoteRecords()
{
    static const auto& name = *new Foundation::Notification::Name("recordStoreDidPermanentlyResetLocalAndRemoteRecords");
    return name;
}

const char* RecordStore::defaultVaultID()
{
    return "DefaultVault";
}

const char* RecordStore::masterPasswordRecordName()
{
    return "MasterPassword";
}

std::optional<Foundation::Data> RecordStore::syncedAuthenticationRecords() const
{
    return m_context->performAndWait([&]() -> std::optional<Foundation::Data> {
        auto found = m_context->fetch(SyncedObject::existing<MasterPassword>({masterPasswordRecordName()}));
        return found.empty() ? std::nullopt : found.front()->records();
    });
}

void RecordStore::setSyncedAuthenticationRecords(const Foundation::Data& records, Foundation::Date changedAt)
{
    m_context->performAndWait([&] {
        m_context->performInWriteTransaction([&] {
            auto object = SyncedObject::findOrInsert<MasterPassword>(*m_context, masterPasswordRecordName());
            // A later change kept by another process stays.
            if (!object->isLocallyDeleted() && object->changedAt() && *object->changedAt() > changedAt)
                return;
            object->setRecords(records);
            object->setChangedAt(changedAt);
            object->markLocallyModified(Foundation::Date::now());
            saveOrRollBack();
        });
    });
}

RecordStore::RecordStore(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<Cryptor> cryptor,
                         std::shared_ptr<AttachmentDataStore> attachmentDataStore, std::shared_ptr<PreferenceStore> preferenceStore,
                         const StoreType& storeType, double timeout)
    : m_notificationCenter(std::move(notificationCenter))
    , m_cryptor(std::move(cryptor))
    , m_attachmentDataStore(std::move(attachmentDataStore))
    , m_preferenceStore(std::move(preferenceStore))
    , m_container(Foundation::make<Syncwright::PersistentContainer>("recordStore", makeModel()))
{
    // The store's history tells what the extension saved, so that the index takes in only that.
    m_container->loadPersistentStore(storeType, timeout, true);
    // Everything runs in the one background context; the screens read through the store, not the view context.
    m_container->viewContext()->setAutomaticallyMergesChangesFromParent(false);
    m_context = m_container->newBackgroundContext();
    m_context->setName(Foundation::String("RecordStore"));
}

void RecordStore::initialize()
{
    NSObject::initialize();
    // Two processes may open a new store at once: only one of them makes the vault.
    m_context->performAndWait([&] {
        m_context->performInWriteTransaction([&] {
            if (m_context->count(SyncedObject::existing<Vault>({defaultVaultID()})) > 0)
                return;
            auto vault = m_context->insertNewObject<Vault>();
            vault->setRecordName(defaultVaultID());
            vault->markLocallyModified(Foundation::Date::now());
            saveOrRollBack();
        });
    });

    std::weak_ptr<RecordStore> weak = sharedSelf(this);
    m_observers.push_back(m_notificationCenter->addObserver(Cryptor::cryptorDidUpdateVaultKey(), m_cryptor, nullptr, [weak](const Foundation::Notification&) {
        if (auto self = weak.lock())
            self->vaultKeyDidChange();
    }));
    // What the extension (or another installation, through a sync) saved shows after these.
    auto refresh = [weak](const Foundation::Notification&) {
        if (auto self = weak.lock()) {
            self->updateAutoFillAvailability();
            self->didSynchronize();
        }
    };
    // The safe-for-inspection mode changes which items exist for every reader: the lists ask again.
    m_wasSafeForInspectionModeActive = isSafeForInspectionModeActive();
    m_observers.push_back(m_notificationCenter->addObserver(PreferenceStore::preferenceStoreDidUpdate(), m_preferenceStore, nullptr,
                                                            [weak](const Foundation::Notification&) {
                                                                auto self = weak.lock();
                                                                if (!self)
                                                                    return;
                                                                bool active = self->isSafeForInspectionModeActive();
                                                                if (std::exchange(self->m_wasSafeForInspectionModeActive, active) != active)
                                                                    self->postDidUpdateRecords();
                                                            }));
    m_observers.push_back(m_notificationCenter->addObserver(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr, nullptr, refresh));
    m_observers.push_back(m_notificationCenter->addObserver(LocalChangeCoordinator::localChangeCoordinatorDidMonitorChange(), nullptr, nullptr, refresh));
    // Records the sync engine saved (fetched ones, or the account's side of a conflict) merge as soon as
    // the vault is open, so that the merged items go out with the next push.
    m_contextObserver = Foundation::NotificationCenter::defaultCenter()->addObserver(
        CoreData::NSManagedObjectContext::didSaveObjectsNotification(), m_context, nullptr, [weak](const Foundation::Notification& notification) {
            auto self = weak.lock();
            if (!self || !self->m_cryptor->isUnlocked())
                return;
            bool awaiting = false;
            for (const char* key : {CoreData::NSInsertedObjectsKey, CoreData::NSUpdatedObjectsKey}) {
                for (const auto& object : CoreData::NSManagedObjectContext::objects(notification, key)) {
                    auto entry = std::dynamic_pointer_cast<EntryObject>(object);
                    awaiting = awaiting || (entry && !entry->primitiveValue("remoteSealedEntry").isNil());
                }
            }
            if (awaiting)
                self->m_context->perform([weak] {
                    if (auto self = weak.lock())
                        Foundation::catchError([&] { self->mergeFetchedRecords(std::nullopt); });
                });
        });
    m_autoFillAvailability = autoFillAvailability();
    Foundation::catchError([&] {
        m_autoFillWatcher = std::make_unique<FolderWatcher>(
            AuthenticationServices::ASCredentialIdentityStore(Global::App::appGroupIdentifier()).folderURL().path().utf8(), [weak] {
                if (auto self = weak.lock())
                    self->updateAutoFillAvailability();
            });
    });
}

RecordStore::~RecordStore()
{
    for (const auto& observer : m_observers)
        m_notificationCenter->removeObserver(observer);
    if (m_contextObserver)
        Foundation::NotificationCenter::defaultCenter()->removeObserver(m_contextObserver);
}

// --- The index and the sealed values ------------------------------------------------------------------

void RecordStore::requireUnlocked() const
{
    if (!m_cryptor->isUnlocked())
        throw RecordStoreError::vaultLocked();
}

struct RecordStore::SummaryRows {
    std::int64_t storeChangeCount = 0;
    std::int64_t historyStamp = 0;
    std::vector<SummaryBatch> batches;
};

void RecordStore::vaultKeyDidChange()
{
    std::shared_ptr<Index> closed;
    std::shared_ptr<SummaryRows> readAhead;
    {
        std::lock_guard lock(m_indexMutex);
        // Opened again on the next read, with whatever key the vault now has.
        closed = std::move(m_index);
        ++m_indexGeneration;
        if (!m_cryptor->isUnlocked())
            readAhead = std::move(m_summaryRowsReadAhead);
    }
    // Freeing a large index takes a while: locking should not wait for it.
    if (closed || readAhead)
        Foundation::DispatchQueue::global()->async([closed = std::move(closed), readAhead = std::move(readAhead)] { });
}

void RecordStore::willTryPassword() const
{
    std::uint64_t epoch;
    {
        std::lock_guard lock(m_indexMutex);
        if (m_index || m_summaryRowsReadAhead || m_readingAheadEpoch == m_readAheadEpoch)
            return;
        epoch = m_readAheadEpoch;
        m_readingAheadEpoch = epoch;
    }
    std::weak_ptr<const RecordStore> weak = std::static_pointer_cast<const RecordStore>(shared_from_this());
    m_context->perform([weak, epoch] {
        auto self = weak.lock();
        if (!self)
            return;
        auto rows = std::make_shared<SummaryRows>();
        bool read = !Foundation::catchError([&] {
            // Taken before the rows are read, as a read of the index does: a save meanwhile, by anyone,
            // makes the rows stale.
            rows->storeChangeCount = self->m_context->storeChangeCountByOthers();
            rows->historyStamp = self->m_context->currentPersistentHistoryToken().stamp();
            rows->batches = readSummaryBatches(*self->m_context, [](SummaryBatch&) { });
        });
        std::lock_guard lock(self->m_indexMutex);
        if (self->m_readingAheadEpoch == epoch)
            self->m_readingAheadEpoch.reset();
        if (read && !self->m_index && epoch == self->m_readAheadEpoch)
            self->m_summaryRowsReadAhead = std::move(rows);
        else
            Foundation::DispatchQueue::global()->async([rows = std::move(rows)] { });
    });
}

void RecordStore::unlockFailed() const
{
    std::shared_ptr<SummaryRows> rows;
    {
        std::lock_guard lock(m_indexMutex);
        ++m_readAheadEpoch;
        rows = std::move(m_summaryRowsReadAhead);
    }
    if (rows)
        Foundation::DispatchQueue::global()->async([rows = std::move(rows)] { });
}

void RecordStore::loadIndexIfNeeded() const
{
    std::uint64_t generation;
    {
        std::lock_guard lock(m_indexMutex);
        if (m_index)
            return;
        generation = m_indexGeneration;
    }
    reloadIndex(generation, true);
}

void RecordStore::reloadIndex(std::uint64_t generation, bool onlyIfMissing) const
{
    auto index = std::make_shared<Index>(m_preferenceStore->searchableFields());
    m_context->performAndWait([&] {
        if (onlyIfMissing) {
            // Another reader loaded it while this one waited for the context.
            std::lock_guard lock(m_indexMutex);
            if (m_index || generation != m_indexGeneration)
                return;
        }
        std::int64_t storeChangeCount = 0;
        std::int64_t historyStamp = 0;
        // Taken before the rows are read: a save by another process meanwhile makes the next check take
        // it in.
        storeChangeCount = m_context->storeChangeCountByOthers();
        historyStamp = m_context->currentPersistentHistoryToken().stamp();
        auto key = m_cryptor->itemSecretsKey();
        // Opening and preparing the summaries is most of an unlock: each batch is opened on the thread
        // that read it.
        auto open = [&key, &index](SummaryBatch& batch) {
            batch.items.resize(batch.rows.size());
            for (std::size_t i = 0; i < batch.rows.size(); ++i) {
                if (auto summary = openSummary(batch.rows[i], key))
                    batch.items[i] = index->prepare(std::move(*summary));
            }
        };
        std::shared_ptr<SummaryRows> readAhead;
        {
            std::lock_guard lock(m_indexMutex);
            readAhead = std::move(m_summaryRowsReadAhead);
        }
        auto batches = std::make_shared<std::vector<SummaryBatch>>();
        if (readAhead && readAhead->storeChangeCount == storeChangeCount && readAhead->historyStamp == historyStamp) {
            // Read while the key was derived, and nothing saved since: only opening them is left.
            *batches = std::move(readAhead->batches);
            concurrentPerform(batches->size(), [&](std::size_t i) { open((*batches)[i]); });
        } else {
            *batches = readSummaryBatches(*m_context, open);
        }
        if (readAhead)
            Foundation::DispatchQueue::global()->async([readAhead = std::move(readAhead)] { });
        std::vector<Foundation::String> missing;
        std::size_t count = 0;
        for (const auto& batch : *batches)
            count += batch.items.size();
        index->reserve(count);
        for (auto& batch : *batches) {
            for (std::size_t i = 0; i < batch.items.size(); ++i) {
                if (batch.items[i].summary)
                    index->insert(std::move(batch.items[i]));
                else if (const auto* id = batch.rows[i].empty() ? nullptr : batch.rows[i][0].as<Foundation::String>())
                    missing.push_back(*id);
            }
        }
        // Freeing the rows takes a while: the first list should not wait for it.
        Foundation::DispatchQueue::global()->async([batches = std::move(batches)] { });
        // The items behind them, in one fetch (of the whole vault when most are missing, as after an
        // upgrade), not one fetch each.
        std::vector<std::shared_ptr<EntryObject>> objects;
        if (!missing.empty()) {
            auto request = missing.size() > 64 && missing.size() * 2 >= count ? SyncedObject::existing<EntryObject>()
                                                                                : SyncedObject::existing<EntryObject>(missing);
            std::unordered_map<std::string, std::shared_ptr<EntryObject>> byID;
            for (auto& object : m_context->fetch(request))
                byID.emplace(object->id().utf8(), std::move(object));
            for (const auto& id : missing) {
                if (auto found = byID.find(id.utf8()); found != byID.end())
                    objects.push_back(found->second);
            }
        }
        auto skip = [](const Foundation::String& id, const Foundation::Error& error) {
            // One damaged item must not hide the others: it stays out of the list, and reading it fails.
            logger().error("Skipped item %{public}@ that cannot be opened: %{public}@", id.utf8(), error.description());
        };
        bool merged = false;
        // A summary of an earlier format, a damaged or a missing one is made again from the item and
        // stored, so that the next unlock opens it like the others: opened and sealed on every core, the
        // sealed items read in place while no object changes.
        struct Remade {
            Foundation::String id;
            const Foundation::Data* sealedEntry = nullptr;
            std::optional<EntryIndex> summary;
            Foundation::Data sealedSummary;
            std::exception_ptr failure;
        };
        std::vector<Remade> remade;
        for (const auto& object : objects) {
            if (!object->remoteSealedEntry())
                remade.push_back({object->id(), object->primitiveValue("sealedEntry").as<Foundation::Data>(), {}, {}, nullptr});
        }
        concurrentPerform(remade.size(), [&](std::size_t i) {
            try {
                auto summary = EntryIndex::make(RecordSealing::openRevision(remade[i].id, remade[i].sealedEntry, key).entry);
                remade[i].sealedSummary = Cryptor::seal(Index::packed(summary), key, RecordSealing::indexContext(remade[i].id));
                remade[i].summary = std::move(summary);
            } catch (...) {
                remade[i].failure = std::current_exception();
            }
        });
        std::size_t next = 0;
        bool rewritten = false;
        for (const auto& object : objects) {
            auto id = object->id();
            try {
                if (object->remoteSealedEntry()) {
                    index->insert(EntryIndex::make(mergeRemote(*object, key).entry));
                    merged = true;
                    continue;
                }
                auto& made = remade[next++];
                if (made.failure)
                    std::rethrow_exception(made.failure);
                object->setSealedIndex(made.sealedSummary);
                index->insert(std::move(*made.summary));
                rewritten = true;
            } catch (const Foundation::Error& error) {
                skip(id, error);
            }
        }
        // Merges and remade summaries are stored in one save.
        if (merged) {
            saveOrRollBack();
        } else if (rewritten) {
            try {
                saveOrRollBack();
            } catch (const Foundation::Error& error) {
                // The summaries stay as they were and are made again at the next unlock.
                logger().error("Could not store the item summaries made again: %{public}@", error.description());
            }
        }
        // Installed before the context runs anything else: a save after this read changes this index, and
        // a sync ending before it finds no index to change and leaves the whole read to whoever loads it.
        std::lock_guard lock(m_indexMutex);
        if (generation == m_indexGeneration) {
            m_index = std::move(index);
            m_indexStoreChangeCount = storeChangeCount;
            m_indexHistoryStamp = historyStamp;
        }
    });
}

EntryRevision RecordStore::readRevision(const EntryObject& object, const Cryptor::Key& key) const
{
    return RecordSealing::openRevision(object.id(), object.primitiveValue("sealedEntry").as<Foundation::Data>(), key);
}

void RecordStore::writeRevision(EntryObject& object, const EntryRevision& revision, const Cryptor::Key& key) const
{
    auto [sealedEntry, sealedIndex] = RecordSealing::sealRevision(object.id(), revision, EntryIndex::make(revision.entry), key);
    object.setSealed(std::move(sealedEntry), std::move(sealedIndex));
}

Foundation::Result<EntryRevision> RecordStore::openRemote(const Foundation::String& id, const Foundation::Data& sealed, const Cryptor::Key& key)
{
    return Foundation::Result<EntryRevision>::catching([&] {
        auto remote = EntryRevision::decoded(Cryptor::open(sealed, key, RecordSealing::entryContext(id)));
        if (remote.entry.id != id)
            throw CryptorError::authenticationFailed();
        return remote;
    });
}

EntryRevision RecordStore::mergeRemote(EntryObject& object, const Cryptor::Key& key) const
{
    return mergeRemote(object, key, openRemote(object.id(), *object.remoteSealedEntry(), key));
}

Foundation::Data RecordStore::sealedIndex(const Foundation::String& id, const Entry& entry, const Cryptor::Key& key)
{
    return Cryptor::seal(Index::packed(EntryIndex::make(entry)), key, RecordSealing::indexContext(id));
}

EntryRevision RecordStore::mergeRemote(EntryObject& object, const Cryptor::Key& key, const Foundation::Result<EntryRevision>& opened,
                                       const std::optional<Foundation::Data>& remoteSealedIndex) const
{
    auto remoteSealed = *object.remoteSealedEntry();
    auto id = object.id();
    EntryRevision remote;
    try {
        if (opened.isFailure())
            opened.failureError()->raise();
        remote = *opened.successValue();
    } catch (const Foundation::Error& error) {
        // Kept, not dropped: it may open once the key it was sealed with arrives, or be replaced by a whole
        // copy. Until then syncs fail with it.
        logger().error("A fetched record of item %{public}@ cannot be opened: %{public}@", id.utf8(), error.description());
        {
            std::lock_guard lock(m_indexMutex);
            m_unopened[id.utf8()] = error.description();
        }
        return readRevision(object, key);
    }
    {
        std::lock_guard lock(m_indexMutex);
        m_unopened.erase(id.utf8());
    }
    auto remoteIndex = [&] { return remoteSealedIndex ? *remoteSealedIndex : sealedIndex(id, remote.entry, key); };
    if (auto vaultID = object.value<Foundation::String>("remoteVaultID"); vaultID && !vaultID->isEmpty())
        object.setVaultID(*vaultID);
    if (!object.sealedEntry()) {
        object.setSealed(remoteSealed, remoteIndex());
        object.setRemoteSealedEntry(std::nullopt);
        object.markUpToDate();
        return remote;
    }
    // Nothing changed here since the account's copy last came, and that copy was made from ours: it is the
    // item as it is, with the history it carries, and nothing needs pushing back. A copy made apart from
    // ours (another installation saved over it without having seen it) is merged, so neither side's
    // values are lost.
    auto local = readRevision(object, key);
    auto merged = !object.isLocallyModified() && remote.supersedes(local) ? remote : EntryRevision::merged(local, remote);
    if (merged == remote) {
        // The account's copy is the item: keep its bytes, so that nothing needs pushing.
        object.setSealed(remoteSealed, remoteIndex());
        object.markUpToDate();
    } else {
        writeRevision(object, merged, key);
        object.markLocallyModified(Foundation::Date::now());
    }
    object.setRemoteSealedEntry(std::nullopt);
    return merged;
}

std::shared_ptr<EntryObject> RecordStore::entryObject(const Foundation::String& id) const
{
    auto found = m_context->fetch(SyncedObject::existing<EntryObject>({id}));
    return found.empty() ? nullptr : found.front();
}

bool RecordStore::isSafeForInspectionModeActive() const
{
    return m_preferenceStore->isSafeForInspectionModeActivated();
}

void RecordStore::saveOrRollBack() const
{
    try {
        m_context->save();
    } catch (...) {
        // The context is shared with the sync engine: what failed here must not ride along its next save.
        m_context->rollback();
        throw;
    }
}

void RecordStore::updateIndex(const std::vector<EntryIndex>& changed, const std::vector<Foundation::String>& removed) const
{
    std::lock_guard lock(m_indexMutex);
    if (!m_index)
        return;
    for (const auto& index : changed)
        m_index->insert(index);
    for (const auto& id : removed)
        m_index->remove(id);
}

void RecordStore::post(const Foundation::Notification::Name& name) const
{
    auto center = m_notificationCenter;
    std::weak_ptr<const RecordStore> weak = std::static_pointer_cast<const RecordStore>(shared_from_this());
    auto send = [center, weak, name] {
        if (auto self = weak.lock())
            center->post(name, std::const_pointer_cast<RecordStore>(self));
    };
    if (Foundation::Thread::isMainThread())
        send();
    else
        Foundation::DispatchQueue::main()->async(send);
}

void RecordStore::postDidUpdateRecords() const
{
    if (Foundation::Thread::isMainThread()) {
        post(recordStoreDidUpdateRecords());
        return;
    }
    // A sync applies its records a round at a time; the rounds that end while the main thread is busy
    // are one update to whoever reads the records again, not one each.
    if (m_didUpdateRecordsPending.exchange(true))
        return;
    std::weak_ptr<const RecordStore> weak = std::static_pointer_cast<const RecordStore>(shared_from_this());
    Foundation::DispatchQueue::main()->async([weak] {
        auto self = weak.lock();
        if (!self)
            return;
        self->m_didUpdateRecordsPending = false;
        self->m_notificationCenter->post(recordStoreDidUpdateRecords(), std::const_pointer_cast<RecordStore>(self));
    });
}

// --- Settings, safe for inspection, AutoFill ----------------------------------------------------------

void RecordStore::refreshSearchData()
{
    auto searchableFields = m_preferenceStore->searchableFields();
    std::lock_guard lock(m_indexMutex);
    if (m_index)
        m_index->setSearchableFields(searchableFields);
}

RecordStore::SafeForInspectionState RecordStore::safeForInspectionState() const
{
    if (isSafeForInspectionModeActive())
        return SafeForInspectionState::activated;
    bool hasPassword = m_context->performAndWait([&] {
        auto found = m_context->fetch(SyncedObject::existing<Vault>({defaultVaultID()}));
        return !found.empty() && found.front()->inspectionKey().has_value();
    });
    return hasPassword ? SafeForInspectionState::ready : SafeForInspectionState::noPassword;
}

void RecordStore::setSafeForInspectionPassword(const std::optional<Foundation::String>& password)
{
    requireUnlocked();
    std::optional<Foundation::Data> inspectionKey;
    if (password) {
        InspectionKey stored {Cryptor::KeyDerivation::makeDefault(), {}};
        stored.sealedVaultKey = m_cryptor->sealVaultKey(Cryptor::deriveKey(*password, stored.derivation), inspectionContext(defaultVaultID()));
        inspectionKey = Basalwork::JSONCoder::shared()->encode(stored);
    }
    m_context->performAndWait([&] {
        auto found = m_context->fetch(SyncedObject::existing<Vault>({defaultVaultID()}));
        if (found.empty())
            throw RecordStoreError::vaultNotFound(defaultVaultID());
        auto now = Foundation::Date::now();
        found.front()->setInspectionKey(inspectionKey, now);
        found.front()->markLocallyModified(now);
        saveOrRollBack();
    });
}

std::optional<Cryptor::Key> RecordStore::vaultKey(const Foundation::String& safeForInspectionPassword) const
{
    auto stored = m_context->performAndWait([&]() -> std::optional<Foundation::Data> {
        auto found = m_context->fetch(SyncedObject::existing<Vault>({defaultVaultID()}));
        return found.empty() ? std::nullopt : found.front()->inspectionKey();
    });
    if (!stored)
        return std::nullopt;
    auto inspection = Basalwork::JSONCoder::shared()->decode<InspectionKey>(*stored);
    inspection.derivation.validate();
    try {
        auto bytes = Cryptor::open(inspection.sealedVaultKey, Cryptor::deriveKey(safeForInspectionPassword, inspection.derivation),
                                   inspectionContext(defaultVaultID()));
        return Cryptor::Key::fromBytes(bytes.bytes(), bytes.count());
    } catch (const CryptorError&) {
        return std::nullopt;
    }
}

RecordStore::AutoFillAvailability RecordStore::autoFillAvailability() const
{
    try {
        return AuthenticationServices::ASCredentialIdentityStore(Global::App::appGroupIdentifier()).state().isEnabled ? AutoFillAvailability::enabled
                                                                                                                 : AutoFillAvailability::disabled;
    } catch (const Foundation::Error&) {
        return AutoFillAvailability::disabled;
    }
}

void RecordStore::updateAutoFillAvailability()
{
    auto availability = autoFillAvailability();
    if (m_autoFillAvailability == availability)
        return;
    m_autoFillAvailability = availability;
    post(recordStoreDidUpdateAutoFillAvailability());
}

void RecordStore::replaceCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler)
{
    replaceCredentialStore(std::move(resultHandler), false);
}

void RecordStore::updateCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler)
{
    replaceCredentialStore(std::move(resultHandler), true);
}

void RecordStore::replaceCredentialStore(std::optional<Basalwork::ResultHandler<Foundation::Result<void>>> resultHandler, bool onlyIfChanged)
{
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global()->async([self, resultHandler, onlyIfChanged] {
        std::lock_guard building(self->m_credentialStoreMutex);
        bool built = false;
        auto result = Foundation::Result<void>::catching([&] {
            // Locked: the next unlock makes the list.
            if (onlyIfChanged && !self->m_cryptor->isUnlocked())
                return;
            std::vector<AuthenticationServices::ASPasswordCredentialIdentity> identities;
            std::pair<std::uint64_t, bool> source;
            // The index's own summaries: a copy of a large vault's would be most of this job's memory.
            auto selected = self->withIndex([&](const Index& index, bool safeOnly) {
                source = {index.version(), safeOnly};
                return index.select(Entry::Filter::allItems(), std::nullopt, std::nullopt, safeOnly);
            });
            // Every sync's end asks; most change nothing.
            if (onlyIfChanged && self->m_credentialStoreSource == source)
                return;
            built = true;
            auto items = Index::sorted(std::move(selected), Settings::Items::SortMethod::alphabetical);
            // Most items name one site: growing the list by doubling would hold half as much again.
            identities.reserve(items.size() + items.size() / 8);
            for (const auto& shared : items) {
                const auto& item = *shared;
                std::set<std::string> hosts;
                for (const auto& website : item.websites) {
                    auto host = Index::host(website);
                    if (!host.empty() && hosts.insert(host).second)
                        identities.push_back({AuthenticationServices::ASCredentialServiceIdentifier(
                                                  Foundation::String(host), AuthenticationServices::ASCredentialServiceIdentifierType::domain),
                                              item.username, item.entryID});
                }
            }
            AuthenticationServices::ASCredentialIdentityStore(Global::App::appGroupIdentifier()).replaceCredentialIdentities(identities);
            self->m_credentialStoreSource = source;
        });
        // The list of a large vault is tens of megabytes for a moment, freed on whichever worker's heap
        // made it: its pages go back to the system rather than stay with the process while it runs.
        if (built)
            ::malloc_trim(0);
        if (result.isFailure())
            logger().error("Failed to replace the credential identities: %{public}@", result.failureError()->description());
        if (resultHandler)
            resultHandler->invokeAsynchronously(result);
    });
}

// --- Moving items in and out --------------------------------------------------------------------------

std::vector<Foundation::String> RecordStore::existingEntryIDs(const std::vector<Foundation::String>& ids) const
{
    return m_context->performAndWait([&] {
        std::vector<Foundation::String> found;
        for (const auto& object : m_context->fetch(SyncedObject::existing<EntryObject>(ids)))
            found.push_back(object->id());
        return found;
    });
}

void RecordStore::insertEntries(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments)
{
    writeRecords(entries, attachments, false);
}

void RecordStore::insertEntryBatches(const std::function<void(BatchSink& sink)>& produce)
{
    requireUnlocked();
    for (const auto& indices : RecordStoreBulkTransfer(*this).insertEntryBatches(produce))
        updateIndex(indices, {});
    postDidUpdateRecords();
}

void RecordStore::replaceAllRecords(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments)
{
    writeRecords(entries, attachments, true);
}

void RecordStore::writeRecords(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments, bool replacingAll)
{
    requireUnlocked();
    auto [indices, removed] = RecordStoreBulkTransfer(*this).writeRecords(entries, attachments, replacingAll);
    if (replacingAll) {
        // The items are now sealed under the vault key of the restore: the index opens anew.
        vaultKeyDidChange();
    } else {
        updateIndex(indices, removed);
    }
    postDidUpdateRecords();
}

} // namespace Shared
