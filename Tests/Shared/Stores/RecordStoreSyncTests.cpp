#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/Onboarding.hpp"
#include "Shared/Stores/Vault.hpp"
#include "Shared/Syncwright/SyncableType.hpp"

#include "Basalwork/Base/NSManagedObjectContext.hpp"

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <gtest/gtest.h>
#include <thread>

using namespace Shared;
using SharedTests::addEntry;
using SystemField = Entry::SystemField::ID;

namespace {

const CloudKit::CKRecordZoneID zone("CustomRecordZone");

// Two installations of one account: each its own store, both with the account's vault key.
class RecordStoreSyncTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        key = std::make_unique<Cryptor::Key>(Cryptor::Key::random());
        vault->cryptor->unlock(key->copy());
        here = SharedTests::openRecordStore(*vault, RecordStore::StoreType::inMemory());
        there = SharedTests::openRecordStore(*vault, RecordStore::StoreType::inMemory());
    }

    // The account saves the record and hands it back with a change tag.
    static std::shared_ptr<CloudKit::CKRecord> saved(const CloudKit::CKRecord& record)
    {
        static int tag = 0;
        return CloudKit::CKRecord::fromServer(record.recordType(), record.recordID(), record.fields(),
                                              {Foundation::String("tag-" + std::to_string(++tag)), Foundation::Date::now(), Foundation::Date::now()});
    }

    // Pushes the item from one store and fetches it into the other, as a sync would.
    std::shared_ptr<CloudKit::CKRecord> push(RecordStore& from, RecordStore& to, const Foundation::String& id)
    {
        auto record = saved(*from.ckRecordWithLocalModifications(id, zone));
        auto& context = *from.managedObjectContext();
        context.performAndWait([&] {
            EntryObject::process(Syncwright::PushedModification::saved(record), context);
            context.save();
        });
        auto& other = *to.managedObjectContext();
        other.performAndWait([&] {
            EntryObject::processRemotelyModified(record, other);
            other.save();
        });
        to.didModifyRemotely({id});
        return record;
    }

    static bool isLocallyModified(RecordStore& store, const Foundation::String& id)
    {
        auto& context = *store.managedObjectContext();
        return context.performAndWait([&] { return context.fetch(SyncedObject::existing<EntryObject>({id})).front()->isLocallyModified(); });
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::unique_ptr<Cryptor::Key> key;
    std::shared_ptr<RecordStore> here;
    std::shared_ptr<RecordStore> there;
};

} // namespace

TEST_F(RecordStoreSyncTests, ChangesMadeApartMergeFieldByField)
{
    auto id = addEntry(*here, "Shared", "first");
    EXPECT_TRUE(isLocallyModified(*here, id));
    push(*here, *there, id);
    EXPECT_FALSE(isLocallyModified(*here, id));
    EXPECT_FALSE(isLocallyModified(*there, id));
    EXPECT_EQ(there->entry(id)->password, "first");

    TestSupport::advanceClock(10);
    auto context = here->makeEditingContext();
    context->setText("Shared, renamed", SystemField::title, id);
    context->setText("mine", SystemField::password, id);
    context->save();
    TestSupport::advanceClock(10);
    there->setFavorite({id}, true);
    auto theirs = there->makeEditingContext();
    theirs->setText("theirs", SystemField::password, id);
    theirs->save();

    // Their later password wins, and this side's earlier one stays in the history.
    push(*there, *here, id);
    auto merged = *here->entry(id);
    EXPECT_EQ(merged.title, "Shared, renamed");
    EXPECT_TRUE(merged.isFavorite);
    EXPECT_EQ(merged.password, "theirs");
    std::vector<std::string> history;
    for (const auto& value : merged.passwordHistory)
        history.push_back(value.text.utf8());
    std::sort(history.begin(), history.end());
    EXPECT_EQ(history, (std::vector<std::string> {"first", "mine"}));
    // The merge holds a change the account lacks: it goes back, and then both sides agree.
    EXPECT_TRUE(isLocallyModified(*here, id));
    push(*here, *there, id);
    EXPECT_EQ(*there->entry(id), merged);
    EXPECT_FALSE(isLocallyModified(*there, id));
}

