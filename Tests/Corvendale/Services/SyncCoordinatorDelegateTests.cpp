#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/Vault.hpp"
#include "Shared/Syncwright/CloudKitChangeToken.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Progress.hpp"

#include "Tests/Support/MainLoop.hpp"

using namespace CorvendaleTests;
using Corvendale::SyncCoordinator;

namespace {

// What the coordinator answers the remote, asked directly.
class SyncCoordinatorDelegateTests : public SyncCoordinatorFixture {
protected:
    void SetUp() override
    {
        SyncCoordinatorFixture::SetUp();
        here = makeInstallation("here");
    }
    void TearDown() override
    {
        here.reset();
        there.reset();
        SyncCoordinatorFixture::TearDown();
    }

    // An item with this many attachment fields, each with a file; answers the attachments' identifiers.
    std::vector<String> addEntryWithAttachments(ProgramInstallation& installation, int count)
    {
        auto file = m_folder / "scan.png";
        std::ofstream(file) << "pixels";
        auto context = installation.records->makeEditingContext();
        auto id = context->insert(Foundation::UUID().uuidString(), installation.records->vaultIDForNewEntries(), Shared::Entry::Category::passport, false);
        std::vector<String> attachmentIDs;
        for (int index = 0; index < count; ++index) {
            auto field = context->appendField(0, Shared::Entry::Field::Category::attachment, id);
            std::optional<Shared::RecordStore::EditingContext::AttachmentResult> outcome;
            context->importFile(Foundation::URL::fileURLWithPath(String(file.string())), field, id, Foundation::make<Foundation::Progress>(1),
                                Basalwork::ResultHandler<Shared::RecordStore::EditingContext::AttachmentResult>(
                                    Foundation::DispatchQueue::main(), [&](auto result) { outcome = result; }));
            EXPECT_TRUE(ProgramInstallation::waitUntil([&] { return outcome.has_value(); }));
            attachmentIDs.push_back(outcome->get().id);
        }
        context->save();
        entryIDs.push_back(id);
        return attachmentIDs;
    }

    static std::vector<String> typesOf(const std::vector<CloudKit::CKRecordID>& ids, ProgramInstallation& installation)
    {
        auto& context = *installation.records->managedObjectContext();
        return context.performAndWait([&] {
            std::vector<String> types;
            for (const auto& id : ids)
                types.push_back(context.count(Shared::EntryObject::with({id})) > 0 ? String("Entry") : String("Attachment"));
            return types;
        });
    }

    std::unique_ptr<ProgramInstallation> here;
    std::unique_ptr<ProgramInstallation> there;
    std::vector<String> entryIDs;
};

} // namespace

TEST_F(SyncCoordinatorDelegateTests, LocalDeletionsAndChangesFillTheLimitInTypeOrder)
{
    addEntryWithAttachments(*here, 5);
    addEntryWithAttachments(*here, 0);
    auto modified = here->coordinator->locallyModifiedCKRecords(100);
    ASSERT_GE(modified.size(), 7u);
    // Types in sync order; an attachment carries its sealed file.
    EXPECT_EQ(modified[modified.size() - 7]->recordType(), Shared::EntryObject::entityName());
    for (std::size_t index = modified.size() - 5; index < modified.size(); ++index) {
        ASSERT_EQ(modified[index]->recordType(), Shared::AttachmentObject::entityName());
        auto asset = modified[index]->object(Shared::Attachment::ckAssetKey);
        ASSERT_TRUE(asset && asset->as<std::shared_ptr<CloudKit::CKAsset>>());
        EXPECT_TRUE((*asset->as<std::shared_ptr<CloudKit::CKAsset>>())->fileURL().has_value());
    }
    EXPECT_EQ(here->coordinator->locallyModifiedCKRecords(3).size(), 3u);

    // Only what the account holds is deleted there.
    ASSERT_TRUE(here->sync().isSuccess());
    here->records->permanentlyDelete(entryIDs);
    auto deleted = here->coordinator->locallyDeletedCKRecordIDs(3);
    EXPECT_EQ(typesOf(deleted, *here), (std::vector<String> {"Entry", "Entry", "Attachment"}));
    EXPECT_EQ(here->coordinator->locallyDeletedCKRecordIDs(100).size(), 7u);
}

