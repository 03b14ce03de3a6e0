#include "Tests/Shared/Model/EntrySamples.hpp"
#include "Tests/Shared/Transfer/TransferFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Model/EntryProperty.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Basalwork/Base/CSVWriter.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using SharedTests::setSample;
using F = ImporterFileFormat;
namespace fs = std::filesystem;

namespace {

Entry baseEntry()
{
    return Entry::make(Entry::Category::login, Foundation::Date(800'000'000));
}

fs::path writeFile(const std::string& name, const std::string& content)
{
    auto file = SharedTests::temporaryFolder("EntryProperties") / name;
    TestSupport::writeText(file, content);
    return file;
}

ImportReadResult read(F format, const fs::path& file)
{
    auto work = SharedTests::temporaryFolder("EntryPropertiesWork");
    fs::remove_all(work);
    fs::create_directories(work);
    return ImportReader::read(format, Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false), std::nullopt,
                              Foundation::URL::fileURLWithPath(Foundation::String(work.string()), true), [](double) {});
}

Entry throughCoding(const Entry& entry)
{
    auto coder = Basalwork::JSONCoder::shared();
    return coder->decode<Entry>(coder->encode(entry));
}

std::optional<Entry> throughJSONExport(const Entry& entry)
{
    std::string json;
    VaultDocument::beginJSON(json);
    VaultDocument::appendJSONItem(json, entry, true);
    VaultDocument::endJSON(json, {});
    auto result = read(F::corvendaleJSON, writeFile("item.json", json));
    EXPECT_TRUE(result.failures.empty()) << (result.failures.empty() ? "" : result.failures.front().utf8());
    if (result.items.size() != 1)
        return std::nullopt;
    return result.items.front().entry;
}

std::optional<Entry> throughCSVExport(const Entry& entry)
{
    std::string csv;
    Basalwork::CSVWriter::appendLabels(csv, VaultDocument::csvColumnLabels(), ",");
    auto row = VaultDocument::csvRow(entry);
    Basalwork::CSVWriter::appendRow(csv, row, true, ",");
    Basalwork::CSVWriter::appendEnd(csv, &row);
    auto result = read(F::corvendaleCSV, writeFile("item.csv", csv));
    EXPECT_TRUE(result.failures.empty()) << (result.failures.empty() ? "" : result.failures.front().utf8());
    if (result.items.size() != 1)
        return std::nullopt;
    return result.items.front().entry;
}

// Whether `read` holds what `written` holds in every property the export carries.
void expectSameProperties(const Entry& read, const Entry& written, bool csv, const std::string& context)
{
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        if (csv ? property.hasCSVColumn() : property.isExported()) {
            EXPECT_TRUE(read.*property.member == written.*property.member) << context << ": " << property.key;
        }
    });
}

} // namespace

TEST(EntryPropertyTests, EveryPropertyRoundTripsThroughCodingAndThisProgramsExports)
{
    // Each property alone on a plain item (a value landing in another property's place shows), then all
    // of them at once.
    Entry everything = baseEntry();
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        Entry entry = baseEntry();
        setSample(entry.*property.member, property.key);
        ASSERT_FALSE(entry.*property.member == baseEntry().*property.member) << property.key;
        setSample(everything.*property.member, property.key);

        const std::string key = property.key;
        auto coded = Basalwork::JSONCoder::shared()->encode(entry);
        EXPECT_NE(coded.view().find("\"" + key + "\":"), std::string_view::npos) << key;
        EXPECT_EQ(throughCoding(entry), entry) << key;
        if (!property.isExported())
            return;
        auto fromJSON = throughJSONExport(entry);
        ASSERT_TRUE(fromJSON) << key;
        expectSameProperties(*fromJSON, entry, false, "JSON, " + key);
        if (!property.hasCSVColumn())
            return;
        auto fromCSV = throughCSVExport(entry);
        ASSERT_TRUE(fromCSV) << key;
        expectSameProperties(*fromCSV, entry, true, "CSV, " + key);
    });

    EXPECT_EQ(throughCoding(everything), everything);
    for (auto [result, csv] : {std::pair {throughJSONExport(everything), false}, {throughCSVExport(everything), true}}) {
        ASSERT_TRUE(result) << (csv ? "CSV" : "JSON");
        expectSameProperties(*result, everything, csv, csv ? "CSV" : "JSON");
    }
}

