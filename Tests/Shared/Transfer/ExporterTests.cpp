#include "Tests/Shared/Transfer/TransferFixture.hpp"

#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <algorithm>
#include <future>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <sys/stat.h>
#include <tuple>

using namespace Shared;
namespace fs = std::filesystem;

namespace {

Foundation::URL fileURL(const fs::path& path, bool isDirectory = false)
{
    return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory);
}

unsigned mode(const fs::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 0777;
}

class ExporterTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::TransferVault>();
        vault->authenticationStore->createMasterPassword("correct horse battery");
        auto now = Foundation::Date::now();
        auto login = Entry::make(Entry::Category::login, now);
        login.title = "Mail, \"work\"";
        login.username = "jörg";
        login.password = "pw,\n\"x\"";
        login.website = "https://mail.example";
        login.notes = "two\nlines";
        login.tags = {"Work"};
        auto section = login.insertSection(0, Entry::Section::Template::blank);
        auto pin = login.appendField(section, EntryFieldCategory::pin);
        login.setFieldTitle(pin, Foundation::String("PIN"));
        login.setFieldText(pin, "1234", now);
        auto source = SharedTests::temporaryFolder("ExportSource") / "notes.txt";
        TestSupport::writeText(source, "attached");
        auto attachment = vault->attachmentDataStore->importFile(fileURL(source), login.id);
        login.setFieldText(login.appendField(section, EntryFieldCategory::attachment), attachment.id, now);
        auto trashed = Entry::make(Entry::Category::secureNote, now);
        trashed.title = "Gone";
        trashed.trashedAt = now;
        vault->recordStore->insertEntries({login, trashed}, {attachment});
        folder = SharedTests::temporaryFolder("Exported") / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }

    const Exporter::Report* exportTo(ExporterFileFormat format, const fs::path& destination)
    {
        vault->exporter->resetStatus();
        vault->exporter->exportItems(format, fileURL(destination, true));
        EXPECT_TRUE(vault->waitForExport());
        const auto* completed = vault->exporter->status().as<Exporter::Status::Completed>();
        return completed ? &completed->report : nullptr;
    }

    fs::path only(const std::string& extension) const
    {
        for (const auto& item : fs::directory_iterator(folder)) {
            if (item.path().extension() == extension)
                return item.path();
        }
        return {};
    }

    std::unique_ptr<SharedTests::TransferVault> vault;
    fs::path folder;
};

} // namespace

TEST_F(ExporterTests, FilesAreOwnerOnlyAndAttachmentsLieBeside)
{
    const auto* report = exportTo(ExporterFileFormat::corvendaleJSON, folder);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->exportedCount, 2);
    auto file = only(".json");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(mode(file), 0600u);
    auto attachments = fs::path(file).replace_extension();
    EXPECT_EQ(mode(attachments), 0700u);
    auto entries = TestSupport::entryNames(attachments);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(TestSupport::readText(attachments / entries[0] / "notes.txt"), "attached");
    EXPECT_EQ(mode(attachments / entries[0] / "notes.txt"), 0600u);
    // Only the file and its folder: nothing of the work in progress is left.
    EXPECT_EQ(TestSupport::entryNames(folder).size(), 2u);

    // A second export does not replace the first.
    ASSERT_TRUE(exportTo(ExporterFileFormat::corvendaleJSON, folder));
    EXPECT_EQ(TestSupport::entryNames(folder).size(), 4u);
}

