#include "Tests/Shared/Transfer/TransferFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Transfer/ImportParts.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONImportReader.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

using namespace Shared;
using F = ImporterFileFormat;
namespace fs = std::filesystem;

namespace {

Foundation::URL fileURL(const fs::path& path, bool isDirectory = false)
{
    return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory);
}

fs::path write(const std::string& name, const std::string& content)
{
    auto file = SharedTests::temporaryFolder("Hostile") / name;
    TestSupport::writeText(file, content);
    return file;
}

// A work folder of its own for each reading, as the importer gives one.
fs::path workFolder()
{
    auto folder = SharedTests::temporaryFolder("HostileWork");
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

ImportReadResult read(F format, const fs::path& file)
{
    return ImportReader::read(format, fileURL(file), std::nullopt, fileURL(workFolder(), true), [](double) {});
}

// The reason the reading of a file failed with, or nothing when it did not.
std::string failureOf(F format, const fs::path& file)
{
    try {
        read(format, file);
    } catch (const ImporterError& error) {
        return error.description();
    }
    return {};
}

fs::path write1PUX(const std::string& name, const std::string& data)
{
    auto path = SharedTests::temporaryFolder("Hostile") / name;
    fs::remove(path);
    int error = 0;
    auto* archive = zip_open(path.c_str(), ZIP_CREATE, &error);
    zip_file_add(archive, "export.data", zip_source_buffer(archive, data.data(), data.size(), 0), 0);
    EXPECT_EQ(zip_close(archive), 0);
    return path;
}

const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');

} // namespace

// Nesting is refused right after it is read, before anything copies or prints the item.
TEST(HostileImportTests, DeepNestingIsRefusedByEveryJSONReader)
{
    const std::vector<std::pair<F, std::string>> files {
        {F::bitwardenJSON, R"({"encrypted": false, "items": [)" + deep + "]}"},
        {F::enpassJSON, R"({"items": [{"title": "a", "fields": )" + deep + "}]}"},
        {F::keeperJSON, R"({"records": [)" + deep + "]}"},
        {F::corvendaleJSON, R"({"format": "Corvendale", "version": 1, "items": [)" + deep + "]}"},
    };
    for (const auto& [format, content] : files) {
        SCOPED_TRACE(Foundation::rawValue(format).utf8());
        EXPECT_NE(failureOf(format, write("deep.json", content)).find("nests deeper than"), std::string::npos);
    }
    // 1PIF reads a record a line: the deep one is one record left out.
    auto onePIF = read(F::onePassword1PIF, write("deep.1pif", R"({"uuid":"u1","typeName":"passwords.Password","title":"A"})" "\n" + deep + "\n"));
    EXPECT_EQ(onePIF.items.size(), 1u);
    EXPECT_EQ(onePIF.failures.size(), 1u);
    EXPECT_NE(failureOf(F::onePassword1PUX, write1PUX("deep.1pux", R"({"accounts": [{"vaults": [{"items": [)" + deep + "]}]}]}")).find("nests deeper than"),
              std::string::npos);
    // A backup's items are read the same way.
    try {
        VaultDocument::entries(R"({"format": "Corvendale", "version": 1, "items": [)" + deep + "]}", nullptr);
        ADD_FAILURE() << "deep items must be refused";
    } catch (const ImporterError& error) {
        EXPECT_NE(error.description().find("nests deeper than"), std::string::npos);
    }
}

