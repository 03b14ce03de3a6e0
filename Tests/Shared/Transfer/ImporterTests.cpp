#include "Tests/Shared/Transfer/TransferFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/VaultDocument.hpp"
#include "Shared/Transfer/ZipArchive.hpp"

#include "Basalwork/Base/CSVParserError.hpp"

#include <gtest/gtest.h>
#include <future>
#include <sys/stat.h>
#include <zip.h>

using namespace Shared;
using F = ImporterFileFormat;
namespace fs = std::filesystem;

namespace {

constexpr const char* masterPassword = "correct horse battery";
const std::string attachmentContent = "Passport scan: P<UTOERIKSSON<<ANNA<MARIA \xE2\x9C\x93";

Foundation::URL fileURL(const fs::path& path, bool isDirectory = false)
{
    return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory);
}

// Items with every field category, an attachment, tags and histories, dates with fractions.
std::vector<Entry> addRichItems(SharedTests::TransferVault& vault)
{
    Foundation::Date now(788918400.123456);
    auto login = Entry::make(Entry::Category::login, now);
    login.title = "Mail, \"work\" — Zürich";
    login.username = "jörg@example.com";
    login.setText("first", Entry::SystemField::ID::password, now);
    login.setText("second, with comma\nand line", Entry::SystemField::ID::password, now.addingTimeInterval(10.5));
    login.setText("otpauth://totp/Example?secret=JBSWY3DPEHPK3PXP", Entry::SystemField::ID::totpSecretKey, now);
    login.setText("otpauth://totp/Example?secret=KRSXG5A", Entry::SystemField::ID::totpSecretKey, now.addingTimeInterval(20));
    login.website = "https://mail.example.ch/";
    login.notes = "line one\nline two, \"quoted\"";
    login.tags = {"work", "pers, onal"};
    login.isFavorite = true;
    login.stampServiceIdentifiers({Entry::ServiceIdentifier::fromIdentifier("https://mail.example.ch/login", true, now)});
    auto section = login.insertSection(0, Entry::Section::Template::blank);
    for (auto category : allEntryFieldCategories()) {
        if (category == EntryFieldCategory::attachment)
            continue;
        auto id = login.appendField(section, category);
        login.setFieldTitle(id, Foundation::String("Field " + titleText(category).utf8()));
        login.setFieldText(id, Foundation::String("value of " + titleText(category).utf8() + ", é"), now);
        login.setFieldText(id, Foundation::String("new value, " + titleText(category).utf8()), now.addingTimeInterval(5));
    }
    login.subtitleSource = Entry::SubtitleSource::customField({section, 0});

    auto source = SharedTests::temporaryFolder("AttachmentSource") / "passport scan.pdf";
    TestSupport::writeText(source, attachmentContent);
    auto attachment = vault.attachmentDataStore->importFile(fileURL(source), login.id);
    auto field = login.appendField(section, EntryFieldCategory::attachment);
    login.setFieldText(field, attachment.id, now);

    auto note = Entry::make(Entry::Category::secureNote, now);
    note.title = "Trashed note";
    note.notes = "secret";
    note.trashedAt = now.addingTimeInterval(100);
    auto card = Entry::make(Entry::Category::creditCard, now);
    card.title = "Archived card";
    card.isArchived = true;
    vault.insertEntries({login, note, card}, {attachment});
    std::vector<Entry> items {login, note, card};
    std::sort(items.begin(), items.end(), [](const auto& lhs, const auto& rhs) { return lhs.id < rhs.id; });
    return items;
}

fs::path exportedFile(const fs::path& folder, const std::string& extension)
{
    for (const auto& item : fs::directory_iterator(folder)) {
        if (item.path().extension() == "." + extension)
            return item.path();
    }
    return {};
}

class ImporterTests : public testing::Test {
protected:
    void SetUp() override { makeVault(false, masterPassword); }

    void makeVault(bool overRecordStore, const char* password)
    {
        vault.reset();
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::TransferVault>(overRecordStore);
        vault->authenticationStore->createMasterPassword(password);
    }

