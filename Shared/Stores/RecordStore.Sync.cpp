#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/MasterPassword.hpp"
#include "Shared/Stores/Migrations.hpp"
#include "Shared/Stores/Onboarding.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.Templates.hpp"
#include "Shared/Stores/RecordStoreError.hpp"
#include "Shared/Stores/Vault.hpp"
#include "Shared/Syncwright/PersistentContainer.hpp"
#include "Shared/Syncwright/SyncableType.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPersistentStoreCoordinator.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <mutex>
#include <optional>
#include <map>
#include <set>

namespace Shared {

namespace {

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("Shared", "RecordStore");
    return logger;
}

} // namespace

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
    // Deleted rows stay in the file's free pages and in its log until they are overwritten: nothing of
    // the old items may be left to read there. The records are gone either way, so a failure here (a
    // reader of another process holding the log) is noted and the clearing goes on.
    try {
        m_container->persistentStoreCoordinator()->compactPersistentStore();
    } catch (const Foundation::Error& error) {
        logger().error("The cleared store could not be compacted: %{public}@", error.description());
    }
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
    std::optional<EntryIndex> merged;
    auto record = performUnlockedWriting([&](const Cryptor::Key& key) {
        auto object = entryObject(entryID);
        if (!object)
            throw RecordStoreError::entryNotFound(entryID);
        if (object->remoteSealedEntry()) {
            merged = EntryIndex::make(mergeRemote(*object, key).entry);
            saveOrRollBack();
        }
        return object->ckRecordWithLocalModifications(zoneID);
    });
    if (merged) {
        updateIndex({*merged}, {});
        postDidUpdateRecords();
    }
    return record;
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
            auto objects = m_context->fetch(request);
            // Opening the fetched copies is most of the work and needs no context: on every core.
            std::vector<std::pair<Foundation::String, Foundation::Data>> sealed;
            sealed.reserve(objects.size());
            for (const auto& object : objects)
                sealed.emplace_back(object->id(), *object->remoteSealedEntry());
            std::vector<std::optional<Foundation::Result<EntryRevision>>> opened(objects.size());
            std::vector<std::optional<Foundation::Data>> sealedIndices(objects.size());
            concurrentPerform(objects.size(), [&](std::size_t index) {
                const auto& [id, data] = sealed[index];
                opened[index] = openRemote(id, data, key);
                if (const auto* remote = opened[index]->successValue())
                    sealedIndices[index] = sealedIndex(id, remote->entry, key);
            });
            for (std::size_t index = 0; index < objects.size(); ++index) {
                auto& object = objects[index];
                try {
                    indices.push_back(EntryIndex::make(mergeRemote(*object, key, *opened[index], sealedIndices[index]).entry));
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
        bool changedByOthers = true;
        bool notLoaded = false;
        std::int64_t count = 0;
        Foundation::catchError([&] {
            count = self->m_context->storeChangeCountByOthers();
            std::lock_guard lock(self->m_indexMutex);
            // No index read yet: whoever reads it first reads what the sync left, and nothing shows it before.
            notLoaded = !self->m_index && generation == self->m_indexGeneration;
            changedByOthers = !self->m_index || generation != self->m_indexGeneration || count != self->m_indexStoreChangeCount;
        });
        if (notLoaded)
            return;
        if (!changedByOthers) {
            Foundation::catchError([&] { self->advanceHistory(generation); });
            return;
        }
        // What another process saved: the items the store's history names, or the whole index when it
        // cannot tell.
        std::optional<bool> changed;
        Foundation::catchError([&] { changed = self->takeInChangesByOthers(generation, count); });
        if (changed && !*changed)
            return;
        if (!changed)
            Foundation::catchError([&] { self->reloadIndex(generation); });
        self->postDidUpdateRecords();
    });
}

} // namespace Shared
