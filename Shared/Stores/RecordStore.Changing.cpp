#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryRevision.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/RecordSealing.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.Templates.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace Shared {

namespace {

Foundation::String folded(const Foundation::String& text)
{
    return text.lowercased();
}

} // namespace

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

} // namespace Shared