    // A second installation: its own vault, unlocked with its own master password.
    void startOver() { makeVault(vault->store != nullptr, "another master password"); }

    const ImporterReport& importFile(F format, const fs::path& file, std::optional<fs::path> attachments = std::nullopt,
                                     std::optional<Foundation::String> tags = std::nullopt)
    {
        vault->importer->startImport(format, fileURL(file), attachments ? std::optional(fileURL(*attachments, true)) : std::nullopt, tags);
        EXPECT_TRUE(vault->waitForImport());
        const auto* completed = vault->importer->status().as<Importer::Status::Completed>();
        if (!completed) {
            const auto* failed = vault->importer->status().as<Importer::Status::Failed>();
            ADD_FAILURE() << "the import failed: " << (failed ? failed->error->description() : "still running");
            static const ImporterReport none {format, 0, 0, {}};
            return none;
        }
        return completed->report;
    }

    std::string failureText() const
    {
        const auto* failed = vault->importer->status().as<Importer::Status::Failed>();
        return failed ? failed->error->description() : "";
    }

    std::unique_ptr<SharedTests::TransferVault> vault;
};

} // namespace

TEST_F(ImporterTests, ThisProgramsExportsImportBackEqual)
{
    for (auto [exportFormat, importFormat] : {std::pair {ExporterFileFormat::corvendaleJSON, F::corvendaleJSON}, {ExporterFileFormat::corvendaleCSV, F::corvendaleCSV}}) {
        SCOPED_TRACE(Foundation::rawValue(importFormat).utf8());
        makeVault(true, masterPassword);
        auto items = addRichItems(*vault);
        auto folder = SharedTests::temporaryFolder("Exports") / Foundation::rawValue(importFormat).utf8();
        fs::remove_all(folder);
        fs::create_directories(folder);
        vault->exporter->exportItems(exportFormat, fileURL(folder, true));
        ASSERT_TRUE(vault->waitForExport());
        ASSERT_TRUE(vault->exporter->status().is<Exporter::Status::Completed>());
        auto file = exportedFile(folder, exportFormat == ExporterFileFormat::corvendaleJSON ? "json" : "csv");

        startOver();
        const auto& report = importFile(importFormat, file, VaultDocument::attachmentsFolderURL(fileURL(file)).path().utf8());
        EXPECT_EQ(report.importedCount, 3);
        EXPECT_TRUE(report.failures.empty());
        EXPECT_EQ(vault->allEntries(), items);
        auto attachments = vault->allAttachments();
        ASSERT_EQ(attachments.size(), 1u);
        EXPECT_EQ(attachments[0].filename, Foundation::String("passport scan.pdf"));
        auto decrypted = vault->attachmentDataStore->decryptToTemporaryFile(attachments[0].id);
        EXPECT_EQ(TestSupport::readText(decrypted.path().utf8()), attachmentContent);

        // The same file again: every item is present already.
        const auto& again = importFile(importFormat, file);
        EXPECT_EQ(again.importedCount, 0);
        EXPECT_EQ(again.skippedCount, 3);
    }
}

TEST_F(ImporterTests, TagsAreAddedToEveryItemAndResetLeavesARunningImportAlone)
{
    auto file = SharedTests::temporaryFolder("Imports") / "chrome.csv";
    TestSupport::writeText(file, "name,url,username,password\nA,https://a.example,me,pw\nB,https://b.example,me,pw\n");
    vault->importer->startImport(F::chromeCSV, fileURL(file), std::nullopt, Foundation::String("work, family\nwork,  "));
    vault->importer->resetStatus();
    EXPECT_TRUE(vault->importer->status().is<Importer::Status::InProgress>());
    ASSERT_TRUE(vault->waitForImport());
    ASSERT_TRUE(vault->importer->status().is<Importer::Status::Completed>());
    for (const auto& entry : vault->recordStore->allEntries())
        EXPECT_EQ(entry.tags, std::vector<Foundation::String>({"work", "family"}));
    vault->importer->resetStatus();
    EXPECT_TRUE(vault->importer->status().is<Importer::Status::Idle>());
}

