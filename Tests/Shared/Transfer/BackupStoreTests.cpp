#include "Tests/Shared/Model/EntrySamples.hpp"
#include "Tests/Shared/Transfer/TransferFixture.hpp"

#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Stores/AttachmentObject.hpp"
#include "Shared/Transfer/BackupStoreError.hpp"
#include "Shared/Transfer/Exporter.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

using namespace Shared;
namespace fs = std::filesystem;

namespace {

constexpr const char* masterPassword = "correct horse battery";
using Interval = Settings::AutoBackup::Interval;

Foundation::URL fileURL(const fs::path& path, bool isDirectory = false)
{
    return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory);
}

class BackupStoreTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        folder = SharedTests::temporaryFolder("Backups") / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        makeInstallation(masterPassword);
    }

    void makeInstallation(const char* password, bool overRecordStore = false)
    {
        vault.reset();
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::TransferVault>(overRecordStore);
        vault->preferenceStore->setAutoBackupInterval(Interval::never);
        vault->authenticationStore->createMasterPassword(password);
        vault->authenticationStore->finishCreatingMasterPassword();
    }

    std::vector<Entry> addItems(const std::string& title)
    {
        auto now = Foundation::Date::now();
        auto entry = Entry::make(Entry::Category::login, now);
        entry.title = Foundation::String(title);
        entry.password = "pw";
        auto section = entry.insertSection(0, Entry::Section::Template::blank);
        auto source = SharedTests::temporaryFolder("BackupSource") / "file.txt";
        TestSupport::writeText(source, "attached to " + title);
        auto attachment = vault->attachmentDataStore->importFile(fileURL(source), entry.id);
        entry.setFieldText(entry.appendField(section, EntryFieldCategory::attachment), attachment.id, now);
        // A title that lost a merge: kept by the item, so by its backup too.
        SharedTests::setSample(entry.mergedAwayValues["title"].emplace_back(), "lost title of " + title);
        auto note = Entry::make(Entry::Category::secureNote, now);
        note.notes = "note of " + title;
        vault->insertEntries({entry, note}, {attachment});
        std::vector<Entry> items {entry, note};
        std::sort(items.begin(), items.end(), [](const auto& lhs, const auto& rhs) { return lhs.id < rhs.id; });
        return items;
    }

    fs::path makeBackup()
    {
        vault->preferenceStore->setBackupFolder(fileURL(folder, true));
        vault->backupStore->performOrCancelBackup();
        EXPECT_TRUE(vault->waitForBackup());
        EXPECT_EQ(vault->backupStore->status().index(), Shared::BackupStoreStatus::indexOf<Shared::BackupStoreStatus::UpToDate>) << describe();
        auto files = vault->backupStore->backupFiles();
        return files.empty() ? fs::path() : fs::path(files.back().path().utf8());
    }

    BackupStore::RestoreOutcome restore(const fs::path& file, const char* password, bool replacing)
    {
        std::optional<BackupStore::RestoreOutcome> outcome;
        Basalwork::ResultHandler<BackupStore::RestoreOutcome> handler(Foundation::DispatchQueue::main(),
                                                                     [&](BackupStore::RestoreOutcome value) { outcome = value; });
        if (replacing)
            vault->backupStore->restoreBackup(fileURL(file), password, handler);
        else
            vault->backupStore->readBackup(fileURL(file), password, handler);
        EXPECT_TRUE(SharedTests::runMainLoopUntil([&] { return outcome.has_value(); }));
        return outcome.value_or(BackupStore::RestoreOutcome::Failed {BackupStoreError::cancelled().clone()});
    }

    std::string failureOf(const BackupStore::RestoreOutcome& outcome)
    {
        const auto* failed = outcome.as<BackupStore::RestoreOutcome::Failed>();
        return failed ? failed->error->description() : "";
    }

    std::string describe() const
    {
        if (const auto* failed = vault->backupStore->status().as<BackupStore::Status::Failed>())
            return failed->error->description();
        return std::to_string(vault->backupStore->status().index());
    }

    std::unique_ptr<SharedTests::TransferVault> vault;
    fs::path folder;
};