TEST_F(RecordStoreSyncTests, ARecordFetchedWhileLockedWaitsForTheKeyAndIsNotPushedMeanwhile)
{
    auto id = addEntry(*here, "Arrives locked", "secret");
    auto other = addEntry(*there, "Local change", "");
    there->setFavorite({other}, true);
    auto record = saved(*here->ckRecordWithLocalModifications(id, zone));
    vault->cryptor->lock();
    auto& context = *there->managedObjectContext();
    context.performAndWait([&] {
        EntryObject::processRemotelyModified(record, context);
        context.save();
    });
    there->didModifyRemotely({id});
    auto waiting = context.performAndWait([&] {
        std::vector<Foundation::String> names;
        for (const auto& object : context.fetch(EntryObject::locallyModified(0)))
            names.push_back(std::static_pointer_cast<EntryObject>(object)->id());
        return names;
    });
    EXPECT_EQ(waiting, std::vector<Foundation::String> {other});

    vault->cryptor->unlock(key->copy());
    EXPECT_EQ(there->entry(id)->password, "secret");
    EXPECT_FALSE(isLocallyModified(*there, id));
}

TEST_F(RecordStoreSyncTests, DeletionsLeaveMarkersUntilPushed)
{
    auto id = addEntry(*here, "Short-lived", "");
    auto unsynced = addEntry(*here, "Never synced", "");
    push(*here, *there, id);
    here->permanentlyDelete({id, unsynced});
    auto& context = *here->managedObjectContext();
    auto markers = context.performAndWait([&] {
        std::vector<Foundation::String> names;
        for (const auto& object : context.fetch(EntryObject::locallyDeleted(0)))
            names.push_back(std::static_pointer_cast<EntryObject>(object)->id());
        return names;
    });
    // The account never saw the second item: it is simply gone.
    EXPECT_EQ(markers, std::vector<Foundation::String> {id});
    EXPECT_FALSE(here->entry(id));

    // The other side learns of the deletion and drops the item from its list, before the sync engine
    // deletes the object in the store.
    EXPECT_TRUE(there->containsEntry(id));
    there->didDeleteRemotely({id});
    EXPECT_FALSE(there->containsEntry(id));
    auto& theirs = *there->managedObjectContext();
    theirs.performAndWait([&] {
        Basalwork::delete_(theirs, EntryObject::with({CloudKit::CKRecordID(id, zone)}));
        theirs.save();
    });
    vault->cryptor->lock();
    vault->cryptor->unlock(key->copy());
    EXPECT_FALSE(there->containsEntry(id));
}

TEST_F(RecordStoreSyncTests, AConflictTakesTheAccountsCopyInAndKeepsTheLocalChange)
{
    auto id = addEntry(*here, "Contested", "first");
    auto base = push(*here, *there, id);
    TestSupport::advanceClock(10);
    there->setArchived({id}, true);
    auto theirs = push(*there, *here, id);
    // Meanwhile here changed too, without having fetched: the account refuses the push.
    auto& context = *here->managedObjectContext();
    context.performAndWait([&] {
        auto object = context.fetch(SyncedObject::existing<EntryObject>({id})).front();
        object->setRemoteSealedEntry(std::nullopt);
        object->setSystemFields(*base);
        context.save();
    });
    TestSupport::advanceClock(10);
    here->setFavorite({id}, true);
    auto refused = here->ckRecordWithLocalModifications(id, zone);
    context.performAndWait([&] {
        EntryObject::process(Syncwright::PushedModification::conflicted(theirs, refused), context);
        context.save();
    });

    auto merged = *here->entry(id);
    EXPECT_TRUE(merged.isArchived);
    EXPECT_TRUE(merged.isFavorite);
    EXPECT_TRUE(isLocallyModified(*here, id));
    // The next push carries the system fields of the account's copy.
    EXPECT_EQ(here->ckRecordWithLocalModifications(id, zone)->recordChangeTag(), theirs->recordChangeTag());
}