// Items go on to the importer a part at a time, and what one item may hold while it is read has a budget.
TEST(HostileImportTests, ItemsComeAPartAtATimeWithinABudget)
{
    auto partSizes = [](F format, const fs::path& file) {
        std::vector<std::size_t> sizes;
        ImportReader::read(format, fileURL(file), std::nullopt, fileURL(workFolder(), true), [](double) {},
                           [&](ImportReadResult& part) { sizes.push_back(part.items.size() + part.failures.size()); });
        return sizes;
    };
    std::string json = R"({"encrypted": false, "folders": [], "items": [)";
    std::string xml = "<KeePassFile><Root><Group><Name>Root</Name>";
    for (int i = 0; i < 2500; ++i) {
        json += (i ? "," : "") + std::string(R"({"name": "Item )") + std::to_string(i) + R"(", "login": {"password": "pw"}})";
        xml += "<Entry><String><Key>Title</Key><Value>Item " + std::to_string(i) + "</Value></String></Entry>";
    }
    json += "]}";
    xml += "</Group></Root></KeePassFile>";
    for (const auto& [format, file] : {std::pair {F::bitwardenJSON, write("many.json", json)}, {F::keePassXML, write("many.xml", xml)}}) {
        SCOPED_TRACE(Foundation::rawValue(format).utf8());
        auto sizes = partSizes(format, file);
        EXPECT_EQ(sizes, (std::vector<std::size_t> {ImportParts::partSize, ImportParts::partSize, 2500 - 2 * ImportParts::partSize}));
    }

    std::string manyValues = R"({"items": [{"title": "a", "fields": [)";
    for (int i = 0; i < 100'001; ++i)
        manyValues += i ? ",0" : "0";
    manyValues += "]}]}";
    EXPECT_NE(failureOf(F::enpassJSON, write("values.json", manyValues)).find("holds more than 100000 values"), std::string::npos);
    std::string manyElements = "<KeePassFile><Root><Group><Entry>";
    for (int i = 0; i < 200'001; ++i)
        manyElements += "<a/>";
    manyElements += "</Entry></Group></Root></KeePassFile>";
    EXPECT_NE(failureOf(F::keePassXML, write("elements.xml", manyElements)).find("holds more than 200000 elements"), std::string::npos);
    EXPECT_NE(failureOf(F::bitwardenJSON, write("long.json", R"({"items": [{"name": ")" + std::string(17 * 1024 * 1024, 'x') + "\"}]}")).find("longer than 16 MB"),
              std::string::npos);
}

// This program's own files are read whole per item: they are held to the limits every other reader keeps.
TEST(HostileImportTests, ThisProgramsOwnFilesKeepTheLimitsOfEveryReader)
{
    Foundation::Date now(788918400);
    auto item = [&](const char* title) {
        auto entry = Entry::make(Entry::Category::login, now);
        entry.title = title;
        return entry;
    };
    auto hugeNote = item("Huge note");
    hugeNote.notes = Foundation::String(std::string(ImportedEntryBuilder::maximumValueByteCount + 1, 'n'));
    auto manySections = item("Many sections");
    manySections.sections.resize(static_cast<std::size_t>(Entry::maximumSectionCount) + 1);
    auto manyFields = item("Many fields");
    manyFields.sections.resize(2);
    for (auto& section : manyFields.sections)
        section.fields.resize(static_cast<std::size_t>(Entry::maximumFieldCount) / 2 + 1, EntryField {std::nullopt, "v", EntryFieldCategory::text, {}});
    auto longHistory = item("Long history");
    for (int i = 0; i < 200; ++i)
        longHistory.passwordHistory.push_back(EntryPreviousValue::make(Foundation::String("old " + std::to_string(i)), now));
    auto noIdentifier = item("No identifier");
    noIdentifier.id = "";
    auto pathIdentifier = item("Path identifier");
    pathIdentifier.id = "../../etc";

    std::string json;
    VaultDocument::beginJSON(json);
    bool first = true;
    for (const auto* entry : {&hugeNote, &manySections, &manyFields, &longHistory, &noIdentifier, &pathIdentifier}) {
        VaultDocument::appendJSONItem(json, *entry, first);
        first = false;
    }
    VaultDocument::endJSON(json, {});
    auto result = read(F::corvendaleJSON, write("own.json", json));
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].entry.title, Foundation::String("Long history"));
    ASSERT_EQ(result.items[0].entry.passwordHistory.size(), Entry::maximumHistoryCount);
    EXPECT_EQ(result.items[0].entry.passwordHistory.front().text, Foundation::String("old 0"));
    ASSERT_EQ(result.failures.size(), 5u);
    for (const auto& [index, reason] : std::vector<std::pair<std::size_t, std::string>> {
             {0, "longer than"}, {1, "more than 20 sections"}, {2, "more than 100 fields"}, {3, "identifier"}, {4, "identifier"}}) {
        EXPECT_NE(result.failures[index].utf8().find(reason), std::string::npos) << result.failures[index].utf8();
    }

    auto login = Foundation::rawValue(Entry::Category::login).utf8();
    auto csv = read(F::corvendaleCSV, write("own.csv", "id,category,title,notes\nA1,"
                                                             + login + ",Huge note," + std::string(ImportedEntryBuilder::maximumValueByteCount + 1, 'n')
                                                             + "\n," + login + ",No identifier,\n../x," + login + ",Path identifier,\nB2," + login + ",Good,\n"));
    ASSERT_EQ(csv.items.size(), 1u);
    EXPECT_EQ(csv.items[0].entry.title, Foundation::String("Good"));
    EXPECT_EQ(csv.failures.size(), 3u);
}

