#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include "Shared/Model/EntryError.hpp"
#include "Shared/Model/EntryShareLink.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <string>
#include <type_traits>

namespace Shared {

using EditingContext = RecordStore::EditingContext;

const Foundation::Notification::Name& EditingContext::editingContextDidUpdate()
{
    static const auto& name = *new Foundation::Notification::Name("editingContextDidUpdate");
    return name;
}

EditingContext::EditingContext(std::shared_ptr<RecordStore> recordStore)
    : m_recordStore(std::move(recordStore))
{
}

EditingContext::~EditingContext()
{
    std::vector<Foundation::String> unsaved;
    for (const auto& [id, attachment] : m_imports)
        unsaved.push_back(attachment.id);
    discardImports(unsaved);
}

// --- Items --------------------------------------------------------------------------------------------

Foundation::String EditingContext::insert(const Foundation::String& entryID, const Foundation::String& vaultID, std::optional<Entry::Category> category,
                                          bool isSafeForInspection)
{
    auto entry = Entry::make(category.value_or(Entry::Category::login), Foundation::Date::now());
    entry.id = entryID;
    entry.isSafeForInspection = isSafeForInspection;
    m_edits[entryID.utf8()] = Edit {std::nullopt, std::move(entry), vaultID};
    didChange();
    return entryID;
}

Foundation::String EditingContext::insert(const Foundation::String& entryID, const Foundation::String& vaultID, const Foundation::URL& shareURL,
                                          bool isSafeForInspection)
{
    auto shared = EntryShareLink::entry(shareURL);
    if (!shared)
        throw Basalwork::GeneralError::failedWithMessage("The link does not describe a shared item.");
    auto entry = Entry::make(shared->category, Foundation::Date::now());
    for (auto field : {Entry::SystemField::ID::title, Entry::SystemField::ID::username, Entry::SystemField::ID::password,
                       Entry::SystemField::ID::totpSecretKey, Entry::SystemField::ID::website, Entry::SystemField::ID::notes,
                       Entry::SystemField::ID::tags})
        entry.setText(shared->text(field), field, entry.createdAt);
    entry.id = entryID;
    entry.isSafeForInspection = isSafeForInspection;
    m_edits[entryID.utf8()] = Edit {std::nullopt, std::move(entry), vaultID};
    didChange();
    return entryID;
}

void EditingContext::adopt(Entry entry, const Foundation::String& vaultID, const std::vector<Attachment>& imports)
{
    auto id = entry.id.utf8();
    m_edits[id] = Edit {std::nullopt, std::move(entry), vaultID};
    for (const auto& attachment : imports)
        m_imports[attachment.id.utf8()] = attachment;
}

EditingContext::Edit& EditingContext::edit(const Foundation::String& entryID)
{
    auto found = m_edits.find(entryID.utf8());
    if (found != m_edits.end())
        return found->second;
    auto stored = m_recordStore->entry(entryID);
    if (!stored)
        throw RecordStoreError::entryNotFound(entryID);
    return m_edits[entryID.utf8()] = Edit {*stored, *stored, {}};
}

const EditingContext::Edit* EditingContext::findEdit(const Foundation::String& entryID) const
{
    auto found = m_edits.find(entryID.utf8());
    return found == m_edits.end() ? nullptr : &found->second;
}

void EditingContext::prepareForEditing(const Foundation::String& entryID)
{
    edit(entryID);
}

std::optional<Entry> EditingContext::entry(const Foundation::String& entryID) const
{
    if (const auto* found = findEdit(entryID))
        return found->entry;
    return m_recordStore->entry(entryID);
}

bool EditingContext::hasChanges() const
{
    for (const auto& [id, edit] : m_edits) {
        if (!edit.original || *edit.original != edit.entry)
            return true;
    }
    return false;
}

bool EditingContext::hasChanges(const Foundation::String& entryID) const
{
    const auto* found = findEdit(entryID);
    return found && (!found->original || *found->original != found->entry);
}

template <class Change>
auto EditingContext::change(const Foundation::String& entryID, Change&& change)
{
    auto& target = edit(entryID);
    // Changes run on a copy, so one that throws leaves the item as it was.
    Entry working = target.entry;
    if constexpr (std::is_void_v<std::invoke_result_t<Change, Entry&>>) {
        change(working);
        target.entry = std::move(working);
        didChange();
    } else {
        auto result = change(working);
        target.entry = std::move(working);
        didChange();
        return result;
    }
}

void EditingContext::didChange()
{
    m_recordStore->notificationCenter()->post(editingContextDidUpdate(), sharedSelf(this));
}

// --- Changes ------------------------------------------------------------------------------------------

// Typing changes a text once a keystroke: only the value a field held before this context first changed
// it goes into its history, so the partial texts never push the earlier values out.
void EditingContext::setText(const Foundation::String& text, Entry::SystemField::ID fieldID, const Foundation::String& entryID)
{
    auto key = entryID.utf8() + "/" + Foundation::rawValue(fieldID).utf8();
    const bool typedBefore = m_typedFields.contains(key);
    change(entryID, [&](Entry& entry) {
        auto* history = fieldID == Entry::SystemField::ID::password ? &entry.passwordHistory
            : fieldID == Entry::SystemField::ID::totpSecretKey      ? &entry.totpSecretKeyHistory
                                                                    : nullptr;
        auto before = history && typedBefore ? std::optional(*history) : std::nullopt;
        entry.setText(text, fieldID, Foundation::Date::now());
        if (before)
            *history = std::move(*before);
    });
    m_typedFields.insert(key);
}

void EditingContext::setText(const Foundation::String& text, Entry::Field::ID fieldID, const Foundation::String& entryID)
{
    auto key = entryID.utf8() + "/field/" + std::to_string(fieldID.section) + "." + std::to_string(fieldID.index);
    const bool typedBefore = m_typedFields.contains(key);
    change(entryID, [&](Entry& entry) {
        auto before = typedBefore ? std::optional(entry.field(fieldID).history) : std::nullopt;
        entry.setFieldText(fieldID, text, Foundation::Date::now());
        if (before)
            entry.sections[static_cast<std::size_t>(fieldID.section)].fields[static_cast<std::size_t>(fieldID.index)].history = std::move(*before);
    });
    m_typedFields.insert(key);
}

void EditingContext::forgetTypedFields(const Foundation::String& entryID)
{
    // Fields change places: a field typed into before may now be another one.
    auto prefix = entryID.utf8() + "/field/";
    std::erase_if(m_typedFields, [&](const std::string& key) { return key.starts_with(prefix); });
}

void EditingContext::setFieldTitle(const std::optional<Foundation::String>& title, Entry::Field::ID fieldID, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.setFieldTitle(fieldID, title); });
}