TEST(EntryPropertyTests, ValuesKeptFromAMergeTravelInTheJSONExportButAddNoCSVColumn)
{
    Entry entry = baseEntry();
    SharedTests::setSample(entry.mergedAwayValues["title"].emplace_back(), "lost title");
    SharedTests::setSample(entry.mergedAwayValues["notes"].emplace_back(), "lost \"notes\"");
    auto fromJSON = throughJSONExport(entry);
    ASSERT_TRUE(fromJSON);
    EXPECT_EQ(fromJSON->mergedAwayValues, entry.mergedAwayValues);
    auto labels = VaultDocument::csvColumnLabels();
    EXPECT_EQ(std::count(labels.begin(), labels.end(), Foundation::String("mergedAwayValues")), 0);
}

TEST(EntryPropertyTests, TheCSVExportHasAColumnPerExportedPropertyUnderItsKey)
{
    auto labels = VaultDocument::csvColumnLabels();
    std::size_t exported = 0;
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        if (!property.hasCSVColumn())
            return;
        ++exported;
        ASSERT_LT(static_cast<std::size_t>(property.exportColumn), labels.size()) << property.key;
        EXPECT_EQ(labels[static_cast<std::size_t>(property.exportColumn)], Foundation::String(property.key));
    });
    EXPECT_EQ(labels.size(), exported);
    EXPECT_EQ(VaultDocument::csvRow(baseEntry()).size(), exported);
    // Files already written have their columns in this order.
    std::string header;
    Basalwork::CSVWriter::appendLabels(header, labels, ",");
    EXPECT_EQ(header, "\"id\",\"category\",\"title\",\"username\",\"password\",\"totpSecretKey\",\"website\",\"notes\",\"tags\",\"isFavorite\","
                      "\"isArchived\",\"isSafeForInspection\",\"showsEmptyLoginFields\",\"createdAt\",\"modifiedAt\",\"trashedAt\","
                      "\"serviceIdentifiers\",\"sections\",\"passwordHistory\",\"totpSecretKeyHistory\",\"subtitleSource\"\n");
}

TEST(EntryPropertyTests, ACSVWrittenByHandMayLeaveOutValuesButNotTheIdentifierOrAKnownCategory)
{
    auto login = Foundation::rawValue(Entry::Category::login).utf8();
    auto now = Foundation::Date::now();
    auto result = read(F::corvendaleCSV, writeFile("hand.csv", "id,category,title,createdAt\n"
                                                               "A1," + login + ",No dates,\n"
                                                               "A2," + login + ",Created only,700000000\n"
                                                               "," + login + ",No identifier,\n"
                                                               "A4,spaceship,Unknown category,\n"
                                                               "A5," + login + ",Bad date,yesterday\n"));
    ASSERT_EQ(result.items.size(), 2u);
    const auto& noDates = result.items[0].entry;
    EXPECT_EQ(noDates.title, Foundation::String("No dates"));
    EXPECT_EQ(noDates.createdAt, now);
    EXPECT_EQ(noDates.modifiedAt, now);
    EXPECT_FALSE(noDates.trashedAt);
    EXPECT_FALSE(noDates.isFavorite);
    EXPECT_TRUE(noDates.tags.empty());
    const auto& createdOnly = result.items[1].entry;
    EXPECT_EQ(createdOnly.createdAt, Foundation::Date(700000000));
    EXPECT_EQ(createdOnly.modifiedAt, Foundation::Date(700000000));

    ASSERT_EQ(result.failures.size(), 3u);
    for (auto [index, reason] : {std::pair {0, "no identifier"}, {1, "category is unknown"}, {2, "not a number of seconds"}})
        EXPECT_NE(result.failures[static_cast<std::size_t>(index)].utf8().find(reason), std::string::npos) << result.failures[static_cast<std::size_t>(index)].utf8();
}

TEST(EntryPropertyTests, EveryTextAnItemKeepsIsHeldToTheImportLimits)
{
    const auto tooLong = Foundation::String(std::string(ImportedEntryBuilder::maximumValueByteCount + 1, 'x'));
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        Entry entry = baseEntry();
        auto& value = entry.*property.member;
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, Foundation::String>) {
            value = tooLong;
            EXPECT_THROW(ImportedEntryBuilder::enforceLimits(entry), ImporterError) << property.key;
        }
    });

    // Values put away by a merge come in with this program's JSON files too.
    Entry entry = baseEntry();
    auto& kept = entry.mergedAwayValues["title"];
    for (int i = 0; i < 60; ++i)
        kept.push_back(EntryPreviousValue::make(Foundation::String("title " + std::to_string(i)), Foundation::Date(i)));
    ImportedEntryBuilder::enforceLimits(entry);
    EXPECT_EQ(entry.mergedAwayValues["title"].size(), Entry::maximumHistoryCount);
    entry.mergedAwayValues["notes"] = {EntryPreviousValue::make(tooLong, Foundation::Date(0))};
    EXPECT_THROW(ImportedEntryBuilder::enforceLimits(entry), ImporterError);
}
