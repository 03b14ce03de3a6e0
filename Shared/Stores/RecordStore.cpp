#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Model/EntryShareLink.hpp"
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
#include "Shared/Syncwright/SyncableType.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Thread.hpp"

#include <algorithm>
#include <deque>
#include <exception>
#include <mutex>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

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
    try {
        auto summary = RecordStore::Index::unpacked(Cryptor::open(*sealed, key, RecordSealing::indexContext(*id)));
        if (summary.entryID == *id)
            return summary;
    } catch (const Foundation::Error&) {
        // Made again from the item.
    }
    return std::nullopt;
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

Foundation::String folded(const Foundation::String& text)
{
    return text.lowercased();
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
    m_container->loadPersistentStore(storeType, timeout);
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

void RecordStore::vaultKeyDidChange()
{
    std::shared_ptr<Index> closed;
    {
        std::lock_guard lock(m_indexMutex);
        // Opened again on the next read, with whatever key the vault now has.
        closed = std::move(m_index);
        ++m_indexGeneration;
    }
    // Freeing a large index takes a while: locking should not wait for it.
    if (closed)
        Foundation::DispatchQueue::global()->async([closed = std::move(closed)] { });
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
    reloadIndex(generation);
}

void RecordStore::reloadIndex(std::uint64_t generation) const
{
    auto index = std::make_shared<Index>(m_preferenceStore->searchableFields());
    m_context->performAndWait([&] {
        auto key = m_cryptor->itemSecretsKey();
        // Only what the summaries need, without making 10,000 objects.
        CoreData::NSFetchRequest<CoreData::NSManagedObject> request(EntryObject::entityName());
        request.setPredicate(SyncedObject::notDeleted());
        request.setPropertiesToFetch({"recordName", "sealedIndex", "remoteSealedEntry"});
        // Opening and preparing the summaries is most of an unlock: each batch of rows is opened on the
        // workers while the store reads the next.
        struct Batch {
            std::vector<std::vector<CoreData::Value>> rows;
            std::vector<std::unique_ptr<Index::Item>> items; // none where the summary did not open
        };
        auto batches = std::make_shared<std::deque<Batch>>();
        {
            ConcurrentPipeline pipeline;
            m_context->fetchValues(request, 256, [&](std::vector<std::vector<CoreData::Value>> rows) {
                auto& batch = batches->emplace_back();
                batch.rows = std::move(rows);
                pipeline.add([&batch, &key, &index] {
                    batch.items.resize(batch.rows.size());
                    for (std::size_t i = 0; i < batch.rows.size(); ++i) {
                        if (auto summary = openSummary(batch.rows[i], key)) {
                            batch.items[i] = index->prepare(std::move(*summary));
                        }
                    }
                });
            });
            pipeline.finish();
        }
        std::vector<Foundation::String> missing;
        std::size_t count = 0;
        for (const auto& batch : *batches)
            count += batch.items.size();
        index->reserve(count);
        for (auto& batch : *batches) {
            for (std::size_t i = 0; i < batch.items.size(); ++i) {
                if (batch.items[i])
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
    });
    std::lock_guard lock(m_indexMutex);
    if (generation == m_indexGeneration)
        m_index = std::move(index);
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

EntryRevision RecordStore::mergeRemote(EntryObject& object, const Cryptor::Key& key) const
{
    auto remoteSealed = *object.remoteSealedEntry();
    auto id = object.id();
    EntryRevision remote;
    try {
        remote = EntryRevision::decoded(Cryptor::open(remoteSealed, key, RecordSealing::entryContext(id)));
        if (remote.entry.id != id)
            throw CryptorError::authenticationFailed();
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
    if (auto vaultID = object.value<Foundation::String>("remoteVaultID"); vaultID && !vaultID->isEmpty())
        object.setVaultID(*vaultID);
    if (!object.sealedEntry()) {
        object.setSealed(remoteSealed, Cryptor::seal(Index::packed(EntryIndex::make(remote.entry)), key, RecordSealing::indexContext(id)));
        object.setRemoteSealedEntry(std::nullopt);
        object.markUpToDate();
        return remote;
    }
    // Nothing changed here since the account's copy last came: that copy is the item as it is, with the
    // history it carries, and nothing needs pushing back.
    auto merged = object.isLocallyModified() ? EntryRevision::merged(readRevision(object, key), remote) : remote;
    if (merged == remote) {
        // The account's copy is the item: keep its bytes, so that nothing needs pushing.
        object.setSealed(remoteSealed, Cryptor::seal(Index::packed(EntryIndex::make(remote.entry)), key, RecordSealing::indexContext(id)));
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
    post(recordStoreDidUpdateRecords());
}

// --- Reading ------------------------------------------------------------------------------------------

std::optional<Entry> RecordStore::entry(const Foundation::String& id) const
{
    auto entries = this->entries({id});
    if (entries.empty())
        return std::nullopt;
    return std::move(entries.front());
}

std::optional<std::pair<std::shared_ptr<EntryObject>, EntryRevision>> RecordStore::visibleRevision(const Foundation::String& id,
                                                                                                 const Cryptor::Key& key) const
{
    auto object = entryObject(id);
    if (!object)
        return std::nullopt;
    auto revision = currentRevision(*object, key);
    if (isSafeForInspectionModeActive() && !revision.entry.isSafeForInspection)
        return std::nullopt;
    return std::pair(std::move(object), std::move(revision));
}

EntryRevision RecordStore::currentRevision(EntryObject& object, const Cryptor::Key& key) const
{
    return object.remoteSealedEntry() ? mergeRemote(object, key) : readRevision(object, key);
}

std::vector<Entry> RecordStore::entries(const std::vector<Foundation::String>& ids) const
{
    return performUnlocked([&](const Cryptor::Key& key) {
        // One fetch for all of them, not one each; for most of the vault, without naming each.
        std::unordered_map<std::string, std::shared_ptr<EntryObject>> byID;
        if (!ids.empty()) {
            std::size_t indexed = 0;
            {
                std::lock_guard lock(m_indexMutex);
                indexed = m_index ? m_index->size() : 0;
            }
            auto take = [&](const CoreData::NSFetchRequest<EntryObject>& request) {
                auto fetched = m_context->fetch(request);
                byID.reserve(byID.size() + fetched.size());
                for (auto& object : fetched)
                    byID.emplace(object->id().utf8(), std::move(object));
            };
            if (ids.size() > 64 && ids.size() * 2 >= indexed) {
                take(SyncedObject::existing<EntryObject>());
            } else {
                // Named a few hundred at a time, so that each fetch looks its names up in the index.
                constexpr std::size_t namesPerFetch = 250;
                for (std::size_t start = 0; start < ids.size(); start += namesPerFetch) {
                    auto end = std::min(ids.size(), start + namesPerFetch);
                    take(SyncedObject::existing<EntryObject>(std::vector<Foundation::String>(ids.begin() + static_cast<std::ptrdiff_t>(start),
                                                                                             ids.begin() + static_cast<std::ptrdiff_t>(end))));
                }
            }
        }
        std::vector<std::shared_ptr<EntryObject>> objects(ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (auto found = byID.find(ids[i].utf8()); found != byID.end())
                objects[i] = found->second;
        }
        // Opening and decoding is most of reading many items: it runs on every core. Records fetched from
        // the account are merged below, in order, as they change the objects.
        struct Opened {
            std::optional<EntryRevision> revision;
            std::exception_ptr failure;
        };
        std::vector<Opened> opened(objects.size());
        // The sealed bytes are read in place: the objects stay as they are until all are open.
        std::vector<std::pair<Foundation::String, const Foundation::Data*>> sealed(objects.size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (objects[i] && objects[i]->primitiveValue("remoteSealedEntry").isNil())
                sealed[i] = {objects[i]->id(), objects[i]->primitiveValue("sealedEntry").as<Foundation::Data>()};
        }
        concurrentPerform(objects.size(), [&](std::size_t i) {
            if (!objects[i] || sealed[i].first.isEmpty())
                return;
            try {
                opened[i].revision = RecordSealing::openRevision(sealed[i].first, sealed[i].second, key);
            } catch (...) {
                opened[i].failure = std::current_exception();
            }
        });
        std::vector<Entry> result;
        result.reserve(objects.size());
        bool inspecting = isSafeForInspectionModeActive();
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (!objects[i])
                continue;
            EntryRevision revision;
            if (objects[i]->remoteSealedEntry() || (!opened[i].revision && !opened[i].failure))
                revision = currentRevision(*objects[i], key);
            else if (opened[i].failure)
                std::rethrow_exception(opened[i].failure);
            else
                revision = std::move(*opened[i].revision);
            if (!inspecting || revision.entry.isSafeForInspection)
                result.push_back(std::move(revision.entry));
        }
        if (m_context->hasChanges())
            saveOrRollBack();
        // Letting go of many objects and their sealed bytes takes a while, and nothing waits for it: the
        // context holds its objects weakly, so they may go on any thread.
        if (objects.size() > 1000) {
            auto held = std::make_shared<std::pair<decltype(byID), decltype(objects)>>(std::move(byID), std::move(objects));
            Foundation::DispatchQueue::global()->async([held] {
                held->first.clear();
                held->second.clear();
            });
        }
        return result;
    });
}

std::vector<Entry> RecordStore::allEntries() const
{
    return entries(withIndex([](const Index& index, bool) { return index.ids(); }));
}

void RecordStore::readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                              const std::function<void(std::vector<Entry>& batch)>& batch) const
{
    RecordStoreBulkTransfer(*this).readEntries(includingTrashed, counted, batch);
}

bool RecordStore::containsEntry(const Foundation::String& id) const
{
    return withIndex([&](const Index& index, bool safeOnly) {
        const auto* found = index.find(id);
        return found && (!safeOnly || found->isSafeForInspection);
    });
}

std::vector<EntryIndex> RecordStore::entryIndices(const std::vector<Foundation::String>& ids) const
{
    return withIndex([&](const Index& index, bool safeOnly) {
        std::vector<EntryIndex> result;
        for (const auto& id : ids) {
            if (const auto* found = index.find(id); found && (!safeOnly || found->isSafeForInspection))
                result.push_back(*found);
        }
        return result;
    });
}

std::vector<EntryIndex> RecordStore::entryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod,
                                                  const std::optional<Foundation::String>& searchText,
                                                  const std::optional<Foundation::String>& associatedDomain) const
{
    return withIndex([&](const Index& index, bool safeOnly) { return index.query(filter, sortMethod, searchText, associatedDomain, safeOnly); });
}

std::int64_t RecordStore::count(const Entry::Filter& filter) const
{
    return withIndex([&](const Index& index, bool safeOnly) { return index.count(filter, safeOnly); });
}

bool RecordStore::hasEntries(const Entry::Filter& filter) const
{
    return count(filter) > 0;
}

bool RecordStore::hasEntries(const Foundation::String& associatedDomain) const
{
    return withIndex([&](const Index& index, bool safeOnly) { return index.hasEntries(associatedDomain, safeOnly); });
}

std::vector<Foundation::String> RecordStore::tagsInUse() const
{
    return withIndex([](const Index& index, bool safeOnly) { return index.tagsInUse(safeOnly); });
}

std::optional<Attachment> RecordStore::attachment(const Foundation::String& entryID, Entry::Field::ID fieldID) const
{
    auto entry = this->entry(entryID);
    auto attachmentID = entry ? entry->attachmentID(fieldID) : std::nullopt;
    return attachmentID ? attachment(*attachmentID) : std::nullopt;
}

std::optional<Attachment> RecordStore::attachment(const Foundation::String& attachmentID) const
{
    return performUnlocked([&](const Cryptor::Key& key) -> std::optional<Attachment> {
        auto found = m_context->fetch(SyncedObject::existing<AttachmentObject>({attachmentID}));
        if (found.empty() || !found.front()->sealedDescription())
            return std::nullopt;
        auto attachment = Basalwork::JSONCoder::shared()->decode<Attachment>(
            Cryptor::open(*found.front()->sealedDescription(), key, RecordSealing::attachmentContext(attachmentID)));
        if (attachment.id != attachmentID)
            throw CryptorError::authenticationFailed();
        return attachment;
    });
}

std::vector<Foundation::String> RecordStore::shareItems(const Foundation::String& entryID) const
{
    auto entry = this->entry(entryID);
    if (!entry)
        throw RecordStoreError::entryNotFound(entryID);
    return {EntryShareLink::text(*entry), EntryShareLink::url(*entry).absoluteString()};
}

Foundation::String RecordStore::vaultIDForNewEntries() const
{
    requireUnlocked();
    bool exists = m_context->performAndWait([&] { return m_context->count(SyncedObject::existing<Vault>({defaultVaultID()})) > 0; });
    if (!exists)
        throw RecordStoreError::vaultNotFound(defaultVaultID());
    return defaultVaultID();
}

// --- Changing -----------------------------------------------------------------------------------------

template <class Change>
std::vector<Foundation::String> RecordStore::change(const std::vector<Foundation::String>& ids, Change&& change)
{
    auto changed = performUnlockedWriting([&](const Cryptor::Key& key) {
        auto now = Foundation::Date::now();
        std::vector<EntryIndex> indices;
        for (const auto& id : ids) {
            auto found = visibleRevision(id, key);
            if (!found)
                continue;
            auto& [object, revision] = *found;
            if (!revision.change(now, change))
                continue;
            writeRevision(*object, revision, key);
            object->markLocallyModified(now);
            indices.push_back(EntryIndex::make(revision.entry));
        }
        if (m_context->hasChanges())
            saveOrRollBack();
        updateIndex(indices, {});
        return indices;
    });
    if (!changed.empty())
        postDidUpdateRecords();
    std::vector<Foundation::String> result;
    for (const auto& index : changed)
        result.push_back(index.entryID);
    return result;
}

void RecordStore::setFavorite(const std::vector<Foundation::String>& ids, bool isFavorite)
{
    change(ids, [&](Entry& entry) { entry.isFavorite = isFavorite; });
}

void RecordStore::setArchived(const std::vector<Foundation::String>& ids, bool isArchived)
{
    change(ids, [&](Entry& entry) { entry.isArchived = isArchived; });
}

void RecordStore::setTrashed(const std::vector<Foundation::String>& ids, bool isTrashed)
{
    auto now = Foundation::Date::now();
    change(ids, [&](Entry& entry) {
        if (isTrashed && !entry.trashedAt)
            entry.trashedAt = now;
        else if (!isTrashed)
            entry.trashedAt.reset();
    });
}

void RecordStore::setCategory(const std::vector<Foundation::String>& ids, Entry::Category category)
{
    change(ids, [&](Entry& entry) { entry.category = category; });
}

void RecordStore::removeTags(const std::vector<Foundation::String>& tags)
{
    std::set<std::string> removed;
    for (const auto& tag : tags) {
        auto trimmed = folded(tag.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()));
        if (!trimmed.isEmpty())
            removed.insert(trimmed.utf8());
    }
    if (removed.empty())
        return;
    auto carrying = withIndex([&](const Index& index, bool) {
        std::vector<Foundation::String> ids;
        for (const auto& id : index.ids()) {
            const auto& tagsOfItem = index.find(id)->tags;
            if (std::any_of(tagsOfItem.begin(), tagsOfItem.end(), [&](const Foundation::String& tag) { return removed.contains(folded(tag).utf8()); }))
                ids.push_back(id);
        }
        return ids;
    });
    change(carrying, [&](Entry& entry) {
        std::erase_if(entry.tags, [&](const Foundation::String& tag) { return removed.contains(folded(tag).utf8()); });
    });
}

void RecordStore::permanentlyDelete(const std::vector<Foundation::String>& ids)
{
    std::vector<Foundation::String> attachmentIDs;
    auto deleted = performUnlockedWriting([&](const Cryptor::Key&) {
        auto now = Foundation::Date::now();
        std::vector<Foundation::String> deleted;
        for (const auto& id : ids) {
            auto object = entryObject(id);
            if (!object)
                continue;
            if (isSafeForInspectionModeActive() && !containsEntry(id))
                continue;
            for (auto& attachment : m_context->fetch(AttachmentObject::ofEntries({id}))) {
                attachmentIDs.push_back(attachment->id());
                attachment->markLocallyDeleted(now);
            }
            object->markLocallyDeleted(now);
            deleted.push_back(id);
        }
        if (m_context->hasChanges())
            saveOrRollBack();
        updateIndex({}, deleted);
        return deleted;
    });
    if (!attachmentIDs.empty())
        m_attachmentDataStore->deleteData(attachmentIDs);
    if (!deleted.empty())
        postDidUpdateRecords();
}

RecordStore::DuplicateResult RecordStore::duplicate(const std::vector<Foundation::String>& ids)
{
    try {
        auto originals = entries(ids);
        if (originals.empty())
            return DuplicateResult::userDidCancel();
        auto vaultIDs = m_context->performAndWait([&] {
            std::vector<Foundation::String> result;
            for (const auto& original : originals)
                result.push_back(entryObject(original.id)->vaultID());
            return result;
        });
        auto context = makeEditingContext();
        std::vector<Foundation::String> duplicates;
        std::vector<Attachment> copies;
        auto now = Foundation::Date::now();
        for (std::size_t i = 0; i < originals.size(); ++i) {
            auto copy = originals[i].duplicated(now);
            // A copy owns its files: removing either item must leave the other's attachments whole.
            for (auto& section : copy.sections) {
                for (auto& field : section.fields) {
                    if (field.category != Entry::Field::Category::attachment || field.text.isEmpty())
                        continue;
                    auto original = attachment(field.text);
                    if (!original)
                        continue;
                    auto decrypted = m_attachmentDataStore->decryptToTemporaryFile(original->id);
                    auto imported = m_attachmentDataStore->importFile(decrypted, copy.id);
                    std::error_code ignored;
                    std::filesystem::remove_all(decrypted.deletingLastPathComponent().path().utf8(), ignored);
                    field.text = imported.id;
                    copies.push_back(imported);
                }
            }
            duplicates.push_back(copy.id);
            context->adopt(std::move(copy), vaultIDs[i], copies);
            copies.clear();
        }
        context->save();
        return DuplicateResult::success(duplicates);
    } catch (const Foundation::Error& error) {
        return DuplicateResult::failure(error.clone());
    }
}

void RecordStore::duplicate(const std::vector<Foundation::String>& ids, Basalwork::ResultHandler<DuplicateResult> resultHandler)
{
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global()->async([self, ids, resultHandler] { resultHandler.invokeAsynchronously(self->duplicate(ids)); });
}

void RecordStore::stampServiceIdentifiers(const Foundation::String& entryID, const std::vector<Entry::ServiceIdentifier>& serviceIdentifiers,
                                          Basalwork::ResultHandler<Foundation::Result<void>> resultHandler)
{
    if (!containsEntry(entryID))
        throw RecordStoreError::entryNotFound(entryID);
    auto self = sharedSelf(this);
    m_context->perform([self, entryID, serviceIdentifiers, resultHandler] {
        auto result = Foundation::Result<void>::catching([&] {
            self->change({entryID}, [&](Entry& entry) { entry.stampServiceIdentifiers(serviceIdentifiers); });
        });
        resultHandler.invokeAsynchronously(result);
    });
}

std::shared_ptr<RecordStore::EditingContext> RecordStore::makeEditingContext()
{
    requireUnlocked();
    return Foundation::make<EditingContext>(sharedSelf(this));
}

void RecordStore::save(EditingContext& context)
{
    std::vector<Foundation::String> keptAttachments;
    std::vector<Foundation::String> droppedAttachments;
    // The newest copy is read, merged with the edit and written back in one write transaction: another
    // process saving the same item waits, and its change is the copy this one merges onto.
    auto saved = performUnlockedWriting([&](const Cryptor::Key& key) {
        auto now = Foundation::Date::now();
        std::vector<std::pair<std::string, EntryRevision>> saved;
        std::set<std::string> referenced;
        // One fetch for all, before anything is inserted: an import saves thousands of items at once.
        std::vector<Foundation::String> changedIDs;
        for (const auto& [id, edit] : context.m_edits) {
            if (!edit.original || *edit.original != edit.entry)
                changedIDs.push_back(edit.entry.id);
        }
        std::map<std::string, std::shared_ptr<EntryObject>> existing;
        for (auto& object : m_context->fetch(SyncedObject::existing<EntryObject>(changedIDs)))
            existing.emplace(object->id().utf8(), object);
        for (auto& [id, edit] : context.m_edits) {
            bool changed = !edit.original || *edit.original != edit.entry;
            if (!changed)
                continue;
            auto found = existing.find(id);
            auto object = found == existing.end() ? nullptr : found->second;
            EntryRevision revision;
            if (!object) {
                // New here, or deleted elsewhere while edited: the edit brings the item (back).
                object = m_context->insertNewObject<EntryObject>();
                object->setRecordName(edit.entry.id);
                object->setVaultID(edit.vaultID.isEmpty() ? Foundation::String(defaultVaultID()) : edit.vaultID);
                revision = EntryRevision::make(edit.entry);
            } else {
                revision = currentRevision(*object, key);
                revision.apply(edit.original.value_or(revision.entry), edit.entry, now);
            }
            writeRevision(*object, revision, key);
            object->markLocallyModified(now);
            for (const auto& attachmentID : revision.entry.attachmentIDs())
                referenced.insert(attachmentID.utf8());
            if (edit.original) {
                for (const auto& attachmentID : edit.original->attachmentIDs()) {
                    if (!referenced.contains(attachmentID.utf8()))
                        droppedAttachments.push_back(attachmentID);
                }
            }
            saved.emplace_back(id, std::move(revision));
        }
        // Files imported here become attachments of the items that hold them; the others go.
        for (const auto& [attachmentID, attachment] : context.m_imports) {
            if (!referenced.contains(attachmentID)) {
                droppedAttachments.push_back(attachment.id);
                continue;
            }
            auto object = m_context->insertNewObject<AttachmentObject>();
            object->setRecordName(attachment.id);
            object->setEntryID(attachment.entryID);
            object->setSealedDescription(RecordSealing::sealAttachment(attachment, key));
            object->markLocallyModified(now);
            keptAttachments.push_back(attachment.id);
        }
        std::erase_if(droppedAttachments, [&](const Foundation::String& attachmentID) { return referenced.contains(attachmentID.utf8()); });
        for (auto& object : m_context->fetch(SyncedObject::existing<AttachmentObject>(droppedAttachments)))
            object->markLocallyDeleted(now);
        if (m_context->hasChanges())
            saveOrRollBack();
        std::vector<EntryIndex> indices;
        for (const auto& [id, revision] : saved)
            indices.push_back(EntryIndex::make(revision.entry));
        updateIndex(indices, {});
        return saved;
    });
    for (auto& [id, revision] : saved) {
        auto& edit = context.m_edits.at(id);
        edit.original = revision.entry;
        edit.entry = revision.entry;
    }
    for (const auto& attachmentID : keptAttachments)
        context.m_imports.erase(attachmentID.utf8());
    for (const auto& attachmentID : droppedAttachments)
        context.m_imports.erase(attachmentID.utf8());
    if (!droppedAttachments.empty())
        m_attachmentDataStore->deleteData(droppedAttachments);
    if (!saved.empty())
        postDidUpdateRecords();
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
        found.front()->setInspectionKey(inspectionKey);
        found.front()->markLocallyModified(Foundation::Date::now());
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
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global()->async([self, resultHandler] {
        auto result = Foundation::Result<void>::catching([&] {
            std::vector<AuthenticationServices::ASPasswordCredentialIdentity> identities;
            auto items = self->entryIndices(Entry::Filter::allItems(), Settings::Items::SortMethod::alphabetical);
            for (const auto& item : items) {
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
        });
        if (result.isFailure())
            logger().error("Failed to replace the credential identities: %{public}@", result.failureError()->description());
        if (resultHandler)
            resultHandler->invokeAsynchronously(result);
    });
}

// --- Resetting and repairing --------------------------------------------------------------------------

void RecordStore::deleteAllLocalRecords()
{
    m_context->performAndWait([&] {
        for (const auto& entity : m_container->managedObjectModel()->entities())
            m_context->execute(CoreData::NSBatchDeleteRequest(CoreData::NSFetchRequest<CoreData::NSManagedObject>(entity->name())));
        m_context->reset();
        auto vault = m_context->insertNewObject<Vault>();
        vault->setRecordName(defaultVaultID());
        vault->markLocallyModified(Foundation::Date::now());
        saveOrRollBack();
    });
    m_attachmentDataStore->deleteAllData();
    {
        std::lock_guard lock(m_indexMutex);
        if (m_index)
            m_index = std::make_shared<Index>(m_preferenceStore->searchableFields());
    }
    post(recordStoreDidPermanentlyResetLocalAndRemoteRecords());
    postDidUpdateRecords();
}

void RecordStore::removeUnnamedAttachmentFiles()
{
    m_attachmentDataStore->removeUnnamedData([&] {
        return m_context->performAndWait([&] {
            // Deletion markers count too: names are compared, nothing is opened, so the vault may be locked.
            CoreData::NSFetchRequest<CoreData::NSManagedObject> request(AttachmentObject::entityName());
            request.setPropertiesToFetch({SyncedObject::recordNameKey});
            std::set<std::string> names;
            for (const auto& row : m_context->fetchValues(request)) {
                if (const auto* name = row.front().as<Foundation::String>())
                    names.insert(name->utf8());
            }
            return names;
        });
    });
}

void RecordStore::repairRecordsUsingTheSameID()
{
    bool repaired = performUnlockedWriting([&](const Cryptor::Key& key) {
        bool repaired = false;
        std::map<std::string, std::vector<std::shared_ptr<EntryObject>>> byName;
        for (auto& object : m_context->fetch(CoreData::NSFetchRequest<EntryObject>()))
            byName[object->recordName().utf8()].push_back(object);
        for (auto& [name, objects] : byName) {
            if (objects.size() < 2)
                continue;
            // The copies merge into the first that opens; the others go from this store only.
            std::optional<EntryRevision> merged;
            std::shared_ptr<EntryObject> keeper;
            for (auto& object : objects) {
                try {
                    auto revision = readRevision(*object, key);
                    merged = merged ? EntryRevision::merged(*merged, revision) : revision;
                    if (!keeper)
                        keeper = object;
                } catch (const Foundation::Error&) {
                }
            }
            for (auto& object : objects) {
                if (object != keeper)
                    m_context->delete_(object);
            }
            if (keeper && merged) {
                writeRevision(*keeper, *merged, key);
                keeper->markLocallyModified(Foundation::Date::now());
            }
            repaired = true;
        }
        for (const auto& entity : {Vault::entityName(), MasterPassword::entityName(), Migrations::entityName(), Onboarding::entityName(),
                                   AttachmentObject::entityName()}) {
            std::set<std::string> seen;
            for (auto& object : m_context->fetch(CoreData::NSFetchRequest<CoreData::NSManagedObject>(entity))) {
                auto name = std::static_pointer_cast<SyncedObject>(object)->recordName().utf8();
                if (!seen.insert(name).second) {
                    m_context->delete_(object);
                    repaired = true;
                }
            }
        }
        if (m_context->hasChanges())
            saveOrRollBack();
        return repaired;
    });
    if (repaired) {
        vaultKeyDidChange();
        postDidUpdateRecords();
    }
}

// --- Sync ---------------------------------------------------------------------------------------------

std::shared_ptr<CloudKit::CKRecord> RecordStore::ckRecordWithLocalModifications(const Foundation::String& entryID,
                                                                                const CloudKit::CKRecordZoneID& zoneID) const
{
    return performUnlockedWriting([&](const Cryptor::Key& key) {
        auto object = entryObject(entryID);
        if (!object)
            throw RecordStoreError::entryNotFound(entryID);
        if (object->remoteSealedEntry()) {
            mergeRemote(*object, key);
            saveOrRollBack();
        }
        return object->ckRecordWithLocalModifications(zoneID);
    });
}

Foundation::ErrorPtr RecordStore::fetchedRecordsNotOpened() const
{
    std::lock_guard lock(m_indexMutex);
    if (m_unopened.empty())
        return nullptr;
    const auto& [id, why] = *m_unopened.begin();
    auto others = m_unopened.size() - 1;
    return Basalwork::GeneralError::failedWithMessage(
               Foundation::String("The item " + id + " from iCloud cannot be opened (" + why + ")"
                                  + (others ? ", nor " + std::to_string(others) + " more" : std::string())))
        .clone();
}

void RecordStore::didDeleteRemotely(const std::vector<Foundation::String>& recordNames)
{
    {
        std::lock_guard lock(m_indexMutex);
        for (const auto& name : recordNames)
            m_unopened.erase(name.utf8());
    }
    updateIndex({}, recordNames);
    postDidUpdateRecords();
}

void RecordStore::didModifyRemotely(const std::vector<Foundation::String>& recordNames)
{
    mergeFetchedRecords(recordNames);
}

void RecordStore::mergeFetchedRecords(const std::optional<std::vector<Foundation::String>>& recordNames)
{
    if (!m_cryptor->isUnlocked())
        return; // merged when the vault opens next
    std::vector<EntryIndex> indices;
    m_context->performAndWait([&] {
        m_context->performInWriteTransaction([&] {
            auto key = m_cryptor->itemSecretsKey();
            CoreData::NSFetchRequest<EntryObject> request;
            auto awaiting = CoreData::key("remoteSealedEntry") != CoreData::Value() && SyncedObject::notDeleted();
            request.setPredicate(recordNames ? SyncedObject::named(*recordNames) && awaiting : awaiting);
            for (auto& object : m_context->fetch(request)) {
                try {
                    indices.push_back(EntryIndex::make(mergeRemote(*object, key).entry));
                } catch (const Foundation::Error& error) {
                    logger().error("Failed to merge item %{public}@: %{public}@", object->id().utf8(), error.description());
                }
            }
            if (m_context->hasChanges())
                saveOrRollBack();
        });
    });
    updateIndex(indices, {});
    if (recordNames || !indices.empty())
        postDidUpdateRecords();
}

std::vector<Syncwright::SyncableType> RecordStore::syncableTypes()
{
    using Syncwright::SyncableType;
    return {SyncableType::of<Migrations>(), SyncableType::of<Onboarding>(), SyncableType::of<MasterPassword>(),
            SyncableType::of<Vault>(),      SyncableType::of<EntryObject>(), SyncableType::of<AttachmentObject>()};
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

std::vector<Attachment> RecordStore::allAttachments(std::vector<Foundation::String>* unreadable) const
{
    return performUnlocked([&](const Cryptor::Key& key) {
        std::vector<Attachment> attachments;
        for (const auto& object : m_context->fetch(SyncedObject::existing<AttachmentObject>())) {
            auto sealed = object->sealedDescription();
            if (!sealed)
                continue;
            try {
                auto attachment = Basalwork::JSONCoder::shared()->decode<Attachment>(Cryptor::open(*sealed, key, RecordSealing::attachmentContext(object->id())));
                if (attachment.id != object->id())
                    throw CryptorError::authenticationFailed();
                if (!isSafeForInspectionModeActive() || containsEntry(attachment.entryID))
                    attachments.push_back(std::move(attachment));
            } catch (const Foundation::Error& error) {
                logger().error("The attachment %{public}@ cannot be opened: %{public}@", object->id().utf8(), error.description());
                if (unreadable)
                    unreadable->push_back(Foundation::String("The attachment " + object->id().utf8() + " cannot be opened: " + error.description()));
            }
        }
        return attachments;
    });
}

Foundation::URL RecordStore::decryptAttachmentToTemporaryFile(const Foundation::String& attachmentID) const
{
    return m_attachmentDataStore->decryptToTemporaryFile(attachmentID);
}

void RecordStore::didSynchronize()
{
    if (!m_cryptor->isUnlocked())
        return;
    std::uint64_t generation;
    {
        std::lock_guard lock(m_indexMutex);
        generation = m_indexGeneration;
    }
    auto self = sharedSelf(this);
    m_context->perform([self, generation] {
        if (!self->m_cryptor->isUnlocked())
            return;
        // A fetch takes in every value another process saved; the index follows the store.
        Foundation::catchError([&] { self->reloadIndex(generation); });
        self->postDidUpdateRecords();
    });
}

} // namespace Shared
