#include "Tests/Shared/Syncwright/ItemInstallation.hpp"
#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Tests/Shared/Stores/VaultFixture.hpp"
#include "Tests/Support/Files.hpp"

namespace SyncwrightTests {

namespace {

class TwoInstallationsTests : public ContainerFixture {
protected:
    void SetUp() override
    {
        ContainerFixture::SetUp();
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        // Both installations unlocked with the account's vault key.
        vault->cryptor->unlock(Shared::Cryptor::Key::random());
        here = std::make_unique<ItemInstallation>(vault->notificationCenter, vault->cryptor, vault->preferenceStore, installationFolder("here"));
        there = std::make_unique<ItemInstallation>(vault->notificationCenter, vault->cryptor, vault->preferenceStore, installationFolder("there"));
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