TEST_F(RecordStoreSyncTests, TheSixSyncedTypesComeInTheirOrder)
{
    std::vector<Foundation::String> names;
    for (const auto& type : RecordStore::syncableTypes())
        names.push_back(type.entityName());
    EXPECT_EQ(names, (std::vector<Foundation::String> {"Migrations", "Onboarding", "MasterPassword", "Vault", "Entry", "Attachment"}));
    // The vault every installation starts with waits to be pushed.
    auto& context = *here->managedObjectContext();
    auto waiting = context.performAndWait([&] { return context.fetch(RecordStore::syncableTypes()[3].locallyModified(10)).size(); });
    EXPECT_EQ(waiting, 1u);
}

TEST_F(RecordStoreSyncTests, CompletedStepsUniteAcrossInstallations)
{
    auto complete = [&](RecordStore& store, const char* step) {
        auto& context = *store.managedObjectContext();
        return context.performAndWait([&] {
            auto onboarding = SyncedObject::findOrInsert<Onboarding>(context, "Onboarding");
            onboarding->complete(step, Foundation::Date::now());
            context.save();
            return onboarding->ckRecordWithLocalModifications(zone);
        });
    };
    complete(*here, "autoFill");
    auto theirs = saved(*complete(*there, "backup"));
    auto& context = *here->managedObjectContext();
    auto onboarding = context.performAndWait([&] {
        Onboarding::processRemotelyModified(theirs, context);
        context.save();
        return context.fetch(SyncedObject::existing<Onboarding>()).front();
    });
    context.performAndWait([&] {
        EXPECT_TRUE(onboarding->isCompleted("autoFill"));
        EXPECT_TRUE(onboarding->isCompleted("backup"));
        // The account lacks "autoFill": it goes back.
        EXPECT_TRUE(onboarding->isLocallyModified());
    });
}

// An item changed on one side only reaches the other as it is: nothing is merged into a history entry of
// its own there, so nothing goes back.
TEST_F(RecordStoreSyncTests, AChangeFromOneSideIsTakenAsItIsAndNotPushedBack)
{
    auto id = addEntry(*here, "Rotated", "first");
    push(*here, *there, id);
    for (int round = 0; round < 8; ++round) {
        TestSupport::advanceClock(10);
        auto context = here->makeEditingContext();
        context->setText(Foundation::String("secret " + std::to_string(round)), SystemField::password, id);
        context->save();
        push(*here, *there, id);
        EXPECT_FALSE(isLocallyModified(*there, id)) << "round " << round;
        EXPECT_EQ(*there->entry(id), *here->entry(id)) << "round " << round;
    }
}

// A fetched record that does not open is kept for later and reported, never dropped in silence; a whole
// copy arriving later is taken in and ends the report.
TEST_F(RecordStoreSyncTests, AFetchedRecordThatDoesNotOpenIsKeptAndReportedUntilAWholeOneArrives)
{
    auto id = addEntry(*here, "Damaged on the way", "secret");
    auto whole = saved(*here->ckRecordWithLocalModifications(id, zone));
    auto sealed = *whole->object("sealedEntry")->as<Foundation::Data>();
    auto bytes = sealed.byteVector();
    bytes[bytes.size() / 2] ^= 0x10;
    auto damaged = CloudKit::CKRecord::fromServer(whole->recordType(), whole->recordID(), whole->fields(),
                                                  {Foundation::String("tag-damaged"), Foundation::Date::now(), Foundation::Date::now()});
    damaged->setObject(Foundation::Data(bytes), "sealedEntry");

    auto& context = *there->managedObjectContext();
    auto receive = [&](const std::shared_ptr<CloudKit::CKRecord>& record) {
        context.performAndWait([&] {
            EntryObject::processRemotelyModified(record, context);
            context.save();
        });
        there->didModifyRemotely({id});
    };
    receive(damaged);
    auto report = there->fetchedRecordsNotOpened();
    ASSERT_TRUE(report);
    EXPECT_NE(report->description().find(id.utf8()), std::string::npos) << report->description();
    EXPECT_TRUE(context.performAndWait([&] { return context.fetch(SyncedObject::existing<EntryObject>({id})).front()->remoteSealedEntry().has_value(); }));

    receive(whole);
    EXPECT_FALSE(there->fetchedRecordsNotOpened());
    EXPECT_EQ(there->entry(id)->password, "secret");
}

