#pragma once

#include "Tests/Shared/Syncwright/Note.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/CustomRecordZone.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"
#include "Shared/Syncwright/SyncableType.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CoreData/NSBatchDeleteRequest.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace SyncwrightTests {

using Foundation::String;
using Syncwright::SyncStatus;

// Answers the remote from a store of syncable entities, as the program's sync coordinator does: one
// context, every type walked in order, unknown record types skipped.
class TestSyncDelegate : public Syncwright::CloudKitRemoteDelegate, public Syncwright::SyncOperationDelegate {
public:
    TestSyncDelegate(std::shared_ptr<CoreData::NSManagedObjectContext> context, std::vector<Syncwright::SyncableType> types)
        : m_context(std::move(context))
        , m_types(std::move(types))
    {
    }

    // What the tests look at and set; guarded by `mutex`.
    std::mutex mutex;
    std::vector<SyncStatus> statuses;
    std::set<std::string> setupMarkers;
    std::optional<String> accountOfRecords;
    std::vector<CloudKit::CKRecordZoneID> deletedZones;
    std::map<std::string, int> deliveries; // records modified remotely, by name
    int pushRounds = 0;
    // What the store says it could not take in; guarded by `mutex`.
    Foundation::ErrorPtr notTakenIn;
    // Called before a round of remotely modified records is applied; may throw.
    std::function<void()> beforeApplyingFetchedRound;
    // Called when the push asks for modified records.
    std::function<void()> beforeGivingModifiedRecords;

    SyncStatus lastStatus()
    {
        std::lock_guard lock(mutex);
        return statuses.empty() ? SyncStatus::unknown() : statuses.back();
    }

    void cloudKitRemoteDidUpdate(const SyncStatus& syncStatus) override
    {
        std::lock_guard lock(mutex);
        statuses.push_back(syncStatus);
    }

    bool needsSetup(const String& itemID) override
    {
        std::lock_guard lock(mutex);
        return !setupMarkers.contains(itemID.utf8());
    }
    void didCompleteSetup(const String& itemID) override
    {
        std::lock_guard lock(mutex);
        setupMarkers.insert(itemID.utf8());
    }
    void didCreateCustomRecordZone() override { didCompleteSetup(Syncwright::CloudKitRemote::customRecordZoneSetupItemID); }

    std::vector<CloudKit::CKRecordID> locallyDeletedCKRecordIDs(std::int64_t resultLimit) override
    {
        return m_context->performAndWait([&] {
            std::vector<CloudKit::CKRecordID> ids;
            for (const auto& type : m_types) {
                auto room = resultLimit - static_cast<std::int64_t>(ids.size());
                if (room <= 0)
                    break;
                for (const auto& object : Syncwright::SyncableType::fetch(type.locallyDeleted(room), *m_context)) {
                    if (auto id = object->ckRecordID())
                        ids.push_back(*id);
                }
            }
            return ids;
        });
    }
    std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) override
    {
        if (beforeGivingModifiedRecords)
            beforeGivingModifiedRecords();
        {
            std::lock_guard lock(mutex);
            ++pushRounds;
        }
        return m_context->performAndWait([&] {
            std::vector<std::shared_ptr<CloudKit::CKRecord>> records;
            for (const auto& type : m_types) {
                auto room = resultLimit - static_cast<std::int64_t>(records.size());
                if (room <= 0)
                    break;
                for (const auto& object : Syncwright::SyncableType::fetch(type.locallyModified(room), *m_context))
                    records.push_back(object->ckRecordWithLocalModifications(Syncwright::customRecordZoneID()));
            }
            return records;
        });
    }
    void process(const std::vector<Syncwright::PushedModification>& pushedModifications) override
    {
        m_context->performAndWait([&] {
            for (const auto& pushed : pushedModifications) {
                if (const auto* type = typeNamed(pushed.ckRecord()->recordType()))
                    type->process(pushed, *m_context);
            }
            m_context->save();
        });
    }

    std::optional<String> ckAccountIDAssociatedWithCurrentRecords() override
    {
        std::lock_guard lock(mutex);
        return accountOfRecords;
    }

    void didDeleteRecordZone(const CloudKit::CKRecordZoneID& zoneID) override
    {
        std::lock_guard lock(mutex);
        deletedZones.push_back(zoneID);
    }
    void processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& deletedIDs) override
    {
        m_context->performAndWait([&] {
            auto ckRecordIDs = Syncwright::SyncableType::unchangedHere(m_types, deletedIDs, *m_context);
            for (const auto& type : m_types)
                m_context->execute(CoreData::NSBatchDeleteRequest(type.with(ckRecordIDs)));
            m_context->save();
        });
    }
    Foundation::ErrorPtr fetchedRecordsNotTakenIn() override
    {
        std::lock_guard lock(mutex);
        return notTakenIn;
    }
    void processRecordsOfWholeZone(const std::set<CloudKit::CKRecordID>& ckRecordIDs) override
    {
        auto absent = m_context->performAndWait([&] {
            auto ids = Syncwright::SyncableType::absentFromZone(m_types, ckRecordIDs, *m_context);
            m_context->save();
            return ids;
        });
        if (!absent.empty())
            processRemotelyDeleted(absent);
    }
    void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) override
    {
        if (beforeApplyingFetchedRound)
            beforeApplyingFetchedRound();
        {
            std::lock_guard lock(mutex);
            for (const auto& record : ckRecords)
                ++deliveries[record->recordID().recordName().utf8()];
        }
        m_context->performAndWait([&] {
            Syncwright::SyncableType::processRemotelyModified(m_types, ckRecords, *m_context);
            willSaveRemotelyModified(ckRecords);
            m_context->save();
        });
    }

    std::shared_ptr<CloudKit::CKServerChangeToken> changeToken(Syncwright::CKServerChangeToken::Key key) override
    {
        return m_context->performAndWait([&]() -> std::shared_ptr<CloudKit::CKServerChangeToken> {
            auto tokens = m_context->fetch(Syncwright::CloudKitChangeToken::with(key));
            if (tokens.size() == 1)
                return tokens.front()->token();
            for (const auto& token : tokens)
                m_context->delete_(token);
            m_context->save();
            return nullptr;
        });
    }
    void setChangeToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, Syncwright::CKServerChangeToken::Key key) override
    {
        m_context->performAndWait([&] {
            Syncwright::CloudKitChangeToken::fetchFirstOrInsertNew(key, *m_context)->setToken(token);
            m_context->save();
        });
    }