// A format or version of another type is a file of some other program, whether imported or restored.
TEST(HostileImportTests, ThisProgramsOwnFilesWithAFormatOrVersionOfAnotherTypeAreRefusedWithAReason)
{
    const std::string item = R"({"id": "A1", "category": "login", "title": "A"})";
    for (const std::string head : {R"({"format": 1, "version": 1)", R"({"format": "Corvendale", "version": "1")",
                                   R"({"format": "Corvendale", "version": null)", R"({"format": ["Corvendale"], "version": 1)"}) {
        SCOPED_TRACE(head);
        const auto content = head + R"(, "items": [)" + item + "]}";
        EXPECT_NE(failureOf(F::corvendaleJSON, write("typed.json", content)).find("not a Corvendale JSON export"), std::string::npos);
        EXPECT_THROW(VaultDocument::entries(content, nullptr), ImporterError);
    }
    auto newer = read(F::corvendaleJSON, write("newer.json", R"({"format": "Corvendale", "version": 1.5, "items": []})"));
    EXPECT_TRUE(newer.items.empty());
    EXPECT_NE(failureOf(F::corvendaleJSON, write("newer.json", R"({"format": "Corvendale", "version": 2.5, "items": []})")).find("(format 2)"),
              std::string::npos);
}

class HostileFileTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::TransferVault>();
        vault->authenticationStore->createMasterPassword("correct horse battery");
    }

    std::string importFailure(F format, const fs::path& file)
    {
        vault->importer->resetStatus();
        vault->importer->startImport(format, fileURL(file), std::nullopt, std::nullopt);
        EXPECT_TRUE(vault->waitForImport());
        const auto* failed = vault->importer->status().as<Importer::Status::Failed>();
        EXPECT_TRUE(failed) << "the import of " << file << " did not fail";
        return failed ? failed->error->description() : "";
    }

    std::unique_ptr<SharedTests::TransferVault> vault;
};

// Only a regular file is imported: a FIFO would block the import for ever, a device never end. Every
// failure a person can meet reads as a sentence.
TEST_F(HostileFileTests, OnlyRegularFilesAreImportedAndEveryFailureIsASentence)
{
    auto fifo = SharedTests::temporaryFolder("Hostile") / "export.fifo";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto folder = SharedTests::temporaryFolder("Hostile") / "a folder";
    fs::create_directories(folder);
    const std::vector<std::tuple<F, fs::path, std::string>> cases {
        {F::chromeCSV, fifo, "it is a pipe, not a file"},
        {F::bitwardenJSON, fifo, "it is a pipe, not a file"},
        {F::keePassXML, fifo, "it is a pipe, not a file"},
        {F::onePassword1PUX, fifo, "it is a pipe, not a file"},
        {F::chromeCSV, "/dev/zero", "it is a device, not a file"},
        {F::corvendaleJSON, "/dev/zero", "it is a device, not a file"},
        {F::chromeCSV, folder, "it is a folder, not a file"},
        {F::keePassXML, folder, "it is a folder, not a file"},
        {F::chromeCSV, folder / "missing.csv", "it does not exist"},
        {F::chromeCSV, write("empty.csv", ""), "it is empty"},
        {F::chromeCSV, write("bom.csv", "\xEF\xBB\xBF"), "it is empty"},
        {F::keePassXCCSV, write("blank.csv", "\n\r\n\n"), "it is empty"},
    };
    for (const auto& [format, file, text] : cases) {
        SCOPED_TRACE(file.string());
        auto failure = importFailure(format, file);
        EXPECT_NE(failure.find(text), std::string::npos) << failure;
        EXPECT_EQ(failure.find("Domain"), std::string::npos) << failure;
        EXPECT_EQ(failure.find("failedTo"), std::string::npos) << failure;
        EXPECT_TRUE(vault->recordStore->allEntries().empty());
    }
    // Nothing is left blocked: a later import runs.
    vault->importer->resetStatus();
    vault->importer->startImport(F::chromeCSV, fileURL(write("good.csv", "name,url,username,password\nA,https://a.example,me,pw\n")), std::nullopt,
                                 std::nullopt);
    ASSERT_TRUE(vault->waitForImport());
    EXPECT_TRUE(vault->importer->status().is<Importer::Status::Completed>());
}