fs::path copyWith(const fs::path& file, const std::string& name, const std::function<void(std::string&)>& change)
{
    auto bytes = TestSupport::readText(file);
    change(bytes);
    auto copy = file.parent_path() / name;
    TestSupport::writeText(copy, bytes);
    return copy;
}

} // namespace

TEST_F(BackupStoreTests, StatusFollowsTheFolderAndItsBackups)
{
    vault->backupStore->updateStatus();
    EXPECT_TRUE(vault->backupStore->status().is<BackupStore::Status::NoBackupFolder>());
    vault->preferenceStore->setBackupFolder(fileURL(folder, true));
    const auto* due = vault->backupStore->status().as<BackupStore::Status::BackupDue>();
    ASSERT_TRUE(due);
    EXPECT_FALSE(due->lastBackupAt);

    auto file = makeBackup();
    EXPECT_EQ(file.extension(), ".corvendalebackup");
    EXPECT_EQ(vault->backupStore->status().as<BackupStore::Status::UpToDate>()->lastBackupAt.timeIntervalSinceReferenceDate(),
              std::floor(Foundation::Date::now().timeIntervalSinceReferenceDate()));

    // A folder nothing can be written to: the backup fails and says why.
    vault->preferenceStore->setBackupFolder(fileURL("/proc", true));
    vault->backupStore->performOrCancelBackup();
    ASSERT_TRUE(vault->waitForBackup());
    ASSERT_EQ(vault->backupStore->status().index(), Shared::BackupStoreStatus::indexOf<Shared::BackupStoreStatus::Failed>);
    EXPECT_NE(describe().find("cannot be written to"), std::string::npos) << describe();

    // A folder that went away: the status cannot be told.
    auto gone = folder / "gone";
    fs::create_directories(gone);
    vault->preferenceStore->setBackupFolder(fileURL(gone, true));
    fs::remove(gone);
    vault->backupStore->updateStatus();
    EXPECT_EQ(vault->backupStore->status().index(), Shared::BackupStoreStatus::indexOf<Shared::BackupStoreStatus::FailedToDetermineStatus>);
}

TEST_F(BackupStoreTests, AutomaticBackupsRunAtTheIntervalAndKeepTheChosenNumber)
{
    addItems("auto");
    vault->preferenceStore->setAutoBackupAutoDelete(Settings::AutoBackup::AutoDelete::keepMostRecentFive);
    vault->preferenceStore->setBackupFolder(fileURL(folder, true));
    vault->preferenceStore->setAutoBackupInterval(Interval::daily);
    ASSERT_TRUE(vault->waitForBackup());
    EXPECT_EQ(vault->backupStore->backupFiles().size(), 1u);
    for (int day = 0; day < 7; ++day) {
        TestSupport::advanceClock(86400 + 60);
        ASSERT_TRUE(vault->waitForBackup());
    }
    EXPECT_EQ(vault->backupStore->backupFiles().size(), 5u);
    EXPECT_TRUE(vault->backupStore->status().is<BackupStore::Status::UpToDate>());

    // Open for inspection, the vault shows only part of itself: no backup of it pushes a whole one out.
    const auto newest = vault->backupStore->backupFiles().back();
    vault->preferenceStore->setIsSafeForInspectionModeActivated(true);
    TestSupport::advanceClock(3 * 86400);
    EXPECT_TRUE(vault->backupStore->status().is<BackupStore::Status::BackupDue>());
    EXPECT_EQ(vault->backupStore->backupFiles().back(), newest);
    vault->preferenceStore->setIsSafeForInspectionModeActivated(false);
    ASSERT_TRUE(vault->waitForBackup());
    EXPECT_NE(vault->backupStore->backupFiles().back(), newest) << "out of the mode, the due backup runs";

    // Locked, nothing runs however much time passes.
    vault->authenticationStore->lock(AuthenticationStore::LockKind::requireMasterPassword, false, false, "test");
    TestSupport::advanceClock(3 * 86400);
    EXPECT_TRUE(vault->backupStore->status().is<BackupStore::Status::BackupDue>());
}

