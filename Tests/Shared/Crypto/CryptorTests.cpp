#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Crypto/CryptorError.hpp"

#include "Tests/Support/Files.hpp"

#include "Platform/Foundation/FileManager.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/URL.hpp"

#include <filesystem>
#include <gtest/gtest.h>

using namespace Shared;

namespace {

class CryptorTests : public testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()) / "CryptorTests";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        cryptor = Foundation::make<Cryptor>(Foundation::NotificationCenter::defaultCenter());
        cryptor->unlock(Cryptor::Key::random());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    Foundation::URL url(const std::string& name) const { return Foundation::URL::fileURLWithPath((folder / name).string()); }

    void flipByte(const std::string& name, std::size_t fromEnd)
    {
        auto text = TestSupport::readText(folder / name);
        text[text.size() - fromEnd] ^= 0x01;
        TestSupport::writeText(folder / name, text);
    }

    std::filesystem::path folder;
    std::shared_ptr<Cryptor> cryptor;
};

} // namespace

TEST_F(CryptorTests, SealedSecretsOpenOnlyUntouchedAndWithTheirKey)
{
    auto plaintext = Foundation::Data::fromString("correct horse battery staple");
    auto sealed = cryptor->seal(plaintext, Foundation::Data::fromString("entry-1"));
    EXPECT_EQ(sealed.view().find("horse"), std::string_view::npos);
    EXPECT_EQ(cryptor->open(sealed, Foundation::Data::fromString("entry-1")), plaintext);
    EXPECT_NE(cryptor->seal(plaintext), cryptor->seal(plaintext)) << "every seal takes a fresh nonce";

    // Another item's associated data, a changed byte, a cut-off end, another key: all refused.
    EXPECT_THROW(cryptor->open(sealed, Foundation::Data::fromString("entry-2")), CryptorError);
    for (std::size_t index : {std::size_t(0), std::size_t(5), sealed.count() - 1}) {
        auto damaged = sealed;
        damaged.mutableBytes()[index] ^= 0x80;
        EXPECT_THROW(cryptor->open(damaged, Foundation::Data::fromString("entry-1")), CryptorError) << index;
    }
    EXPECT_THROW(cryptor->open(sealed.subdata({0, 10})), CryptorError);
    auto other = Foundation::make<Cryptor>(Foundation::NotificationCenter::defaultCenter());
    other->unlock(Cryptor::Key::random());
    EXPECT_THROW(other->open(sealed, Foundation::Data::fromString("entry-1")), CryptorError);
}

TEST_F(CryptorTests, LockWipesTheKeyAndRefusesEveryVaultOperation)
{
    int notifications = 0;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(Cryptor::cryptorDidUpdateVaultKey(), cryptor, nullptr,
                                                                             [&](const Foundation::Notification&) { ++notifications; });
    auto sealed = cryptor->seal(Foundation::Data::fromString("secret"));
    cryptor->lock();
    EXPECT_FALSE(cryptor->isUnlocked());
    try {
        cryptor->open(sealed);
        ADD_FAILURE();
    } catch (const CryptorError& error) {
        EXPECT_TRUE(error.is<CryptorError::Locked>());
        EXPECT_FALSE(error.shouldTrackInAnalytics());
    }
    EXPECT_THROW(cryptor->seal(Foundation::Data::fromString("x")), CryptorError);
    EXPECT_EQ(notifications, 1);
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
}

TEST_F(CryptorTests, PasswordKeysFollowTheStoredDerivation)
{
    auto derivation = Cryptor::KeyDerivation::makeDefault();
    auto first = Cryptor::deriveKey("master password", derivation);
    auto again = Cryptor::deriveKey("master password", derivation);
    EXPECT_TRUE(std::equal(first.bytes(), first.bytes() + Cryptor::Key::byteCount, again.bytes()));
    auto wrong = Cryptor::deriveKey("master passwore", derivation);
    EXPECT_FALSE(std::equal(first.bytes(), first.bytes() + Cryptor::Key::byteCount, wrong.bytes()));
    auto otherSalt = Cryptor::deriveKey("master password", Cryptor::KeyDerivation::makeDefault());
    EXPECT_FALSE(std::equal(first.bytes(), first.bytes() + Cryptor::Key::byteCount, otherSalt.bytes()));

    // Read back as stored; a damaged cost that would ask for gigabytes is refused.
    auto json = Basalwork::JSONCoder::shared()->encode(derivation);
    EXPECT_EQ(Basalwork::JSONCoder::shared()->decode<Cryptor::KeyDerivation>(json), derivation);
    auto greedy = derivation;
    greedy.memoryLimit = 64ull * 1024 * 1024 * 1024;
    EXPECT_THROW(Basalwork::JSONCoder::shared()->decode<Cryptor::KeyDerivation>(Basalwork::JSONCoder::shared()->encode(greedy)), CryptorError);
}