TEST(HostileImportTests, KeePassTimesInBase64AndAttachmentsWithoutData)
{
    // KDBX 4 writes a time as the base64 of a little-endian count of seconds since year 1.
    auto seconds = [](std::uint64_t count) {
        std::string bytes;
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<char>(count >> (8 * i)));
        return Foundation::Data::fromString(bytes).base64EncodedString();
    };
    // 2024-01-02 03:04:05 UTC and a day later.
    const std::uint64_t created = 63839761445;
    auto result = read(F::keePassXML, write("kdbx4.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<KeePassFile><Meta><Binaries><Binary ID="0">SGVsbG8=</Binary></Binaries></Meta><Root><Group><Name>Root</Name>
<Entry><UUID>AAAAAAAAAAAAAAAAAAAAAA==</UUID><Times><CreationTime>)" + seconds(created) + "</CreationTime><LastModificationTime>"
                                                  + seconds(created + 86400) + R"(</LastModificationTime></Times>
<String><Key>Title</Key><Value>Server</Value></String><String><Key>Password</Key><Value>pw</Value></String>
<Binary><Key>key.txt</Key><Value Ref="0"/></Binary><Binary><Key>lost.txt</Key><Value Ref="7"/></Binary></Entry>
</Group></Root></KeePassFile>)"));
    ASSERT_EQ(result.items.size(), 1u);
    const auto& entry = result.items[0].entry;
    EXPECT_EQ(entry.createdAt, Foundation::Date::fromTimeIntervalSince1970(1704164645));
    EXPECT_EQ(entry.modifiedAt, Foundation::Date::fromTimeIntervalSince1970(1704164645 + 86400));
    // The attachment whose data the file lacks is a failure of the item, which comes in without it.
    ASSERT_EQ(result.items[0].attachments.size(), 1u);
    EXPECT_EQ(TestSupport::readText(result.items[0].attachments[0].fileURL.path().utf8()), "Hello");
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_NE(result.failures[0].utf8().find("lost.txt"), std::string::npos) << result.failures[0].utf8();
    EXPECT_NE(result.failures[0].utf8().find("Server"), std::string::npos);
}

// The fuzzer's samples are real layouts: each reads without a failure, so that changed copies of them
// reach deep into the readers.
TEST(HostileImportTests, TheFuzzingSamplesReadClean)
{
    for (const auto* reader : {"csv", "json", "xml", "zip"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(CORVENDALE_SOURCE_DIR) / "Tests/Shared/data/fuzz" / reader)) {
            auto name = entry.path().filename().string();
            SCOPED_TRACE(name);
            auto format = Foundation::fromRawValue<F>(Foundation::String(name.substr(0, name.find('.'))));
            ImportReadResult result;
            if (name.starts_with("onePassword1PUXData.")) {
                JSONImportReader::read1PUXData(fileURL(entry.path()), nullptr, [](double) {}, [&](ImportReadResult& part) { result = std::move(part); });
            } else {
                ASSERT_TRUE(format);
                result = read(*format, entry.path());
            }
            EXPECT_FALSE(result.items.empty());
            EXPECT_TRUE(result.failures.empty()) << result.failures.front().utf8();
        }
    }
    auto items = TestSupport::readText(fs::path(CORVENDALE_SOURCE_DIR) / "Tests/Shared/data/fuzz/backup/items.json");
    EXPECT_EQ(VaultDocument::entries(items, nullptr).size(), 1u);
}

// A file whose every item fails lists the first failures and counts the others, instead of holding a
// text for each to the end.
TEST_F(HostileFileTests, FailuresPastTheListAreCounted)
{
    std::string json = R"({"format": "Corvendale", "version": 1, "items": [)";
    for (int i = 0; i < 1500; ++i)
        json += i ? ",{}" : "{}";
    json += "]}";
    vault->importer->startImport(F::corvendaleJSON, fileURL(write("failing.json", json)), std::nullopt, std::nullopt);
    ASSERT_TRUE(vault->waitForImport());
    const auto* completed = vault->importer->status().as<Importer::Status::Completed>();
    ASSERT_TRUE(completed);
    ASSERT_EQ(completed->report.failures.size(), 1001u);
    EXPECT_EQ(completed->report.failures.back(), Foundation::String("500 more items could not be imported; only the first 1000 are listed."));
}