// The rule for a cancelled import: nothing of it is added. Files already taken into the attachment
// store go again, and so it is when the save fails.
TEST_F(ImporterTests, ACancelledOrFailedImportAddsNothing)
{
    auto items = addRichItems(*vault);
    auto folder = SharedTests::temporaryFolder("Exports") / "cancel";
    fs::remove_all(folder);
    fs::create_directories(folder);
    vault->exporter->exportItems(ExporterFileFormat::corvendaleJSON, fileURL(folder, true));
    ASSERT_TRUE(vault->waitForExport());
    auto file = exportedFile(folder, "json");
    startOver();

    // Half way: the file is read, nothing is added yet. The import runs on its own queue, so the hook is in
    // place before it starts and waits there for the import's progress.
    std::promise<std::shared_ptr<Foundation::Progress>> started;
    vault->recordStore->onExistingEntryIDs = [progress = started.get_future().share()] { progress.get()->cancel(); };
    vault->importer->startImport(F::corvendaleJSON, fileURL(file), VaultDocument::attachmentsFolderURL(fileURL(file)), std::nullopt);
    started.set_value(vault->importer->status().as<Importer::Status::InProgress>()->progress);
    ASSERT_TRUE(vault->waitForImport());
    ASSERT_TRUE(vault->importer->status().is<Importer::Status::Failed>());
    EXPECT_EQ(failureText(), "The import was cancelled. No items were imported.");
    EXPECT_TRUE(vault->recordStore->allEntries().empty());

    vault->recordStore->onExistingEntryIDs = nullptr;
    vault->recordStore->failsNextSave = true;
    vault->importer->resetStatus();
    vault->importer->startImport(F::corvendaleJSON, fileURL(file), VaultDocument::attachmentsFolderURL(fileURL(file)), std::nullopt);
    ASSERT_TRUE(vault->waitForImport());
    EXPECT_TRUE(vault->importer->status().is<Importer::Status::Failed>());
    EXPECT_TRUE(vault->recordStore->allEntries().empty());
    // Only the store's lock file stays.
    EXPECT_EQ(TestSupport::entryNames(vault->attachmentDataStore->folderURL().path().utf8()), std::vector<std::string> {".lock"});
}

TEST_F(ImporterTests, BadInputFailsWithAClearTextAndChangesNothing)
{
    auto folder = SharedTests::temporaryFolder("BadInput");
    auto expectFailure = [&](F format, const std::string& name, const std::string& content, const std::string& text) {
        SCOPED_TRACE(name);
        auto file = folder / name;
        TestSupport::writeText(file, content);
        vault->importer->resetStatus();
        vault->importer->startImport(format, fileURL(file), std::nullopt, std::nullopt);
        ASSERT_TRUE(vault->waitForImport());
        ASSERT_TRUE(vault->importer->status().is<Importer::Status::Failed>());
        EXPECT_NE(failureText().find(text), std::string::npos) << failureText();
        EXPECT_TRUE(vault->recordStore->allEntries().empty());
    };
    expectFailure(F::bitwardenJSON, "not.json", "name,url\nA,B\n", "not valid JSON");
    expectFailure(F::bitwardenJSON, "encrypted.json", R"({"encrypted": true, "items": []})", "password-protected export");
    expectFailure(F::corvendaleJSON, "newer.json", R"({"format": "Corvendale", "version": 7, "items": []})", "newer version");
    expectFailure(F::keePassXML, "entities.xml",
                  "<?xml version=\"1.0\"?><!DOCTYPE KeePassFile [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>"
                  "<KeePassFile><Root><Group><Entry><String><Key>Title</Key><Value>&secret;</Value></String></Entry></Group></Root></KeePassFile>",
                  "declares entities");
    expectFailure(F::keePassXML, "laughs.xml",
                  "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><r>&b;</r>",
                  "declares entities");
    expectFailure(F::onePassword1PUX, "not-a-zip.1pux", "plain text", "not a zip archive");
    expectFailure(F::elpassExport, "export.elpassexport", "{}", "not supported");

    // The page names a missing label from the import's error.
    auto file = folder / "wrong-layout.csv";
    TestSupport::writeText(file, "title,user,pass\nA,B,C\n");
    vault->importer->resetStatus();
    vault->importer->startImport(F::bitwardenCSV, fileURL(file), std::nullopt, std::nullopt);
    ASSERT_TRUE(vault->waitForImport());
    const auto* failed = vault->importer->status().as<Importer::Status::Failed>();
    ASSERT_TRUE(failed);
    const auto* csvError = dynamic_cast<const Basalwork::CSVParserError*>(failed->error.get());
    ASSERT_TRUE(csvError && csvError->as<Basalwork::CSVParserError::FailedToAccessRequiredColumnLabel>());
    EXPECT_EQ(csvError->as<Basalwork::CSVParserError::FailedToAccessRequiredColumnLabel>()->label, Foundation::String("name"));
}