protected:
    // In the context, before the fetched records are saved.
    virtual void willSaveRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>&) { }

private:
    const Syncwright::SyncableType* typeNamed(const String& recordType) const
    {
        for (const auto& type : m_types) {
            if (type.entityName() == recordType)
                return &type;
        }
        return nullptr;
    }

    std::shared_ptr<CoreData::NSManagedObjectContext> m_context;
    std::vector<Syncwright::SyncableType> m_types;
};

// One installation of the program: its own folder and store, a remote on the shared container.
class Installation {
public:
    explicit Installation(const std::filesystem::path& folder)
        : store(makeNoteStore((folder / "Notes.sqlite").string()))
        , context(store->newBackgroundContext())
        , delegate(std::make_shared<TestSyncDelegate>(context, std::vector {Syncwright::SyncableType::of<Note>()}))
        , remote(Foundation::make<Syncwright::CloudKitRemote>(Foundation::NotificationCenter::defaultCenter(),
                                                              CloudKit::CKContainer::withIdentifier(containerIdentifier),
                                                              Foundation::UserDefaults::withSuiteName(String(folder.parent_path().filename().string() + "-" + folder.filename().string()))))
    {
        remote->setDelegate(delegate);
    }

    static inline const std::string containerIdentifier = "iCloud.test.Corvendale";

    Foundation::Result<Syncwright::SyncResult> sync()
    {
        std::promise<Foundation::Result<Syncwright::SyncResult>> done;
        remote->sync(Foundation::DispatchQueue::global(), [&](const auto& result) { done.set_value(result); });
        return done.get_future().get();
    }

    void edit(const std::function<void(CoreData::NSManagedObjectContext&)>& change)
    {
        context->performAndWait([&] {
            change(*context);
            context->save();
        });
    }
    void add(const String& identifier, const String& text)
    {
        edit([&](auto& context) { insertNote(context, identifier, text); });
    }
    void setText(const String& identifier, const String& text)
    {
        edit([&](auto& context) { Note::find(CloudKit::CKRecordID(identifier), context)->setText(text); });
    }
    void deleteLocally(const String& identifier)
    {
        edit([&](auto& context) { Note::find(CloudKit::CKRecordID(identifier), context)->markLocallyDeleted(); });
    }
    // The notes not marked deleted, by identifier.
    std::map<std::string, std::string> notes()
    {
        return context->performAndWait([&] {
            std::map<std::string, std::string> notes;
            for (const auto& note : context->fetch(CoreData::NSFetchRequest<Note>())) {
                if (!note->isLocallyDeleted())
                    notes[note->identifier().utf8()] = note->text().utf8();
            }
            return notes;
        });
    }
    std::int64_t locallyMarked()
    {
        return context->performAndWait([&] {
            return static_cast<std::int64_t>(context->fetch(Note::locallyModified(0)).size() + context->fetch(Note::locallyDeleted(0)).size());
        });
    }

    std::shared_ptr<CoreData::NSPersistentContainer> store;
    std::shared_ptr<CoreData::NSManagedObjectContext> context;
    std::shared_ptr<TestSyncDelegate> delegate;
    std::shared_ptr<Syncwright::CloudKitRemote> remote;
};

} // namespace SyncwrightTests