void EditingContext::setSectionTitle(const std::optional<Foundation::String>& title, std::int64_t section, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.setSectionTitle(section, title); });
}

void EditingContext::setCategory(Entry::Category category, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.category = category; });
}

void EditingContext::setSubtitleSource(const std::optional<Entry::SubtitleSource>& source, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) {
        if (source) {
            if (const auto* custom = source->as<Entry::SubtitleSource::CustomField>())
                entry.field(custom->id);
        }
        entry.subtitleSource = source;
    });
}

void EditingContext::setFavorite(bool isFavorite, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.isFavorite = isFavorite; });
}

void EditingContext::setSafeForInspection(bool isSafeForInspection, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.isSafeForInspection = isSafeForInspection; });
}

void EditingContext::setShowsEmptyLoginFields(bool showsEmptyLoginFields, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.showsEmptyLoginFields = showsEmptyLoginFields; });
}

void EditingContext::stampServiceIdentifiers(const std::vector<Entry::ServiceIdentifier>& serviceIdentifiers, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) { entry.stampServiceIdentifiers(serviceIdentifiers); });
}

std::int64_t EditingContext::insertSectionAbove(std::int64_t index, Entry::Section::Template sectionTemplate, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    return change(entryID, [&](Entry& entry) { return entry.insertSection(index, sectionTemplate); });
}

std::int64_t EditingContext::insertSectionBelow(std::int64_t index, Entry::Section::Template sectionTemplate, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    return change(entryID, [&](Entry& entry) { return entry.insertSection(index + 1, sectionTemplate); });
}

Entry::Field::ID EditingContext::insertFieldAbove(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    return change(entryID, [&](Entry& entry) { return entry.insertField(fieldID, category); });
}

Entry::Field::ID EditingContext::insertFieldBelow(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    return change(entryID, [&](Entry& entry) {
        entry.field(fieldID);
        return entry.insertField({fieldID.section, fieldID.index + 1}, category);
    });
}

Entry::Field::ID EditingContext::appendField(std::int64_t section, Entry::Field::Category category, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    return change(entryID, [&](Entry& entry) { return entry.appendField(section, category); });
}

void EditingContext::changeFieldCategory(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    change(entryID, [&](Entry& entry) { entry.changeFieldCategory(fieldID, category); });
}

void EditingContext::deleteSection(std::int64_t index, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    change(entryID, [&](Entry& entry) { entry.deleteSection(index); });
}

void EditingContext::deleteField(Entry::Field::ID fieldID, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    change(entryID, [&](Entry& entry) { entry.deleteField(fieldID); });
}

void EditingContext::moveField(Entry::Field::ID from, Entry::Field::ID to, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    change(entryID, [&](Entry& entry) { entry.moveField(from, to); });
}

void EditingContext::moveSection(std::int64_t from, std::int64_t to, const Foundation::String& entryID)
{
    forgetTypedFields(entryID);
    change(entryID, [&](Entry& entry) { entry.moveSection(from, to); });
}

void EditingContext::restorePreviousPassword(const Foundation::String& previousValueID, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) {
        const auto* previous = entry.previousPassword(previousValueID);
        if (!previous)
            throw EntryError::previousValueNotFound(previousValueID);
        entry.setText(Foundation::String(previous->text), Entry::SystemField::ID::password, Foundation::Date::now());
    });
}