TEST_F(ImporterTests, ZipArchivesAreReadWithinABudget)
{
    auto path = SharedTests::temporaryFolder("Zips") / "bomb.zip";
    fs::remove(path);
    int error = 0;
    auto* archive = zip_open(path.c_str(), ZIP_CREATE, &error);
    std::string zeros(4 * 1024 * 1024, '\0');
    auto* source = zip_source_buffer(archive, zeros.data(), zeros.size(), 0);
    zip_file_add(archive, "export.data", source, ZIP_FL_OVERWRITE);
    ASSERT_EQ(zip_close(archive), 0);
    EXPECT_LT(fs::file_size(path), 64u * 1024);

    ZipArchive small(fileURL(path), 1024 * 1024);
    EXPECT_THROW(small.read("export.data", 16 * 1024 * 1024), ImporterError);
    ZipArchive limited(fileURL(path));
    EXPECT_THROW(limited.read("export.data", 1024 * 1024), ImporterError);
    ZipArchive enough(fileURL(path));
    EXPECT_EQ(enough.read("export.data", 16 * 1024 * 1024).size(), zeros.size());
}

TEST_F(ImporterTests, OtherAppsJSONAndXMLExportsBecomeItems)
{
    auto folder = SharedTests::temporaryFolder("Formats");
    auto work = SharedTests::temporaryFolder("FormatsWork");
    auto read = [&](F format, const std::string& name, const std::string& content) {
        TestSupport::writeText(folder / name, content);
        return ImportReader::read(format, fileURL(folder / name), std::nullopt, fileURL(work, true), [](double) {});
    };
    auto bitwarden = read(F::bitwardenJSON, "bitwarden.json", R"({"encrypted": false, "folders": [{"id": "f1", "name": "Money"}], "items": [
        {"id": "b1", "folderId": "f1", "type": 1, "name": "Bank", "notes": "n", "favorite": true,
         "login": {"username": "jörg", "password": "pw", "totp": "JBSWY3DP", "uris": [{"uri": "https://bank.example"}]},
         "fields": [{"name": "PIN", "value": "1234", "type": 1}], "passwordHistory": [{"lastUsedDate": "2024-01-01T00:00:00.000Z", "password": "old"}]},
        {"id": "b2", "type": 3, "name": "Card", "card": {"cardholderName": "J", "number": "4111111111111111"}}]})");
    ASSERT_EQ(bitwarden.items.size(), 2u);
    const auto& bank = bitwarden.items[0].entry;
    EXPECT_EQ(bank.username, Foundation::String("jörg"));
    EXPECT_EQ(bank.tags, std::vector<Foundation::String>({"Money"}));
    EXPECT_EQ(bank.passwordHistory.at(0).text, Foundation::String("old"));
    EXPECT_EQ(bank.sections.at(0).fields.at(0).category, EntryFieldCategory::password);
    EXPECT_EQ(bitwarden.items[1].entry.category, Entry::Category::creditCard);

    auto onePIF = read(F::onePassword1PIF, "data.1pif",
                       R"({"uuid":"u1","typeName":"webforms.WebForm","title":"Mail","location":"https://mail.example","secureContents":{"fields":[{"designation":"username","value":"me"},{"designation":"password","value":"pw"}],"notesPlain":"n","sections":[{"fields":[{"k":"concealed","t":"Recovery","v":"r"}]}]}})"
                       "\n***5642bee8-a5ff-11dc-8314-0800200c9a66***\n"
                       R"({"uuid":"u2","typeName":"securenotes.SecureNote","title":"Note","secureContents":{"notesPlain":"text"}})"
                       "\n***5642bee8-a5ff-11dc-8314-0800200c9a66***\n");
    ASSERT_EQ(onePIF.items.size(), 2u);
    EXPECT_EQ(onePIF.items[0].entry.password, Foundation::String("pw"));
    EXPECT_EQ(onePIF.items[1].entry.category, Entry::Category::secureNote);

    auto keePass = read(F::keePassXML, "keepass.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<KeePassFile><Meta><Binaries><Binary ID="0">SGVsbG8=</Binary></Binaries></Meta><Root><Group><Name>Root</Name>
<Entry><UUID>AAAAAAAAAAAAAAAAAAAAAA==</UUID><Tags>a;b</Tags><String><Key>Title</Key><Value>Server</Value></String>
<String><Key>UserName</Key><Value>root</Value></String><String><Key>Password</Key><Value>s3cr&lt;t</Value></String>
<String><Key>Port</Key><Value>22</Value></String><Binary><Key>key.txt</Key><Value Ref="0"/></Binary>
<History><Entry><String><Key>Password</Key><Value>older</Value></String></Entry></History></Entry>
<Group><Name>Mail</Name><Entry><String><Key>Title</Key><Value>Inbox</Value></String><String><Key>Password</Key><Value>x</Value></String></Entry></Group>
</Group></Root></KeePassFile>)");
    ASSERT_EQ(keePass.items.size(), 2u);
    EXPECT_EQ(keePass.items[0].entry.password, Foundation::String("s3cr<t"));
    EXPECT_EQ(keePass.items[0].entry.passwordHistory.at(0).text, Foundation::String("older"));
    ASSERT_EQ(keePass.items[0].attachments.size(), 1u);
    EXPECT_EQ(TestSupport::readText(keePass.items[0].attachments[0].fileURL.path().utf8()), "Hello");
    EXPECT_EQ(keePass.items[1].entry.tags, std::vector<Foundation::String>({"Mail"}));

    auto passwordSafe = read(F::passwordSafeXML, "pwsafe.xml", R"(<?xml version="1.0"?><passwordsafe delimiter=";">
<entry id="1"><group>Work.Servers</group><title>Build</title><username>ci</username><password>pw</password><url>https://ci.example</url>
<pwhistory><history_entries><history_entry num="1"><changedx>2024-01-01T00:00:00</changedx><oldpassword>old</oldpassword></history_entry></history_entries></pwhistory></entry></passwordsafe>)");
    ASSERT_EQ(passwordSafe.items.size(), 1u);
    EXPECT_EQ(passwordSafe.items[0].entry.tags, std::vector<Foundation::String>({"Servers"}));

    auto enpass = read(F::enpassJSON, "enpass.json", R"({"folders": [], "items": [{"uuid": "e1", "title": "Shop", "category": "login", "note": "",
        "fields": [{"label": "Username", "type": "username", "value": "me"}, {"label": "Password", "type": "password", "value": "pw", "sensitive": 1},
                   {"label": "Security answer", "type": "text", "value": "blue", "sensitive": 1}]}]})");
    ASSERT_EQ(enpass.items.size(), 1u);
    EXPECT_EQ(enpass.items[0].entry.sections.at(0).fields.at(0).category, EntryFieldCategory::password);

    auto keeper = read(F::keeperJSON, "keeper.json", R"({"records": [{"title": "Wiki", "login": "me", "password": "pw", "login_url": "https://wiki.example",
        "custom_fields": {"$oneTimeCode": "otpauth://totp/x?secret=JBSWY3DP", "Team": "Blue"}, "folders": [{"folder": "Work"}]}]})");
    ASSERT_EQ(keeper.items.size(), 1u);
    EXPECT_EQ(keeper.items[0].entry.totpSecretKey, Foundation::String("otpauth://totp/x?secret=JBSWY3DP"));

    // A 1PUX archive: the item data and the attached document beside it.
    auto path = folder / "export.1pux";
    fs::remove(path);
    int error = 0;
    auto* archive = zip_open(path.c_str(), ZIP_CREATE, &error);
    std::string data = R"({"accounts": [{"vaults": [{"attrs": {"name": "Private"}, "items": [
        {"uuid": "x1", "categoryUuid": "001", "state": "active", "createdAt": 1700000000, "updatedAt": 1700000100,
         "overview": {"title": "Forum", "url": "https://forum.example", "tags": ["fun"]},
         "details": {"loginFields": [{"designation": "username", "value": "me"}, {"designation": "password", "value": "pw"}],
                     "sections": [{"fields": [{"title": "Code", "id": "TOTP_1", "value": {"totp": "otpauth://totp/f?secret=JBSWY3DP"}}]}]}},
        {"uuid": "x2", "categoryUuid": "006", "state": "archived", "overview": {"title": "Scan"},
         "details": {"documentAttributes": {"fileName": "scan.txt", "documentId": "d1"}}}]}]}]})";
    std::string document = "scanned";
    zip_file_add(archive, "export.data", zip_source_buffer(archive, data.data(), data.size(), 0), 0);
    zip_file_add(archive, "files/d1__scan.txt", zip_source_buffer(archive, document.data(), document.size(), 0), 0);
    ASSERT_EQ(zip_close(archive), 0);
    auto onePUX = ImportReader::read(F::onePassword1PUX, fileURL(path), std::nullopt, fileURL(work, true), [](double) {});
    ASSERT_EQ(onePUX.items.size(), 2u);
    EXPECT_EQ(onePUX.items[0].entry.totpSecretKey, Foundation::String("otpauth://totp/f?secret=JBSWY3DP"));
    EXPECT_TRUE(onePUX.items[1].entry.isArchived);
    ASSERT_EQ(onePUX.items[1].attachments.size(), 1u);
    EXPECT_EQ(TestSupport::readText(onePUX.items[1].attachments[0].fileURL.path().utf8()), "scanned");
}

