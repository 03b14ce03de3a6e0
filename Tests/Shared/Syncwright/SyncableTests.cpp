#include "Tests/Shared/Syncwright/Note.hpp"

#include "Shared/Metricove/TrackableError.hpp"
#include "Shared/Syncwright/CustomRecordZone.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"
#include "Shared/Syncwright/SyncableType.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"

#include <gtest/gtest.h>

namespace SyncwrightTests {

using CloudKit::CKRecord;
using CloudKit::CKRecordID;
using Syncwright::PushedModification;

namespace {

class SyncableTests : public testing::Test {
protected:
    std::shared_ptr<CoreData::NSPersistentContainer> store = makeNoteStore();
    std::shared_ptr<CoreData::NSManagedObjectContext> context = store->newBackgroundContext();
    const Syncwright::SyncableType noteType = Syncwright::SyncableType::of<Note>();

    std::vector<std::shared_ptr<Syncwright::Syncable>> locallyModified(std::int64_t limit = 0)
    {
        return context->performAndWait([&] { return Syncwright::SyncableType::fetch(noteType.locallyModified(limit), *context); });
    }
    // The server's copy of a record as a save would answer it, with a change tag.
    static std::shared_ptr<CKRecord> serverCopy(const CKRecord& sent, const std::string& tag)
    {
        return CKRecord::fromServer(sent.recordType(), sent.recordID(), sent.fields(), {Foundation::String(tag), std::nullopt, std::nullopt});
    }
};

TEST_F(SyncableTests, SavedPushClearsTheMarkOnlyUpToTheChangeItHeld)
{
    context->performAndWait([&] {
        auto note = insertNote(*context, "a", "first");
        context->save();
        ASSERT_TRUE(note->isLocallyModified());

        auto sent = note->ckRecordWithLocalModifications(Syncwright::customRecordZoneID());
        EXPECT_EQ(sent->recordID(), CKRecordID("a", Syncwright::customRecordZoneID()));
        // Changed again while the record is on its way: the save holds the first text only.
        note->setText("second");
        Note::process(PushedModification::saved(serverCopy(*sent, "tag-1")), *context);
        EXPECT_TRUE(note->isLocallyModified());
        EXPECT_EQ(note->systemFieldsRecord()->recordChangeTag(), Foundation::String("tag-1"));

        auto resent = note->ckRecordWithLocalModifications(Syncwright::customRecordZoneID());
        EXPECT_EQ(resent->recordChangeTag(), Foundation::String("tag-1"));
        Note::process(PushedModification::saved(serverCopy(*resent, "tag-2")), *context);
        EXPECT_FALSE(note->isLocallyModified());
        context->save();
    });
    EXPECT_TRUE(locallyModified().empty());
}

TEST_F(SyncableTests, FailedAndConflictedPushesKeepTheMark)
{
    context->performAndWait([&] {
        auto note = insertNote(*context, "a", "mine");
        auto sent = note->ckRecordWithLocalModifications(Syncwright::customRecordZoneID());
        note->setSystemFields(*serverCopy(*sent, "old"));

        auto theirs = serverCopy(*sent, "theirs");
        Note::process(PushedModification::conflicted(theirs, sent), *context);
        EXPECT_TRUE(note->isLocallyModified());
        EXPECT_EQ(note->systemFieldsRecord()->recordChangeTag(), Foundation::String("theirs"));

        // The server lost the record: the next push makes it anew instead of failing again.
        auto gone = CloudKit::CKError(CloudKit::CKError::Code::unknownItem, "gone").clone();
        Note::process(PushedModification::failed(sent, gone), *context);
        EXPECT_TRUE(note->isLocallyModified());
        EXPECT_EQ(note->systemFieldsRecord(), nullptr);
        EXPECT_EQ(note->ckRecordWithLocalModifications(Syncwright::customRecordZoneID())->recordChangeTag(), std::nullopt);
    });
}

TEST_F(SyncableTests, TypeLevelFetchesFollowTheMarksAndLimits)
{
    context->performAndWait([&] {
        for (auto name : {"a", "b", "c"})
            insertNote(*context, name, name);
        auto deleted = insertNote(*context, "d", "d");
        deleted->markLocallyDeleted();
        auto synced = context->insertNewObject<Note>();
        synced->setValue(Foundation::String("e"), Note::recordNameKey);
        context->save();
    });
    EXPECT_EQ(locallyModified().size(), 3u);
    EXPECT_EQ(locallyModified(2).size(), 2u);
    context->performAndWait([&] {
        auto deleted = Syncwright::SyncableType::fetch(noteType.locallyDeleted(10), *context);
        ASSERT_EQ(deleted.size(), 1u);
        EXPECT_EQ(deleted.front()->ckRecordID()->recordName(), Foundation::String("d"));
        auto named = context->fetch(noteType.with({CKRecordID("a"), CKRecordID("e"), CKRecordID("z")}));
        EXPECT_EQ(named.size(), 2u);
    });
}

TEST_F(SyncableTests, ChangeTokensAreKeptPerKey)
{
    using Key = Syncwright::CKServerChangeToken::Key;
    auto token = CloudKit::CKServerChangeToken::withPayload(Foundation::Data::fromString("seen"));
    context->performAndWait([&] {
        Syncwright::CloudKitChangeToken::fetchFirstOrInsertNew(Key::customRecordZone, *context)->setToken(token);
        context->save();
        auto again = Syncwright::CloudKitChangeToken::fetchFirstOrInsertNew(Key::customRecordZone, *context);
        ASSERT_NE(again->token(), nullptr);
        EXPECT_TRUE(again->token()->isEqual(*token));
        EXPECT_EQ(again->key(), Key::customRecordZone);
        EXPECT_TRUE(context->fetch(Syncwright::CloudKitChangeToken::with(Key::privateDatabase)).empty());

        // A damaged archive reads as no token, so the next fetch starts over instead of failing.
        again->setValue(Foundation::Data::fromString("not an archive"), "token");
        EXPECT_EQ(again->token(), nullptr);
        again->setToken(nullptr);
        context->save();
        EXPECT_EQ(context->fetch(Syncwright::CloudKitChangeToken::all()).size(), 1u);
    });
}

TEST(SyncStatusTests, FailuresCompareByKindAndError)
{
    using Failure = Syncwright::SyncStatus::Failure;
    auto testing = Failure::error(Basalwork::GeneralError::failedWithMessage("Testing"));
    EXPECT_EQ(testing, Failure::error(Basalwork::GeneralError::failedWithMessage("Testing")));
    EXPECT_NE(testing, Failure::error(Basalwork::GeneralError::failedWithMessage("Other")));
    EXPECT_EQ(Syncwright::SyncStatus::failed(testing, std::nullopt).index(), 3);

    for (const auto& reset : {Failure::customRecordZoneDeletedByUser(), Failure::customRecordZoneNotFound(), Failure::customRecordZoneDeleted()}) {
        EXPECT_TRUE(reset.isRecordsResetInICloud());
        EXPECT_FALSE(Metricove::shouldTrackInAnalytics(*reset.underlyingError()));
    }
    EXPECT_TRUE(Failure::iCloudAccountChanged("a", "b").requiresReplacingLocalData());
    EXPECT_TRUE(Metricove::shouldTrackInAnalytics(*Failure::multipleRecordsUsingTheSameID("x").underlyingError()));
}

} // namespace

} // namespace SyncwrightTests