TEST_F(SyncCoordinatorDelegateTests, AnAttachmentThatCannotBeReadFailsThePushInsteadOfErasingTheRemoteFile)
{
    auto attachments = addEntryWithAttachments(*here, 1);
    auto sealed = std::filesystem::path(here->attachments->folderURL().path().utf8()) / (attachments.front().utf8() + ".sealed");
    std::filesystem::remove(sealed);
    std::filesystem::create_directories(sealed);
    EXPECT_THROW(here->coordinator->locallyModifiedCKRecords(100), Foundation::Error);

    // Without any data the record says so.
    std::filesystem::remove(sealed);
    auto records = here->coordinator->locallyModifiedCKRecords(100);
    ASSERT_EQ(records.back()->recordType(), Shared::AttachmentObject::entityName());
    EXPECT_FALSE(records.back()->object(Shared::Attachment::ckAssetKey).has_value());
}

TEST_F(SyncCoordinatorDelegateTests, RemoteChangesApplyAroundUnknownTypesAndRemoteDeletionsAnnounceVaultsOnly)
{
    there = makeInstallation("there");
    auto vaults = here->count(Shared::syncCoordinatorDidUpdateMasterPasswordsOrVaults());
    auto attachments = addEntryWithAttachments(*there, 1);
    there->addEntry("Mail");
    auto records = there->coordinator->locallyModifiedCKRecords(100);
    records.insert(records.begin() + 1, Foundation::make<CloudKit::CKRecord>(String("Mystery"), CloudKit::CKRecordID(String("strange"), here->remote->customRecordZoneID())));

    here->coordinator->processRemotelyModified(records);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(here->titles(), there->titles());
    EXPECT_EQ(here->records->allEntries().size(), 2u);
    EXPECT_TRUE(here->attachments->containsData(attachments.front()));
    // The fetched vault is announced, once.
    EXPECT_EQ(*vaults, 1);

    // Items and their attachments go; only a vault or master password is announced.
    std::vector<CloudKit::CKRecordID> ids;
    for (const auto& record : records) {
        if (record->recordType() == Shared::EntryObject::entityName() || record->recordType() == Shared::AttachmentObject::entityName())
            ids.push_back(record->recordID());
    }
    here->coordinator->processRemotelyDeleted(ids);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(here->records->allEntries().empty());
    EXPECT_FALSE(here->attachments->containsData(attachments.front()));
    EXPECT_EQ(*vaults, 1);

    auto& context = *here->records->managedObjectContext();
    auto vaultIDs = context.performAndWait([&] {
        std::vector<CloudKit::CKRecordID> ids;
        for (const auto& vault : context.fetch(CoreData::NSFetchRequest<Shared::Vault>()))
            ids.push_back(*vault->ckRecordID());
        return ids;
    });
    ASSERT_FALSE(vaultIDs.empty());
    here->coordinator->processRemotelyDeleted(vaultIDs);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(*vaults, 2);
}

TEST_F(SyncCoordinatorDelegateTests, DuplicateChangeTokensReadAsNoneAndAreDeleted)
{
    using Key = Syncwright::CKServerChangeToken::Key;
    auto token = CloudKit::CKServerChangeToken::withPayload(Foundation::Data::fromString("round 1"));
    here->coordinator->setChangeToken(token, Key::customRecordZone);
    ASSERT_TRUE(here->coordinator->changeToken(Key::customRecordZone));
    EXPECT_TRUE(here->coordinator->changeToken(Key::customRecordZone)->isEqual(*token));
    EXPECT_EQ(here->coordinator->changeToken(Key::privateDatabase), nullptr);

    auto& context = *here->records->managedObjectContext();
    auto rows = [&] { return context.performAndWait([&] { return context.count(Syncwright::CloudKitChangeToken::with(Key::customRecordZone)); }); };
    context.performAndWait([&] {
        auto second = context.insertNewObject<Syncwright::CloudKitChangeToken>();
        second->setKey(Key::customRecordZone);
        second->setToken(token);
        context.save();
    });
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(here->coordinator->changeToken(Key::customRecordZone), nullptr);
    EXPECT_EQ(rows(), 0);
}
