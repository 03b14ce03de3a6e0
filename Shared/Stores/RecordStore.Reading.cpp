#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Model/EntryShareLink.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/RecordSealing.hpp"
#include "Shared/Stores/RecordStore.BulkTransfer.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.Templates.hpp"
#include "Shared/Stores/RecordStoreError.hpp"
#include "Shared/Stores/Vault.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <algorithm>
#include <exception>
#include <mutex>
#include <unordered_map>

namespace Shared {

namespace {

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("Shared", "RecordStore");
    return logger;
}

} // namespace

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
    auto shared = sharedEntryIndices(filter, sortMethod, searchText, associatedDomain);
    // Copying a whole vault's summaries is most of such a list: it runs on every core.
    std::vector<EntryIndex> result(shared.size());
    auto copy = [&](std::size_t i) { result[i] = *shared[i]; };
    if (shared.size() >= 2048) {
        concurrentPerform(shared.size(), copy);
    } else {
        for (std::size_t i = 0; i < shared.size(); ++i)
            copy(i);
    }
    return result;
}

std::vector<std::shared_ptr<const EntryIndex>> RecordStore::sharedEntryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod,
                                                                               const std::optional<Foundation::String>& searchText,
                                                                               const std::optional<Foundation::String>& associatedDomain) const
{
    auto selected = withIndex([&](const Index& index, bool safeOnly) { return index.select(filter, searchText, associatedDomain, safeOnly); });
    // Sorting a whole vault takes a while: other readers need not wait for it.
    return Index::sorted(std::move(selected), sortMethod);
}

std::int64_t RecordStore::count(const Entry::Filter& filter) const
{
    return withIndex([&](const Index& index, bool safeOnly) { return index.count(filter, safeOnly); });
}

bool RecordStore::hasEntries(const Entry::Filter& filter) const
{
    // Asked on the main thread as the list appears: the first item that passes answers it.
    return withIndex([&](const Index& index, bool safeOnly) { return index.hasEntries(filter, safeOnly); });
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
        // The file of an item the safe-for-inspection mode hides is no less hidden than the item.
        if (isSafeForInspectionModeActive() && !containsEntry(attachment.entryID))
            return std::nullopt;
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

// --- Attachments --------------------------------------------------------------------------------------

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
    if (isSafeForInspectionModeActive() && !attachment(attachmentID))
        throw RecordStoreError::attachmentNotFound(attachmentID);
    return m_attachmentDataStore->decryptToTemporaryFile(attachmentID);
}

} // namespace Shared
