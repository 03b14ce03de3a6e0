#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Tests/Shared/RecordStoreFixture.hpp"
#include "Tests/Support/Files.hpp"

#include "Shared/AttachmentDataStore.hpp"
#include "Shared/AttachmentObject.hpp"
#include "Shared/RecordStore.hpp"

#include "Platform/CloudKit/CKAsset.hpp"

#include <algorithm>

namespace SyncwrightTests {

namespace {

constexpr const char* assetFolder = "SyncCoordinator.ckRecordAssets";

// The delegate over the record store, with what the program's coordinator adds for it: attachments
// travel as the record's asset, and the store hears of what the sync deleted and changed.
class RecordStoreSyncDelegate : public TestSyncDelegate {
public:
    explicit RecordStoreSyncDelegate(std::shared_ptr<Shared::RecordStore> recordStore)
        : TestSyncDelegate(recordStore->managedObjectContext(), Shared::RecordStore::syncableTypes())
        , m_recordStore(std::move(recordStore))
    {
    }

    std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) override
    {
        auto records = TestSyncDelegate::locallyModifiedCKRecords(resultLimit);
        for (const auto& record : records) {
            if (record->recordType() != Shared::AttachmentObject::entityName())
                continue;
            auto file = m_recordStore->attachmentDataStore()->encryptedFileURL(record->recordID().recordName(), assetFolder);
            record->setObject(file ? std::optional<CloudKit::CKRecordValue>(Foundation::make<CloudKit::CKAsset>(*file)) : std::nullopt,
                              Shared::Attachment::ckAssetKey);
        }
        return records;
    }
    void processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& ckRecordIDs) override
    {
        auto names = recordNames(ckRecordIDs);
        m_recordStore->managedObjectContext()->performAndWait([&] { m_recordStore->didDeleteRemotely(names); });
        TestSyncDelegate::processRemotelyDeleted(ckRecordIDs);
        m_recordStore->attachmentDataStore()->deleteData(names);
    }
    void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) override
    {
        std::vector<Foundation::String> names;
        for (const auto& record : ckRecords) {
            names.push_back(record->recordID().recordName());
            auto asset = record->object(Shared::Attachment::ckAssetKey);
            auto file = asset ? asset->as<std::shared_ptr<CloudKit::CKAsset>>() : std::nullopt;
            if (record->recordType() == Shared::AttachmentObject::entityName() && file && *file && (*file)->fileURL())
                m_recordStore->attachmentDataStore()->storeEncryptedFile(*(*file)->fileURL(), record->recordID().recordName());
        }
        TestSyncDelegate::processRemotelyModified(ckRecords);
        m_recordStore->didModifyRemotely(names);
    }

private:
    static std::vector<Foundation::String> recordNames(const std::vector<CloudKit::CKRecordID>& ids)
    {
        std::vector<Foundation::String> names;
        for (const auto& id : ids)
            names.push_back(id.recordName());
        return names;
    }

    std::shared_ptr<Shared::RecordStore> m_recordStore;
};

// One installation of the program: its record store and attachments in a folder of its own.
struct ItemInstallation {
    ItemInstallation(const SharedTests::Vault& vault, const std::filesystem::path& folder)
    {
        auto location = [&](const char* name) { return Basalwork::File::Location::raw(String((folder / name).string())); };
        attachments = Foundation::make<Shared::AttachmentDataStore>(location("AttachmentStore"), Foundation::FileManager::defaultManager(), vault.cryptor);
        records = Foundation::make<Shared::RecordStore>(vault.notificationCenter, vault.cryptor, attachments, vault.preferenceStore,
                                                        Shared::RecordStore::StoreType::onDisk(location("RecordStore"), "recordStore"));
        delegate = std::make_shared<RecordStoreSyncDelegate>(records);
        remote = Foundation::make<Syncwright::CloudKitRemote>(vault.notificationCenter, CloudKit::CKContainer::withIdentifier(Installation::containerIdentifier),
                                                              Foundation::UserDefaults::withSuiteName(String(folder.parent_path().filename().string() + "-"
                                                                                                             + folder.filename().string())));
        remote->setDelegate(delegate);
    }

