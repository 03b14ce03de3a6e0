#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/CSVParser.hpp"
#include "Basalwork/Base/CSVWriter.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <filesystem>
#include <iterator>
#include <random>
#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Character;
using Foundation::String;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

constexpr auto nil = std::nullopt;

class CSVWriterTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    fs::path path = home.path() / "export.csv";
    URL url = URL::fileURLWithPath(path.string());

    std::vector<CSVRow> readBack() const
    {
        return Foundation::make<CSVParser>(url, Character(U','), Character(U'"'), std::vector<String> {}, nullptr)->allRows();
    }
};

} // namespace

TEST_F(CSVWriterTest, QuotesEveryValueAndWritesNothingForAMissingOne)
{
    CSVWriter::write(url, {"Name", "Note"}, {{"a\"b", nil}, {}, {nil, ""}}, Character(U','));
    EXPECT_EQ(TestSupport::readText(path), "\"Name\",\"Note\"\n\"a\"\"b\",\n\n,\"\"");

    CSVWriter::write(url, {"Name", "Note"}, {}, Character(U','));
    EXPECT_EQ(TestSupport::readText(path), "\"Name\",\"Note\"\n");
}

TEST_F(CSVWriterTest, WhatIsWrittenReadsBackAsItWas)
{
    // Values that a careless writer or reader would split, merge or cut short; the combining mark right
    // after the opening quote, and the quote before one, must still count as quotes.
    const std::vector<String> labels {" Padded ", "Say \"hi\"", "\u0301Mark"};
    const std::vector<CSVRow> rows {
        {"comma, inside", "line\nfeed and \r\n crlf", "\u0301starts with a mark"},
        {"\"quoted\"", "\"\u0301", "\uFEFFmark first"},
        {nil, "", "\u2028 separator \u0085"},
    };
    CSVWriter::write(url, labels, rows, Character(U','));

    auto read = readBack();
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0], (CSVRow {" Padded ", "Say \"hi\"", "\u0301Mark"}));
    EXPECT_EQ(std::vector<CSVRow>(read.begin() + 1, read.end()), rows);

    // Labels are trimmed outside their quotes only, so they too come back as written.
    auto parser = Foundation::make<CSVParser>(url, Character(U','), Character(U'"'), labels, nullptr);
    EXPECT_EQ(parser->columnLabels(), (std::vector<std::optional<String>>(labels.begin(), labels.end())));
    EXPECT_EQ(parser->namedRows().size(), 3u);
}

TEST_F(CSVWriterTest, AnEmptyLastRowIsWrittenSoThatItReadsBack)
{
    // An empty last line would be taken for the end of the file.
    CSVWriter::write(url, {"Name"}, {{nil}, {nil}}, Character(U','));
    EXPECT_EQ(TestSupport::readText(path), "\"Name\"\n\n\"\"");
    EXPECT_EQ(readBack(), (std::vector<CSVRow> {{"Name"}, {nil}, {""}}));
}

TEST_F(CSVWriterTest, AnotherDelimiterSeparatesTheValues)
{
    CSVWriter::write(url, {"A", "B"}, {{"1", "2;3"}}, Character(U';'));
    EXPECT_EQ(TestSupport::readText(path), "\"A\";\"B\"\n\"1\";\"2;3\"");
}

TEST_F(CSVWriterTest, AFailedWriteLeavesTheDestinationAsItWas)
{
    // A folder in the way cannot be replaced by the file.
    fs::create_directories(path);
    TestSupport::writeText(path / "kept", "kept");
    EXPECT_THROW(CSVWriter::write(url, {"A"}, {{"1"}}, Character(U',')), Foundation::NSError);
    EXPECT_EQ(TestSupport::entryNames(path), (std::vector<std::string> {"kept"}));
    for (const auto& name : TestSupport::entryNames(home.path()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << "a staging file was left: " << name;

    EXPECT_THROW(CSVWriter::write(URL::fileURLWithPath((home.path() / "missing/export.csv").string()), {"A"}, {},
                                  Character(U',')),
                 Foundation::NSError);
}

TEST_F(CSVWriterTest, TheTextMadeInPartsIsTheFileWriteMakes)
{
    const std::vector<String> labels {"Name", "Say \"hi\""};
    const std::vector<std::vector<CSVRow>> cases {
        {},
        {{"a\"b", nil}, {}, {nil, ""}},
        {{"comma, inside", "line\nfeed"}, {"\u0301mark", "\"\"\""}},
        {{nil}, {nil}},
        {{"only"}, {}},
    };
    for (const auto& rows : cases) {
        for (char32_t delimiter : {U',', U';'}) {
            CSVWriter::write(url, labels, rows, Character(delimiter));
            std::string text;
            CSVWriter::appendLabels(text, labels, Character(delimiter));
            // Rows made apart and joined, as workers would.
            for (std::size_t i = 0; i < rows.size(); ++i) {
                std::string piece;
                CSVWriter::appendRow(piece, rows[i], i == 0, Character(delimiter));
                text += piece;
            }
            CSVWriter::appendEnd(text, rows.empty() ? nullptr : &rows.back());
            EXPECT_EQ(text, TestSupport::readText(path)) << rows.size() << " rows";
        }
    }
}

TEST_F(CSVWriterTest, LargeTextComesOutAsEachValueQuotedOneByOne)
{
    // Enough text to pass through the writer's buffer many times over, with values larger than it (one all
    // quotes, the most room a value can take), checked against quoting done a byte at a time.
    std::mt19937 random(7);
    const std::string pieces[] = {"\"", "\"\"", ",", "\n", "a", "word ", "\u00e9", "\u0301", "\xF0\x9F\x94\x91"};
    auto randomValue = [&] {
        std::string value;
        for (auto count = random() % 12; count > 0; --count)
            value += pieces[random() % std::size(pieces)];
        return value;
    };
    const std::vector<String> labels {"A", "B\"", "C"};
    std::vector<CSVRow> rows;
    for (int r = 0; r < 20000; ++r) {
        CSVRow row;
        for (int i = 0; i < 3; ++i)
            row.push_back(random() % 5 == 0 ? std::nullopt : std::optional<String>(randomValue()));
        rows.push_back(std::move(row));
    }
    rows[100][1] = String(std::string(300000, '"'));
    rows[200][0] = String(std::string(700000, 'x') + "\"");

    auto quoted = [](std::string_view value) {
        std::string text = "\"";
        for (char byte : value)
            text += byte == '"' ? std::string("\"\"") : std::string(1, byte);
        return text + "\"";
    };
    std::string expected;
    for (const auto& label : labels)
        expected += (expected.empty() ? "" : ";") + quoted(label.view());
    for (const auto& row : rows) {
        expected += "\n";
        for (std::size_t i = 0; i < row.size(); ++i)
            expected += (i > 0 ? ";" : "") + (row[i] ? quoted(row[i]->view()) : std::string());
    }

    CSVWriter::write(url, labels, rows, Character(U';'));
    EXPECT_TRUE(TestSupport::readText(path) == expected);
    std::string appended;
    CSVWriter::appendLabels(appended, labels, Character(U';'));
    for (std::size_t i = 0; i < rows.size(); ++i)
        CSVWriter::appendRow(appended, rows[i], i == 0, Character(U';'));
    CSVWriter::appendEnd(appended, &rows.back());
    EXPECT_TRUE(appended == expected);
}
