#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace Shared;

namespace {

constexpr const char* masterPassword = "correct horse battery";
const std::string content = "Passport scan: P<UTOERIKSSON<<ANNA<MARIA";

class AttachmentDataStoreTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        vault->authenticationStore->createMasterPassword(masterPassword);
        vault->attachmentDataStore->performHousekeeping();
        source = SharedTests::temporaryFolder("AttachmentSource") / "passport.pdf";
        TestSupport::writeText(source, content);
    }

    static std::filesystem::path temporaryFolder() { return Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8(); }
    static std::filesystem::path decryptedRoot() { return temporaryFolder() / ("AttachmentDataStore.decrypted-" + std::to_string(::geteuid())); }
    // The plaintext copies anywhere under the temporary folder, but for the file attached.
    std::vector<std::filesystem::path> plaintextCopies() const
    {
        std::vector<std::filesystem::path> found;
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(temporaryFolder(), error); !error && it != std::filesystem::recursive_directory_iterator();
             it.increment(error)) {
            std::error_code ignored;
            if (it->is_regular_file(ignored) && it->path() != source && TestSupport::readText(it->path()) == content)
                found.push_back(it->path());
        }
        return found;
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::filesystem::path source;
};

} // namespace

TEST_F(AttachmentDataStoreTests, AttachmentsAreEncryptedAtRestAndDecryptToTheirOwnName)
{
    auto& store = *vault->attachmentDataStore;
    auto attachment = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    EXPECT_EQ(attachment.filename, "passport.pdf");
    EXPECT_EQ(attachment.byteCount, static_cast<std::int64_t>(content.size()));
    EXPECT_TRUE(store.containsData(attachment.id));
    for (const auto& entry : std::filesystem::directory_iterator(store.folderURL().path().utf8())) {
        auto stored = TestSupport::readText(entry.path());
        EXPECT_EQ(stored.find("ERIKSSON"), std::string::npos);
        EXPECT_EQ(stored.find("passport"), std::string::npos) << "the file name is sealed too";
    }

    auto decrypted = store.decryptToTemporaryFile(attachment.id);
    EXPECT_EQ(decrypted.lastPathComponent(), "passport.pdf");
    EXPECT_EQ(TestSupport::readText(decrypted.path().utf8()), content);
    EXPECT_EQ(std::filesystem::status(decrypted.deletingLastPathComponent().path().utf8()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);

    EXPECT_EQ(std::filesystem::status(decrypted.path().utf8()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::status(decryptedRoot()).permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all);

    // Housekeeping sweeps every decrypted copy.
    store.performHousekeeping();
    EXPECT_FALSE(std::filesystem::exists(decrypted.path().utf8()));
    EXPECT_TRUE(plaintextCopies().empty());
    EXPECT_TRUE(std::filesystem::is_empty(decryptedRoot()));

    store.deleteData({attachment.id});
    EXPECT_THROW(store.decryptToTemporaryFile(attachment.id), RecordStoreError);
    EXPECT_THROW(store.decryptToTemporaryFile("../../escape"), Basalwork::StoreKeyError);
}

TEST_F(AttachmentDataStoreTests, AFlippedByteIsRefusedAndLeavesNoDecryptedFile)
{
    auto& store = *vault->attachmentDataStore;
    auto attachment = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    auto sealed = std::filesystem::path(store.folderURL().path().utf8()) / (attachment.id.utf8() + ".sealed");
    auto bytes = TestSupport::readText(sealed);
    bytes[bytes.size() - 5] ^= 0x20;
    TestSupport::writeText(sealed, bytes);

    try {
        store.decryptToTemporaryFile(attachment.id);
        ADD_FAILURE() << "a tampered attachment was returned";
    } catch (const CryptorError& error) {
        EXPECT_TRUE(error.is<CryptorError::AuthenticationFailed>());
    }
    EXPECT_TRUE(plaintextCopies().empty());

    // The asynchronous road reports the same failure on the handler's queue.
    std::optional<AttachmentDataSource::DecryptionResult> result;
    store.decryptToTemporaryURL(attachment.id, Foundation::make<Foundation::Progress>(0),
                                Basalwork::ResultHandler<AttachmentDataSource::DecryptionResult>(
                                    Foundation::DispatchQueue::main(), [&](AttachmentDataSource::DecryptionResult value) { result = value; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return result.has_value(); }));
    ASSERT_NE(result->failureValue(), nullptr);
    EXPECT_EQ((*result->failureValue())->domain(), "Shared.CryptorError");
}

TEST_F(AttachmentDataStoreTests, ALockedVaultDecryptsNothing)
{
    auto& store = *vault->attachmentDataStore;
    auto attachment = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    vault->authenticationStore->lock(AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    EXPECT_THROW(store.decryptToTemporaryFile(attachment.id), CryptorError);
    EXPECT_THROW(store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1"), CryptorError);
}

// A vault made in one process is opened, unlocked and read in a second: this test process starts itself
// again with only the test below, pointed at this home.
TEST_F(AttachmentDataStoreTests, ASecondProcessOpensUnlocksAndReadsTheVault)
{
    auto attachment = vault->attachmentDataStore->importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    auto command = std::string("CORVENDALE_TEST_SHARED_DATA_HOME='") + std::getenv("XDG_DATA_HOME") + "' CORVENDALE_TEST_ATTACHMENT_ID='"
        + attachment.id.utf8() + "' /proc/" + std::to_string(::getpid())
        + "/exe --gtest_filter=SecondProcess.OpensTheVaultOfTheFirst > /dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SecondProcess, OpensTheVaultOfTheFirst)
{
    const char* home = std::getenv("CORVENDALE_TEST_SHARED_DATA_HOME");
    const char* attachmentID = std::getenv("CORVENDALE_TEST_ATTACHMENT_ID");
    if (!home || !attachmentID)
        GTEST_SKIP() << "runs only inside the two-process test";
    ::setenv("XDG_DATA_HOME", home, 1);
    SharedTests::Vault vault;
    ASSERT_EQ(vault.authenticationStore->authenticationState().index(), Shared::AuthenticationState::indexOf<Shared::AuthenticationState::Locked>);
    vault.authenticationStore->unlock("correct horse battery?");
    EXPECT_FALSE(vault.cryptor->isUnlocked());
    EXPECT_THROW(vault.attachmentDataStore->decryptToTemporaryFile(attachmentID), CryptorError);
    vault.authenticationStore->lock(AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    vault.authenticationStore->unlock(masterPassword);
    ASSERT_TRUE(vault.authenticationStore->authenticationState().isAuthenticated());
    auto decrypted = vault.attachmentDataStore->decryptToTemporaryFile(attachmentID);
    EXPECT_EQ(TestSupport::readText(decrypted.path().utf8()), content);
    vault.attachmentDataStore->performHousekeeping();
    EXPECT_FALSE(std::filesystem::exists(decrypted.path().utf8()));
}

// A program killed with copies out leaves them to the next launch's housekeeping, which takes them but not
// the copies of a process still running (a second installation). This test starts a process of its own
// (the test below), which decrypts and is then killed.
TEST_F(AttachmentDataStoreTests, TheNextLaunchSweepsTheCopiesOfAKilledProcessButNotThoseOfALiveOne)
{
    auto attachment = vault->attachmentDataStore->importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    // A second installation, alive all along, with a copy of its own out.
    auto live = Foundation::make<AttachmentDataStore>(
        Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/AttachmentStore")),
        Foundation::FileManager::defaultManager(), vault->cryptor);
    auto liveCopy = std::filesystem::path(live->decryptToTemporaryFile(attachment.id).path().utf8());

    auto command = std::string("CORVENDALE_TEST_SHARED_DATA_HOME='") + std::getenv("XDG_DATA_HOME") + "' CORVENDALE_TEST_SHARED_TMPDIR='"
        + temporaryFolder().string() + "' CORVENDALE_TEST_ATTACHMENT_ID='" + attachment.id.utf8() + "' /proc/" + std::to_string(::getpid())
        + "/exe --gtest_filter=KilledProcess.LeavesItsDecryptedCopy > /dev/null 2>&1; echo $? > '" + (temporaryFolder() / "status").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(TestSupport::readText(temporaryFolder() / "status"), std::to_string(128 + SIGKILL) + "\n") << "the process was killed";
    auto copies = plaintextCopies();
    ASSERT_EQ(copies.size(), 2u) << "the killed process left its copy";

    vault->attachmentDataStore->performHousekeeping();
    EXPECT_EQ(plaintextCopies(), std::vector {liveCopy});
    live->performHousekeeping();
    EXPECT_TRUE(plaintextCopies().empty());
}

TEST(KilledProcess, LeavesItsDecryptedCopy)
{
    const char* home = std::getenv("CORVENDALE_TEST_SHARED_DATA_HOME");
    const char* temporary = std::getenv("CORVENDALE_TEST_SHARED_TMPDIR");
    const char* attachmentID = std::getenv("CORVENDALE_TEST_ATTACHMENT_ID");
    if (!home || !temporary || !attachmentID)
        GTEST_SKIP() << "runs only inside the test that kills it";
    ::setenv("XDG_DATA_HOME", home, 1);
    ::setenv("TMPDIR", temporary, 1);
    SharedTests::Vault vault;
    vault.authenticationStore->unlock(masterPassword);
    ASSERT_TRUE(vault.authenticationStore->authenticationState().isAuthenticated());
    vault.attachmentDataStore->decryptToTemporaryFile(attachmentID);
    ::kill(::getpid(), SIGKILL);
}

// Copies go only into a folder of the user's own: one of that name that is a link (or another user's)
// is refused, and nothing is decrypted into what it points at.
TEST_F(AttachmentDataStoreTests, ADecryptionFolderThatIsNotTheUsersOwnIsRefused)
{
    auto& store = *vault->attachmentDataStore;
    auto attachment = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    store.performHousekeeping();
    std::filesystem::remove_all(decryptedRoot());
    auto elsewhere = SharedTests::temporaryFolder("Elsewhere");
    std::filesystem::create_directory_symlink(elsewhere, decryptedRoot());
    EXPECT_THROW(store.decryptToTemporaryFile(attachment.id), Foundation::Error);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    store.performHousekeeping();
    EXPECT_TRUE(std::filesystem::is_symlink(decryptedRoot())) << "housekeeping follows no link";
    std::filesystem::remove(decryptedRoot());
    EXPECT_EQ(TestSupport::readText(store.decryptToTemporaryFile(attachment.id).path().utf8()), content);
    store.performHousekeeping();
}

// What the sync pushes: "no file" tells the account that the attachment has no data, so a file that
// cannot be read must fail instead.
TEST_F(AttachmentDataStoreTests, TheSyncCopyIsNothingOnlyForAnAttachmentWithoutData)
{
    auto& store = *vault->attachmentDataStore;
    auto attachment = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    auto copy = store.encryptedFileURL(attachment.id, "Sync.assets");
    ASSERT_TRUE(copy.has_value());
    auto folder = std::filesystem::path(store.folderURL().path().utf8());
    EXPECT_EQ(Foundation::FileIO::readFile(copy->path().utf8()), Foundation::FileIO::readFile(folder / (attachment.id.utf8() + ".sealed")));
    EXPECT_EQ(store.encryptedFileURL("no-such-attachment", "Sync.assets"), std::nullopt);

    std::filesystem::create_directories(folder / "unreadable.sealed");
    EXPECT_THROW(store.encryptedFileURL("unreadable", "Sync.assets"), Foundation::Error);

    store.removeTemporaryFolder("Sync.assets");
    EXPECT_FALSE(std::filesystem::exists(copy->deletingLastPathComponent().path().utf8()));
}

TEST_F(AttachmentDataStoreTests, ASealedFileOpensOnlyAsItsOwnAttachment)
{
    auto& store = *vault->attachmentDataStore;
    auto first = store.importFile(Foundation::URL::fileURLWithPath(source.string()), "entry-1");
    auto otherSource = source.parent_path() / "visa.pdf";
    TestSupport::writeText(otherSource, "Visa: valid until 2030");
    auto second = store.importFile(Foundation::URL::fileURLWithPath(otherSource.string()), "entry-2");
    auto folder = std::filesystem::path(store.folderURL().path().utf8());
    auto sealed = [&](const Attachment& attachment) { return folder / (attachment.id.utf8() + ".sealed"); };

    // Swapped on disk, neither opens as the other: not through the store, nor when a copy comes in.
    std::filesystem::rename(sealed(first), folder / "swap");
    std::filesystem::rename(sealed(second), sealed(first));
    std::filesystem::rename(folder / "swap", sealed(second));
    for (const auto* attachment : {&first, &second}) {
        try {
            store.decryptToTemporaryFile(attachment->id);
            ADD_FAILURE() << "another attachment's file opened as " << attachment->filename.utf8();
        } catch (const CryptorError& error) {
            EXPECT_TRUE(error.is<CryptorError::AuthenticationFailed>());
        }
    }
    auto incoming = source.parent_path() / "incoming.sealed";
    std::filesystem::copy_file(sealed(second), incoming);
    EXPECT_THROW(store.storeEncryptedFile(Foundation::URL::fileURLWithPath(incoming.string()), second.id), CryptorError);
    EXPECT_THROW(store.storeEncryptedFile(Foundation::URL::fileURLWithPath(incoming.string()), "third"), CryptorError);
    store.storeEncryptedFile(Foundation::URL::fileURLWithPath(incoming.string()), first.id);
    EXPECT_EQ(TestSupport::readText(store.decryptToTemporaryFile(first.id).path().utf8()), content);

    // A file sealed before files were bound to their attachment still opens.
    auto earlier = source.parent_path() / "earlier.sealed";
    vault->cryptor->encryptFile(Foundation::URL::fileURLWithPath(otherSource.string()), Foundation::URL::fileURLWithPath(earlier.string()),
                                Foundation::Data::fromString(R"({"filename":"visa.pdf"})"));
    std::filesystem::rename(earlier, sealed(second));
    auto opened = store.decryptToTemporaryFile(second.id);
    EXPECT_EQ(opened.lastPathComponent(), "visa.pdf");
    EXPECT_EQ(TestSupport::readText(opened.path().utf8()), "Visa: valid until 2030");
}