TEST_F(BackupStoreTests, PerformOrCancelStopsARunningBackupWithoutAFile)
{
    addItems("cancelled");
    vault->preferenceStore->setBackupFolder(fileURL(folder, true));
    vault->recordStore->onAllEntries = [this] { vault->backupStore->performOrCancelBackup(); };
    vault->backupStore->performOrCancelBackup();
    ASSERT_TRUE(vault->waitForBackup());
    EXPECT_TRUE(vault->backupStore->status().is<BackupStore::Status::BackupDue>()) << describe();
    EXPECT_TRUE(TestSupport::entryNames(folder).empty());
}

TEST_F(BackupStoreTests, AHeaderAskingForAnExcessiveKeyDerivationIsADamagedBackup)
{
    addItems("kept");
    auto file = makeBackup();
    ASSERT_FALSE(file.empty());
    auto costly = copyWith(file, "costly.corvendalebackup", [](std::string& bytes) {
        auto at = bytes.find("\"operationsLimit\":2");
        ASSERT_NE(at, std::string::npos);
        bytes[at + 18] = '9';
    });
    EXPECT_NE(failureOf(restore(costly, masterPassword, false)).find("damaged"), std::string::npos);
    auto checked = restore(file, masterPassword, false);
    EXPECT_TRUE(checked.as<BackupStore::RestoreOutcome::Restored>()) << failureOf(checked);
}

TEST_F(BackupStoreTests, ABackupRestoresOnAnotherInstallationWithItsPassword)
{
    makeInstallation(masterPassword, true);
    auto items = addItems("first installation");
    auto file = makeBackup();
    ASSERT_FALSE(file.empty());

    makeInstallation("the other master password", true);
    auto own = addItems("second installation");
    auto attachmentsBefore = TestSupport::entryNames(vault->attachmentDataStore->folderURL().path().utf8());
    auto unchanged = [&] {
        EXPECT_EQ(vault->allEntries(), own);
        EXPECT_EQ(TestSupport::entryNames(vault->attachmentDataStore->folderURL().path().utf8()), attachmentsBefore);
    };

    EXPECT_NE(failureOf(restore(file, "wrong password", true)).find("does not open this backup"), std::string::npos);
    unchanged();
    auto truncated = copyWith(file, "truncated.corvendalebackup", [](std::string& bytes) { bytes.resize(bytes.size() - 40); });
    EXPECT_NE(failureOf(restore(truncated, masterPassword, true)).find("damaged"), std::string::npos);
    unchanged();
    auto tampered = copyWith(file, "tampered.corvendalebackup", [](std::string& bytes) { bytes[bytes.size() / 2] ^= 0x20; });
    EXPECT_NE(failureOf(restore(tampered, masterPassword, true)).find("damaged"), std::string::npos);
    unchanged();
    auto newer = copyWith(file, "newer.corvendalebackup", [](std::string& bytes) { bytes[8] = 2; });
    EXPECT_NE(failureOf(restore(newer, masterPassword, true)).find("newer version"), std::string::npos);
    unchanged();
    auto other = copyWith(file, "other.corvendalebackup", [](std::string& bytes) { bytes = "not a backup at all"; });
    EXPECT_NE(failureOf(restore(other, masterPassword, true)).find("not a Corvendale backup"), std::string::npos);
    unchanged();

    auto checked = restore(file, masterPassword, false);
    ASSERT_TRUE(checked.as<BackupStore::RestoreOutcome::Restored>()) << failureOf(checked);
    EXPECT_EQ(checked.as<BackupStore::RestoreOutcome::Restored>()->itemCount, 2);
    unchanged();

    auto restored = restore(file, masterPassword, true);
    ASSERT_TRUE(restored.as<BackupStore::RestoreOutcome::Restored>()) << failureOf(restored);
    EXPECT_FALSE(vault->cryptor->isUnlocked());

    // The backup's master password opens the restored vault and its attachments.
    vault->authenticationStore->unlock(masterPassword);
    ASSERT_TRUE(vault->cryptor->isUnlocked());
    EXPECT_EQ(vault->allEntries(), items);
    auto attachment = vault->allAttachments().at(0);
    auto decrypted = vault->attachmentDataStore->decryptToTemporaryFile(attachment.id);
    EXPECT_EQ(TestSupport::readText(decrypted.path().utf8()), "attached to first installation");
}

