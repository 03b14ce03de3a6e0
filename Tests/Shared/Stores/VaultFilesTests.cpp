#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Metricove/ProductionAnalyticsStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Platform/Foundation/Progress.hpp"

#include <gtest/gtest.h>

using namespace Shared;

// What a vault leaves on disk (the lock's records, rejected attempts, the store with its journal files,
// sealed attachments, the AutoFill list, analytics, preferences) is readable by its owner alone, even
// under a umask that would let everyone read it.
TEST(VaultFilesTests, EverythingAVaultWritesIsTheOwnersAlone)
{
    TestSupport::Umask umask(0);
    SharedTests::removeApplicationGroup();
    auto preferences = std::filesystem::path(Foundation::FileManager::defaultManager()->preferencesDirectory().path().utf8());
    std::filesystem::remove_all(preferences);

    SharedTests::Vault vault;
    vault.authenticationStore->createMasterPassword("correct horse battery");
    vault.authenticationStore->finishCreatingMasterPassword();
    vault.preferenceStore->setDidCompleteAutoFillOnboarding(true);
    auto store = SharedTests::openRecordStore(vault);
    auto source = SharedTests::temporaryFolder("attachments") / "contract.pdf";
    TestSupport::writeText(source, "contract body");
    SharedTests::addEntry(*store, "Shop", "secret", [&](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("buyer", Entry::SystemField::ID::username, id);
        context.setText("https://shop.example/", Entry::SystemField::ID::website, id);
        auto section = context.insertSectionAbove(0, Entry::Section::Template::blank, id);
        auto field = context.appendField(section, Entry::Field::Category::attachment, id);
        std::optional<RecordStore::EditingContext::AttachmentResult> imported;
        context.importFile(Foundation::URL::fileURLWithPath(source.string()), field, id, Foundation::make<Foundation::Progress>(1),
                           Basalwork::ResultHandler<RecordStore::EditingContext::AttachmentResult>(
                               Foundation::DispatchQueue::main(), [&](RecordStore::EditingContext::AttachmentResult result) { imported = result; }));
        ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return imported.has_value(); }));
        ASSERT_TRUE(imported->isSuccess());
    });
    std::optional<Foundation::Result<void>> replaced;
    store->replaceCredentialStore(
        Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [&](Foundation::Result<void> result) { replaced = result; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return replaced.has_value(); }));
    auto analytics = Foundation::make<Metricove::ProductionAnalyticsStore>(
        *Foundation::URL::string("https://corvendale.example/analytics"), Metricove::ProductionAnalyticsStore::EventUploadSchedulePolicy::manual,
        Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(), Foundation::String("Analytics")));
    analytics->track(Metricove::AnalyticsEvent::error(RecordStoreError::entryNotFound("E-1"), "test"));
    vault.authenticationStore->lock(AuthenticationStore::LockKind::requireMasterPassword, false, false, "test");
    vault.authenticationStore->unlock("wrong password");

    auto container = std::filesystem::path(Foundation::FileManager::defaultManager()->containerURL(Global::App::appGroupIdentifier())->path().utf8());
    auto folder = container.lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    auto names = [](const std::filesystem::path& root) {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            found.push_back(entry.path().filename().string());
        return found;
    };
    auto written = names(folder);
    for (const char* expected : {"authenticationRecords.json", "entryAttempts.json", "CredentialIdentities.json", "recordStore.sqlite",
                                 "recordStore.sqlite-wal", "recordStore.sqlite-shm"})
        EXPECT_NE(std::find(written.begin(), written.end(), expected), written.end()) << expected << " was not written";
    EXPECT_EQ(TestSupport::entriesOpenToOthers(folder), std::vector<std::string> {});
    ASSERT_TRUE(std::filesystem::exists(preferences));
    EXPECT_EQ(TestSupport::entriesOpenToOthers(preferences), std::vector<std::string> {});
}