TEST_F(ExporterTests, OtherAppsFilesReadBackWithTheirImporters)
{
    auto work = SharedTests::temporaryFolder("ExportWork");
    for (auto [exportFormat, importFormat] : {std::pair {ExporterFileFormat::bitwardenCSV, ImporterFileFormat::bitwardenCSV},
                                              {ExporterFileFormat::keePassXCCSV, ImporterFileFormat::keePassXCCSV}}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        const auto* report = exportTo(exportFormat, folder);
        ASSERT_TRUE(report);
        // The trash stays behind in other apps' files.
        EXPECT_EQ(report->exportedCount, 1);
        auto file = only(".csv");
        EXPECT_EQ(mode(file), 0600u);
        auto read = ImportReader::read(importFormat, fileURL(file), std::nullopt, fileURL(work, true), [](double) {});
        ASSERT_EQ(read.items.size(), 1u);
        const auto& entry = read.items[0].entry;
        EXPECT_EQ(entry.title, Foundation::String("Mail, \"work\""));
        EXPECT_EQ(entry.password, Foundation::String("pw,\n\"x\""));
        EXPECT_EQ(entry.notes, Foundation::String("two\nlines"));
        EXPECT_EQ(entry.tags, std::vector<Foundation::String>({"Work"}));
        // KeePassXC's groups are paths from its top group, which its import takes off again.
        if (exportFormat == ExporterFileFormat::keePassXCCSV) {
            EXPECT_NE(TestSupport::readText(file).find("Root/Work"), std::string::npos);
        }
        if (exportFormat == ExporterFileFormat::bitwardenCSV) {
            ASSERT_EQ(entry.sections.size(), 1u);
            EXPECT_EQ(entry.sections[0].fields.at(0).title, Foundation::String("PIN"));
            EXPECT_EQ(entry.sections[0].fields.at(0).text, Foundation::String("1234"));
        }
    }
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_TRUE(exportTo(ExporterFileFormat::plainText, folder));
    auto text = TestSupport::readText(only(".txt"));
    EXPECT_NE(text.find("Password: pw,\n\"x\"\n"), std::string::npos);
    EXPECT_NE(text.find("PIN: 1234\n"), std::string::npos);
}

TEST_F(ExporterTests, ACancelledOrFailedExportLeavesNothing)
{
    // The export reads its items at once on another thread: the hook is in place before it starts, and
    // waits there for the export's progress.
    std::promise<std::shared_ptr<Foundation::Progress>> started;
    vault->recordStore->onAllEntries = [progress = started.get_future().share()] { progress.get()->cancel(); };
    vault->exporter->exportItems(ExporterFileFormat::corvendaleJSON, fileURL(folder, true));
    started.set_value(vault->exporter->status().as<Exporter::Status::InProgress>()->progress);
    ASSERT_TRUE(vault->waitForExport());
    const auto* failed = vault->exporter->status().as<Exporter::Status::Failed>();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->error->description(), "The export was cancelled. No file was written.");
    EXPECT_TRUE(TestSupport::entryNames(folder).empty());
    vault->recordStore->onAllEntries = nullptr;

    for (const char* unusable : {"/proc", "/nonexistent-folder-for-export"}) {
        vault->exporter->resetStatus();
        vault->exporter->exportItems(ExporterFileFormat::corvendaleCSV, fileURL(unusable, true));
        ASSERT_TRUE(vault->waitForExport());
        failed = vault->exporter->status().as<Exporter::Status::Failed>();
        ASSERT_TRUE(failed);
        EXPECT_NE(failed->error->description().find("could not be written to"), std::string::npos) << failed->error->description();
    }
}

TEST_F(ExporterTests, ManyItemsWrittenInBatchesReadBackWhole)
{
    // More items than one batch of the parallel writing, so that batch edges are crossed.
    std::vector<Entry> entries;
    auto now = Foundation::Date::now();
    for (int i = 0; i < 2100; ++i) {
        auto entry = Entry::make(Entry::Category::login, now);
        entry.title = Foundation::String("Item " + std::to_string(i));
        entries.push_back(std::move(entry));
    }
    vault->recordStore->insertEntries(entries, {});
    auto work = SharedTests::temporaryFolder("ExportWork");
    for (auto [exportFormat, importFormat, extension] : {std::tuple {ExporterFileFormat::corvendaleJSON, ImporterFileFormat::corvendaleJSON, ".json"},
                                                         {ExporterFileFormat::corvendaleCSV, ImporterFileFormat::corvendaleCSV, ".csv"}}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        const auto* report = exportTo(exportFormat, folder);
        ASSERT_TRUE(report);
        EXPECT_EQ(report->exportedCount, 2102);
        auto read = ImportReader::read(importFormat, fileURL(only(extension)), std::nullopt, fileURL(work, true), [](double) {});
        ASSERT_EQ(read.items.size(), 2102u);
        std::set<std::string> titles;
        for (const auto& item : read.items)
            titles.insert(item.entry.title.utf8());
        EXPECT_EQ(titles.size(), 2102u);
        EXPECT_TRUE(titles.contains("Item 2099"));
    }
}