// Before the password's key opens anything, a changed byte in what it is derived with or what it opens
// would read as a wrong password: the header carries a checksum of them, so it reads as damage.
TEST_F(BackupStoreTests, AChangedKeyMaterialByteReadsAsADamagedBackupNotAWrongPassword)
{
    addItems("items");
    auto file = makeBackup();
    ASSERT_FALSE(file.empty());
    auto changedAfter = [&](const std::string& name, const std::string& key, int offset) {
        return copyWith(file, name + ".corvendalebackup", [&](std::string& bytes) {
            auto at = bytes.find("\"" + key + "\":");
            ASSERT_NE(at, std::string::npos) << key;
            auto& byte = bytes[at + key.size() + 3 + static_cast<std::size_t>(offset)];
            byte = byte == 'A' || byte == '1' ? (byte == 'A' ? 'B' : '2') : (std::isdigit(static_cast<unsigned char>(byte)) ? '1' : 'A');
        });
    };
    for (const auto& [key, offset] : std::vector<std::pair<std::string, int>> {{"salt", 2}, {"memoryLimit", 1}, {"wrappedVaultKey", 5}}) {
        SCOPED_TRACE(key);
        auto changed = changedAfter(key, key, offset);
        auto failure = failureOf(restore(changed, masterPassword, false));
        EXPECT_NE(failure.find("damaged"), std::string::npos) << failure;
    }
    EXPECT_NE(failureOf(restore(file, "wrong password", false)).find("does not open this backup"), std::string::npos);
    auto checked = restore(file, masterPassword, false);
    EXPECT_TRUE(checked.as<BackupStore::RestoreOutcome::Restored>()) << failureOf(checked);
}

// One attachment record that arrived damaged costs only itself: the backup and the export hold
// everything else, and both name what they lack.
TEST_F(BackupStoreTests, ADamagedAttachmentRecordFailsOnlyItselfAndIsNamed)
{
    makeInstallation(masterPassword, true);
    auto damagedItems = addItems("damaged");
    addItems("whole");
    std::string damagedID;
    for (const auto& item : damagedItems) {
        if (!item.attachmentIDs().empty())
            damagedID = item.attachmentIDs().front().utf8();
    }
    ASSERT_FALSE(damagedID.empty());
    auto& context = *vault->store->managedObjectContext();
    context.performAndWait([&] {
        auto object = context.fetch(SyncedObject::existing<AttachmentObject>({Foundation::String(damagedID)})).front();
        auto bytes = object->sealedDescription()->byteVector();
        bytes[bytes.size() / 2] ^= 0x04;
        object->setSealedDescription(Foundation::Data(bytes));
        context.save();
    });

    vault->preferenceStore->setBackupFolder(fileURL(folder, true));
    vault->backupStore->performOrCancelBackup();
    ASSERT_TRUE(vault->waitForBackup());
    EXPECT_NE(describe().find(damagedID), std::string::npos) << describe();
    ASSERT_EQ(vault->backupStore->backupFiles().size(), 1u);
    auto read = restore(fs::path(vault->backupStore->backupFiles().front().path().utf8()), masterPassword, false);
    EXPECT_EQ(failureOf(read), "");

    auto exports = folder / "exports";
    fs::create_directories(exports);
    vault->exporter->resetStatus();
    vault->exporter->exportItems(ExporterFileFormat::corvendaleJSON, fileURL(exports, true));
    ASSERT_TRUE(vault->waitForExport());
    const auto* completed = vault->exporter->status().as<Exporter::Status::Completed>();
    ASSERT_TRUE(completed);
    EXPECT_EQ(completed->report.exportedCount, 4);
    ASSERT_EQ(completed->report.failures.size(), 1u);
    EXPECT_NE(completed->report.failures.front().utf8().find(damagedID), std::string::npos);
}