TEST(ImporterFormatTests, TheIndexesKeepTheirMeaning)
{
    EXPECT_EQ(allImporterApps().size(), 23u);
    EXPECT_EQ(allImporterFileFormats().size(), 41u);
    for (auto index : {5, 10, 13, 15, 17})
        EXPECT_EQ(utType(static_cast<F>(index)).identifier, Foundation::String("public.json")) << index;
    for (auto index : {31, 33})
        EXPECT_EQ(utType(static_cast<F>(index)).identifier, Foundation::String("public.xml")) << index;
    EXPECT_EQ(titleText(static_cast<F>(0)), Foundation::String("1PUX (.1pux)"));
    EXPECT_EQ(titleText(static_cast<F>(1)), Foundation::String("1PIF (.1pif)"));
    EXPECT_NE(titleText(static_cast<F>(12)).utf8().find(".elpassexport"), std::string::npos);
    EXPECT_NE(titleText(static_cast<F>(32)).utf8().find(".spef"), std::string::npos);
    EXPECT_TRUE(acceptsAttachmentsFolder(static_cast<F>(17)) && acceptsAttachmentsFolder(static_cast<F>(18)));
    EXPECT_EQ(availableFileFormats(static_cast<ImporterApp>(22)).size(), 1u);
    EXPECT_EQ(name(static_cast<ImporterApp>(18)), Foundation::String("Safari"));
    for (auto format : allImporterFileFormats()) {
        auto formats = availableFileFormats(app(format));
        EXPECT_NE(std::find(formats.begin(), formats.end(), format), formats.end());
    }
    EXPECT_EQ(Importer::tags(Foundation::String(" a, b\nc,,a ")), std::vector<Foundation::String>({"a", "b", "c"}));
}
