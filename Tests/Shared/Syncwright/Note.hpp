#pragma once

#include "Shared/Syncwright/CloudKitChangeToken.hpp"
#include "Shared/Syncwright/PushedModification.hpp"
#include "Shared/Syncwright/Syncable.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPersistentContainer.hpp"

#include <memory>
#include <string>

namespace SyncwrightTests {

// A toy syncable entity: a note with a text. A remote change to a note changed here too keeps the
// local text (the real entities merge field by field).
class Note : public Syncwright::Syncable {
public:
    static Foundation::String entityName() { return "Note"; }
    static constexpr const char* recordNameKey = "identifier";

    Foundation::String identifier() const { return value<Foundation::String>(recordNameKey).value_or(""); }
    Foundation::String text() const { return value<Foundation::String>("text").value_or(""); }
    void setText(const Foundation::String& text)
    {
        setValue(text, "text");
        markLocallyModified();
    }

    static CoreData::NSFetchRequest<Note> locallyDeleted(std::int64_t resultLimit) { return locallyDeletedRequest<Note>(resultLimit); }
    static CoreData::NSFetchRequest<Note> locallyModified(std::int64_t resultLimit) { return locallyModifiedRequest<Note>(resultLimit); }
    static CoreData::NSFetchRequest<Note> with(const std::vector<CloudKit::CKRecordID>& ids) { return requestWith<Note>(ids, recordNameKey); }

    static std::shared_ptr<Note> find(const CloudKit::CKRecordID& id, CoreData::NSManagedObjectContext& context)
    {
        auto found = context.fetch(with({id}));
        return found.empty() ? nullptr : found.front();
    }
    static void process(const Syncwright::PushedModification& pushed, CoreData::NSManagedObjectContext& context)
    {
        if (auto note = find(pushed.recordID(), context))
            note->applyPushedModification(pushed);
    }
    static void processRemotelyModified(const std::shared_ptr<CloudKit::CKRecord>& record, CoreData::NSManagedObjectContext& context)
    {
        auto note = find(record->recordID(), context);
        if (!note) {
            note = context.insertNewObject<Note>();
            note->setValue(record->recordID().recordName(), recordNameKey);
        }
        if (!note->isLocallyModified())
            note->setValue(record->object("text") ? record->object("text")->as<Foundation::String>() : std::nullopt, "text");
        note->setSystemFields(*record);
    }

    std::optional<CloudKit::CKRecordID> ckRecordID() const override { return storedOrNewCKRecordID(identifier()); }
    std::shared_ptr<CloudKit::CKRecord> ckRecordWithLocalModifications(const CloudKit::CKRecordZoneID& zoneID) const override
    {
        auto record = makeCKRecord(entityName(), CloudKit::CKRecordID(identifier(), zoneID));
        record->setObject(text(), "text");
        return record;
    }

    using Syncable::applyPushedModification;
    using Syncable::setSystemFields;
    using Syncable::systemFieldsRecord;

protected:
    friend Foundation::Construct;
    Note() = default;
};

inline std::shared_ptr<CoreData::NSManagedObjectModel> makeNoteModel()
{
    auto note = Foundation::make<CoreData::NSEntityDescription>(Note::entityName());
    note->setManagedObjectClass<Note>();
    note->addAttribute({Note::recordNameKey, CoreData::NSAttributeType::string, false, Foundation::String(""), true});
    note->addAttribute({"text", CoreData::NSAttributeType::string});
    Syncwright::Syncable::addAttributes(*note);
    auto model = Foundation::make<CoreData::NSManagedObjectModel>();
    model->setEntities({note, Syncwright::CloudKitChangeToken::makeEntityDescription()});
    return model;
}

inline std::shared_ptr<CoreData::NSPersistentContainer> makeNoteStore(const std::string& path = ":memory:")
{
    auto container = Foundation::make<CoreData::NSPersistentContainer>("Notes", makeNoteModel());
    container->setPersistentStoreDescriptions({CoreData::NSPersistentStoreDescription(Foundation::URL::fileURLWithPath(path, false))});
    Foundation::ErrorPtr failure;
    container->loadPersistentStores([&](const auto&, Foundation::ErrorPtr error) { failure = error; });
    if (failure)
        failure->raise();
    return container;
}

inline std::shared_ptr<Note> insertNote(CoreData::NSManagedObjectContext& context, const Foundation::String& identifier, const Foundation::String& text)
{
    auto note = context.insertNewObject<Note>();
    note->setValue(identifier, Note::recordNameKey);
    note->setText(text);
    return note;
}

} // namespace SyncwrightTests