TEST_F(CryptorTests, AStoredCostIsAcceptedOnlyUpToAFewTimesWhatIsWritten)
{
    auto written = Cryptor::KeyDerivation::makeDefault();
    constexpr std::uint64_t mebibyte = 1024 * 1024;
    auto with = [&](std::uint64_t operations, std::uint64_t memory) {
        auto derivation = written;
        derivation.operationsLimit = operations;
        derivation.memoryLimit = memory;
        return derivation;
    };
    EXPECT_NO_THROW(written.validate());
    EXPECT_NO_THROW(with(written.operationsLimit * 4, written.memoryLimit).validate());
    EXPECT_NO_THROW(with(written.operationsLimit, written.memoryLimit * 4).validate());
    EXPECT_NO_THROW(with(1, 8 * mebibyte).validate());
    // Each of these would cost many seconds or a gigabyte on every attempt.
    EXPECT_THROW(with(16, 1024 * mebibyte).validate(), CryptorError);
    EXPECT_THROW(with(written.operationsLimit * 4 + 1, written.memoryLimit).validate(), CryptorError);
    EXPECT_THROW(with(written.operationsLimit, written.memoryLimit * 4 + 1).validate(), CryptorError);
    EXPECT_THROW(with(written.operationsLimit * 2, written.memoryLimit * 4).validate(), CryptorError);
    EXPECT_THROW(Cryptor::deriveKey("master password", with(16, 1024 * mebibyte)), CryptorError);
}

TEST_F(CryptorTests, FilesRoundTripAndTamperingIsRefusedWithoutLeavingPlaintext)
{
    std::string content(200 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 31 + 7);
    TestSupport::writeText(folder / "plain.bin", content);
    auto progress = Foundation::make<Foundation::Progress>(0);
    cryptor->encryptFile(url("plain.bin"), url("sealed.bin"), Foundation::Data::fromString("photo.jpg"), progress.get());
    EXPECT_EQ(progress->completedUnitCount(), progress->totalUnitCount());
    EXPECT_EQ(TestSupport::readText(folder / "sealed.bin").find(content.substr(1000, 64)), std::string::npos);
    EXPECT_EQ(cryptor->decryptHeader(url("sealed.bin")), Foundation::Data::fromString("photo.jpg"));
    EXPECT_EQ(cryptor->decryptFile(url("sealed.bin"), url("opened.bin")), Foundation::Data::fromString("photo.jpg"));
    EXPECT_EQ(TestSupport::readText(folder / "opened.bin"), content);
    std::filesystem::remove(folder / "opened.bin");

    std::filesystem::copy_file(folder / "sealed.bin", folder / "damaged.bin");
    flipByte("damaged.bin", 70000);
    EXPECT_THROW(cryptor->decryptFile(url("damaged.bin"), url("opened.bin")), CryptorError);

    auto cut = TestSupport::readText(folder / "sealed.bin");
    TestSupport::writeText(folder / "cut.bin", cut.substr(0, cut.size() - 17 - 1024));
    EXPECT_THROW(cryptor->decryptFile(url("cut.bin"), url("opened.bin")), CryptorError);
    TestSupport::writeText(folder / "cut.bin", cut.substr(0, 64 * 1024 + 100));
    EXPECT_THROW(cryptor->decryptFile(url("cut.bin"), url("opened.bin")), CryptorError);
    TestSupport::writeText(folder / "long.bin", cut + "x");
    EXPECT_THROW(cryptor->decryptFile(url("long.bin"), url("opened.bin")), CryptorError);

    // Nothing decrypted survives a refusal, not even a hidden temporary file.
    EXPECT_EQ(TestSupport::entryNames(folder), (std::vector<std::string> {"cut.bin", "damaged.bin", "long.bin", "plain.bin", "sealed.bin"}));
}

TEST_F(CryptorTests, EmptyFilesAndCancellation)
{
    TestSupport::writeText(folder / "empty", "");
    cryptor->encryptFile(url("empty"), url("empty.sealed"), {});
    EXPECT_EQ(cryptor->decryptFile(url("empty.sealed"), url("empty.opened")), Foundation::Data());
    EXPECT_EQ(TestSupport::readText(folder / "empty.opened"), "");

    TestSupport::writeText(folder / "big", std::string(300 * 1024, 'x'));
    auto progress = Foundation::make<Foundation::Progress>(0);
    progress->cancel();
    try {
        cryptor->encryptFile(url("big"), url("big.sealed"), {}, progress.get());
        ADD_FAILURE();
    } catch (const CryptorError& error) {
        EXPECT_TRUE(error.is<CryptorError::Cancelled>());
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "big.sealed"));
}

TEST_F(CryptorTests, PasswordFilesOpenOnlyWithTheirPassword)
{
    TestSupport::writeText(folder / "backup.json", "{\"entries\":[]}");
    Cryptor::encryptFile(url("backup.json"), url("backup.sealed"), Foundation::Data::fromString("v1"), "backup password");
    EXPECT_EQ(Cryptor::decryptFile(url("backup.sealed"), url("restored.json"), "backup password"), Foundation::Data::fromString("v1"));
    EXPECT_EQ(TestSupport::readText(folder / "restored.json"), "{\"entries\":[]}");
    EXPECT_THROW(Cryptor::decryptFile(url("backup.sealed"), url("wrong.json"), "backup passwore"), CryptorError);
    EXPECT_FALSE(std::filesystem::exists(folder / "wrong.json"));
    // A vault file is no password file, and the reverse.
    EXPECT_THROW(cryptor->decryptFile(url("backup.sealed"), url("wrong.json")), CryptorError);
    flipByte("backup.sealed", 20);
    EXPECT_THROW(Cryptor::decryptFile(url("backup.sealed"), url("wrong.json"), "backup password"), CryptorError);
}