    Foundation::Result<Syncwright::SyncResult> sync()
    {
        std::promise<Foundation::Result<Syncwright::SyncResult>> done;
        remote->sync(Foundation::DispatchQueue::global(), [&](const auto& result) { done.set_value(result); });
        auto result = done.get_future().get();
        records->didSynchronize();
        return result;
    }
    std::vector<Shared::Entry> entries() const
    {
        auto entries = records->allEntries();
        std::sort(entries.begin(), entries.end(), [](const auto& lhs, const auto& rhs) { return lhs.id.utf8() < rhs.id.utf8(); });
        return entries;
    }

    std::shared_ptr<Shared::AttachmentDataStore> attachments;
    std::shared_ptr<Shared::RecordStore> records;
    std::shared_ptr<RecordStoreSyncDelegate> delegate;
    std::shared_ptr<Syncwright::CloudKitRemote> remote;
};

class TwoInstallationsTests : public ContainerFixture {
protected:
    void SetUp() override
    {
        ContainerFixture::SetUp();
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        // Both installations unlocked with the account's vault key.
        vault->cryptor->unlock(Shared::Cryptor::Key::random());
        here = std::make_unique<ItemInstallation>(*vault, installationFolder("here"));
        there = std::make_unique<ItemInstallation>(*vault, installationFolder("there"));
    }
    void TearDown() override
    {
        here.reset();
        there.reset();
        ContainerFixture::TearDown();
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::unique_ptr<ItemInstallation> here;
    std::unique_ptr<ItemInstallation> there;
};

TEST_F(TwoInstallationsTests, ItemsAddedEditedTrashedAndDeletedOnOneInstallationAreTheSameOnTheOther)
{
    auto now = Foundation::Date::now();
    auto bank = Shared::Entry::make(Shared::Entry::Category::login, now);
    bank.title = "Bank";
    bank.password = "one";
    auto mail = Shared::Entry::make(Shared::Entry::Category::login, now);
    mail.title = "Mail";
    auto document = Shared::Entry::make(Shared::Entry::Category::secureNote, now);
    document.title = "Document";
    auto source = SharedTests::temporaryFolder("TwoInstallationsTests") / "scan.txt";
    TestSupport::writeText(source, "the scanned page");
    auto attachment = here->attachments->importFile(Foundation::URL::fileURLWithPath(source.string()), document.id);
    auto section = document.insertSection(0, Shared::Entry::Section::Template::blank);
    document.setFieldText(document.appendField(section, Shared::EntryFieldCategory::attachment), attachment.id, now);
    here->records->insertEntries({bank, mail, document}, {attachment});

    ASSERT_TRUE(here->sync().isSuccess()) << here->delegate->lastStatus().description();
    ASSERT_TRUE(there->sync().isSuccess()) << there->delegate->lastStatus().description();
    EXPECT_EQ(there->entries(), here->entries());
    ASSERT_EQ(there->entries().size(), 3u);
    // The attachment arrived as the record's asset and opens with the account's key.
    ASSERT_TRUE(there->attachments->containsData(attachment.id));
    EXPECT_EQ(TestSupport::readText(there->records->decryptAttachmentToTemporaryFile(attachment.id).path().utf8()), "the scanned page");

    TestSupport::advanceClock(60);
    auto editing = here->records->makeEditingContext();
    editing->setText("two", Shared::Entry::SystemField::ID::password, bank.id);
    editing->save();
    here->records->setTrashed({mail.id}, true);
    here->records->permanentlyDelete({document.id});
    ASSERT_TRUE(here->sync().isSuccess()) << here->delegate->lastStatus().description();
    ASSERT_TRUE(there->sync().isSuccess()) << there->delegate->lastStatus().description();
    EXPECT_EQ(there->entries(), here->entries());
    EXPECT_EQ(there->records->entry(bank.id)->password, "two");
    EXPECT_TRUE(there->records->entry(mail.id)->isTrashed());
    EXPECT_FALSE(there->records->containsEntry(document.id));
    EXPECT_FALSE(there->attachments->containsData(attachment.id));

    TestSupport::advanceClock(60);
    there->records->setTrashed({mail.id}, false);
    ASSERT_TRUE(there->sync().isSuccess());
    ASSERT_TRUE(here->sync().isSuccess());
    EXPECT_FALSE(here->records->entry(mail.id)->isTrashed());
    EXPECT_EQ(here->entries(), there->entries());
}

} // namespace

} // namespace SyncwrightTests