// A deletion that meets an edit made elsewhere keeps the edited item, both ways; this installation's
// own save coming back does not undo its deletion.
TEST_F(RecordStoreSyncTests, ADeletionThatMeetsAnEditKeepsTheEditedItem)
{
    auto editedThere = addEntry(*here, "Edited there", "pw");
    auto editedHere = addEntry(*here, "Edited here", "pw");
    auto deleted = addEntry(*here, "Deleted", "pw");
    push(*here, *there, editedThere);
    push(*here, *there, editedHere);
    auto echo = push(*here, *there, deleted);
    auto& context = *here->managedObjectContext();
    auto receive = [&](const std::shared_ptr<CloudKit::CKRecord>& record, const Foundation::String& id) {
        context.performAndWait([&] {
            EntryObject::processRemotelyModified(record, context);
            context.save();
        });
        here->didModifyRemotely({id});
    };

    here->permanentlyDelete({editedThere, deleted});
    receive(echo, deleted);
    EXPECT_FALSE(here->containsEntry(deleted));
    TestSupport::advanceClock(10);
    auto theirs = there->makeEditingContext();
    theirs->setText("Edited there, renamed", SystemField::title, editedThere);
    theirs->save();
    receive(saved(*there->ckRecordWithLocalModifications(editedThere, zone)), editedThere);
    ASSERT_TRUE(here->containsEntry(editedThere));
    EXPECT_EQ(here->entry(editedThere)->title, "Edited there, renamed");
    auto markers = context.performAndWait([&] { return context.fetch(EntryObject::locallyDeleted(0)).size(); });
    EXPECT_EQ(markers, 1u);

    auto mine = here->makeEditingContext();
    mine->setText("typed here", SystemField::notes, editedHere);
    mine->save();
    auto remaining = context.performAndWait([&] {
        auto ids = Syncwright::SyncableType::unchangedHere(RecordStore::syncableTypes(), {CloudKit::CKRecordID(editedHere, zone)}, context);
        context.save();
        return ids;
    });
    EXPECT_TRUE(remaining.empty());
    EXPECT_EQ(here->entry(editedHere)->notes, "typed here");
    EXPECT_TRUE(isLocallyModified(*here, editedHere));
    // Its next push makes the record anew.
    EXPECT_FALSE(here->ckRecordWithLocalModifications(editedHere, zone)->recordChangeTag());
}

// A sync's rounds that end while the main thread is busy reach whoever reads the records again as one
// update; a round after it is heard anew.
TEST_F(RecordStoreSyncTests, RoundsAppliedWhileTheMainThreadIsBusyAreOneUpdate)
{
    std::vector<Foundation::String> ids;
    for (const char* title : {"Bank", "Mail", "Forum"})
        ids.push_back(addEntry(*here, title));
    TestSupport::runMainLoopUntilIdle();
    int updates = 0;
    auto observer = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateRecords(), there, nullptr,
                                                           [&](const Foundation::Notification&) { ++updates; });
    // The fetch's rounds run off the main thread.
    std::thread([&] {
        for (const auto& id : ids)
            push(*here, *there, id);
    }).join();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(there->allEntries().size(), 3u);

    auto context = here->makeEditingContext();
    context->setText("Bank 2", SystemField::title, ids.front());
    context->save();
    std::thread([&] { push(*here, *there, ids.front()); }).join();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(updates, 2);
    vault->notificationCenter->removeObserver(observer);
}