void EditingContext::restorePreviousTOTPSecretKey(const Foundation::String& previousValueID, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) {
        const auto* previous = entry.previousTOTPSecretKey(previousValueID);
        if (!previous)
            throw EntryError::previousValueNotFound(previousValueID);
        entry.setText(Foundation::String(previous->text), Entry::SystemField::ID::totpSecretKey, Foundation::Date::now());
    });
}

void EditingContext::restorePreviousFieldValue(Entry::Field::ID fieldID, const Foundation::String& previousValueID, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) {
        const auto* previous = entry.field(fieldID).previousValue(previousValueID);
        if (!previous)
            throw EntryError::previousValueNotFound(previousValueID);
        entry.setFieldText(fieldID, Foundation::String(previous->text), Foundation::Date::now());
    });
}

// --- Attachments --------------------------------------------------------------------------------------

std::optional<Attachment> EditingContext::attachment(const Foundation::String& entryID, Entry::Field::ID fieldID) const
{
    auto entry = this->entry(entryID);
    auto attachmentID = entry ? entry->attachmentID(fieldID) : std::nullopt;
    if (!attachmentID)
        return std::nullopt;
    if (auto imported = m_imports.find(attachmentID->utf8()); imported != m_imports.end())
        return imported->second;
    return m_recordStore->attachment(*attachmentID);
}

void EditingContext::importFile(const Foundation::URL& fileURL, Entry::Field::ID fieldID, const Foundation::String& entryID,
                                const std::shared_ptr<Foundation::Progress>& progress, Basalwork::ResultHandler<AttachmentResult> resultHandler)
{
    edit(entryID).entry.field(fieldID);
    auto dataStore = m_recordStore->attachmentDataStore();
    std::weak_ptr<EditingContext> weak = sharedSelf(this);
    Foundation::DispatchQueue::global()->async([weak, dataStore, fileURL, fieldID, entryID, progress, resultHandler] {
        auto imported = AttachmentResult::catching([&] { return dataStore->importFile(fileURL, entryID, progress.get()); });
        Foundation::DispatchQueue::main()->async([weak, dataStore, fieldID, entryID, imported, resultHandler] {
            auto result = imported;
            if (result.isSuccess()) {
                auto attachment = result.get();
                auto self = weak.lock();
                result = AttachmentResult::catching([&] {
                    if (!self)
                        throw Basalwork::GeneralError::failedWithMessage("The editing ended before the file was attached.");
                    self->change(entryID, [&](Entry& entry) {
                        entry.changeFieldCategory(fieldID, Entry::Field::Category::attachment);
                        entry.setFieldText(fieldID, attachment.id, Foundation::Date::now());
                        if (!entry.field(fieldID).title || entry.field(fieldID).title->isEmpty())
                            entry.setFieldTitle(fieldID, attachment.filename);
                    });
                    self->m_imports[attachment.id.utf8()] = attachment;
                    return attachment;
                });
                // A file that found no field is not kept.
                if (result.isFailure())
                    dataStore->deleteData({attachment.id});
            }
            resultHandler.invokeAsynchronously(result);
        });
    });
}

void EditingContext::clearAttachment(Entry::Field::ID fieldID, const Foundation::String& entryID)
{
    change(entryID, [&](Entry& entry) {
        if (entry.field(fieldID).category != Entry::Field::Category::attachment)
            throw RecordStoreError::fieldNotFound(entryID);
        entry.setFieldText(fieldID, "", Foundation::Date::now());
    });
}

bool EditingContext::containsData(const Foundation::String& attachmentID) const
{
    return m_recordStore->attachmentDataStore()->containsData(attachmentID);
}

void EditingContext::decryptToTemporaryURL(const Foundation::String& attachmentID, const std::shared_ptr<Foundation::Progress>& progress,
                                           Basalwork::ResultHandler<DecryptionResult> resultHandler)
{
    m_recordStore->attachmentDataStore()->decryptToTemporaryURL(attachmentID, progress, std::move(resultHandler));
}

std::shared_ptr<Foundation::NSItemProvider> EditingContext::itemProvider(const Foundation::String& attachmentID)
{
    return m_recordStore->attachmentDataStore()->itemProvider(attachmentID);
}

void EditingContext::discardImports(const std::vector<Foundation::String>& attachmentIDs)
{
    std::vector<Foundation::String> discarded;
    for (const auto& id : attachmentIDs) {
        if (m_imports.erase(id.utf8()) > 0)
            discarded.push_back(id);
    }
    if (discarded.empty())
        return;
    Foundation::catchError([&] { m_recordStore->attachmentDataStore()->deleteData(discarded); });
}

// --- Saving -------------------------------------------------------------------------------------------

void EditingContext::save()
{
    m_recordStore->save(*this);
    // What is stored now is what the next change replaces.
    m_typedFields.clear();
    didChange();
}

void EditingContext::endEditing(bool saving)
{
    if (saving) {
        save();
        return;
    }
    std::vector<Foundation::String> unsaved;
    for (const auto& [id, attachment] : m_imports)
        unsaved.push_back(attachment.id);
    discardImports(unsaved);
    m_edits.clear();
    didChange();
}

} // namespace Shared