TEST(ExporterFormatTests, ThisProgramsFilesHoldTheItemsAsTheCoderWritesThem)
{
    // The files are laid out without the coder: every part of an item must come out as it would.
    const auto coded = [](const auto& value) { return std::string(Basalwork::JSONCoder::shared()->encode(value).view()); };
    Foundation::Date now(788918400.125);
    auto entry = Entry::make(Entry::Category::login, now);
    entry.title = "Quote \" backslash \\ slash / tab \t bell \x07 — Zürich 🔑";
    entry.username = "jörg@example.com";
    entry.setText("first", Entry::SystemField::ID::password, now);
    entry.setText("second\r\nline", Entry::SystemField::ID::password, now.addingTimeInterval(10.5));
    entry.setText("otpauth://totp/x?secret=JBSWY3DP", Entry::SystemField::ID::totpSecretKey, Foundation::Date(0));
    entry.setText("otpauth://totp/y?secret=KRSXG5A", Entry::SystemField::ID::totpSecretKey, Foundation::Date(1));
    entry.website = "https://mail.example.ch/";
    entry.notes = "line one\nline two\f";
    entry.tags = {"work", "pers, onal"};
    entry.isFavorite = true;
    entry.stampServiceIdentifiers({Entry::ServiceIdentifier::fromIdentifier("https://mail.example.ch/login", true, now)});
    entry.serviceIdentifiers.push_back({"app.example", std::nullopt});
    auto section = entry.insertSection(0, Entry::Section::Template::blank);
    entry.sections[static_cast<std::size_t>(section)].title = Foundation::String("Section");
    for (auto category : allEntryFieldCategories()) {
        auto id = entry.appendField(section, category);
        if (category != EntryFieldCategory::pin)
            entry.setFieldTitle(id, Foundation::String("Field " + titleText(category).utf8()));
        entry.setFieldText(id, "value, é", now);
        entry.setFieldText(id, "newer", Foundation::Date(-1.0e-7));
    }
    entry.trashedAt = Foundation::Date(1.0e21);
    entry.modifiedAt = Foundation::Date(123456789.0);
    for (auto source : {std::optional(Entry::SubtitleSource::customField({section, 1})), std::optional(Entry::SubtitleSource::systemField(Entry::SystemField::ID::website)),
                        std::optional<Entry::SubtitleSource>()}) {
        entry.subtitleSource = source;
        std::string json;
        VaultDocument::appendJSONItem(json, entry, true);
        EXPECT_EQ(json, coded(entry));
        auto row = VaultDocument::csvRow(entry);
        const auto labels = VaultDocument::csvColumnLabels();
        auto cell = [&](const char* label) { return row[static_cast<std::size_t>(std::find(labels.begin(), labels.end(), Foundation::String(label)) - labels.begin())]; };
        EXPECT_EQ(cell("tags"), Foundation::String(coded(entry.tags)));
        EXPECT_EQ(cell("serviceIdentifiers"), Foundation::String(coded(entry.serviceIdentifiers)));
        EXPECT_EQ(cell("sections"), Foundation::String(coded(entry.sections)));
        EXPECT_EQ(cell("passwordHistory"), Foundation::String(coded(entry.passwordHistory)));
        EXPECT_EQ(cell("totpSecretKeyHistory"), Foundation::String(coded(entry.totpSecretKeyHistory)));
        EXPECT_EQ(cell("subtitleSource"), source ? std::optional(Foundation::String(coded(*source))) : std::nullopt);
    }
    // A date that is no number is refused as before.
    entry.createdAt = Foundation::Date(std::numeric_limits<double>::infinity());
    std::string json;
    EXPECT_THROW(VaultDocument::appendJSONItem(json, entry, false), Foundation::Error);
}
