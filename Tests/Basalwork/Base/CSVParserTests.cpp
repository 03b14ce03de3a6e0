#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/CSVParser.hpp"
#include "Basalwork/Base/CSVParserError.hpp"
#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>
#include <iterator>
#include <random>

using namespace Basalwork;
using Foundation::Character;
using Foundation::String;
using Foundation::URL;

namespace {

enum class Column { name, url, cafe };

} // namespace

template <>
struct Foundation::RawRepresentation<Column> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Column, const char*> cases[] = {{Column::name, "Name"}, {Column::url, "URL"}, {Column::cafe, "Caf\xC3\xA9"}};
};

namespace {

constexpr auto nil = std::nullopt;
using Labels = std::vector<std::optional<String>>;
using Rows = std::vector<CSVRow>;

class CSVParserTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;

    URL fileWith(const std::string& contents)
    {
        TestSupport::writeText(home.path() / "items.csv", contents);
        return URL::fileURLWithPath((home.path() / "items.csv").string());
    }

    std::shared_ptr<CSVParser> parser(const std::string& contents, std::vector<String> required = {},
                                      CSVParser::RowPredicate skip = nullptr, Character escape = Character(U'"'),
                                      Character delimiter = Character(U','))
    {
        return Foundation::make<CSVParser>(fileWith(contents), delimiter, escape, std::move(required), std::move(skip));
    }

    Rows rawRows(const std::string& contents, Character escape = Character(U'"'))
    {
        Rows rows;
        auto reader = Foundation::make<CSVRowReader>(fileWith(contents), Character(U','), escape, nullptr);
        for (const CSVRow& row : *reader)
            rows.push_back(row);
        return rows;
    }

    template <class Call>
    static CSVParserError::Case parserError(Call&& call)
    {
        try {
            call();
        } catch (const CSVParserError& error) {
            return error.value();
        }
        ADD_FAILURE() << "no CSVParserError";
        return {};
    }
};

} // namespace

TEST_F(CSVParserTest, RowsAndTheirMissingValues)
{
    EXPECT_EQ(parser("a,b\nc,d\n")->allRows(), (Rows {{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(parser("a,,b,\n\nc")->allRows(), (Rows {{"a", nil, "b", nil}, {nil}, {"c"}}));
    EXPECT_EQ(parser("a,")->allRows(), (Rows {{"a", nil}}));
    EXPECT_EQ(parser("")->allRows(), Rows {});
}

TEST_F(CSVParserTest, QuotedFieldsKeepSeparatorsAndLoseTheirQuotesOnlyInTheParser)
{
    const std::string text = "\"x,y\",\"two\r\nlines\",plain,\"\"\n";
    EXPECT_EQ(rawRows(text), (Rows {{"\"x,y\"", "\"two\r\nlines\"", "plain", "\"\""}}));
    EXPECT_EQ(parser(text)->allRows(), (Rows {{"x,y", "two\r\nlines", "plain", ""}}));
    // Each quote goes by itself.
    EXPECT_EQ(parser("\"open,close\",\"")->allRows(), (Rows {{"open,close", ""}}));
    EXPECT_EQ(parser("a\"\n")->allRows(), (Rows {{"a"}}));
}

TEST_F(CSVParserTest, EscapedQuotesAndQuotesThatDoNotCloseAField)
{
    auto backslash = parser("\"say \\\"hi\\\"\",C:\\path\n", {}, nullptr, Character(U'\\'))->allRows();
    EXPECT_EQ(backslash, (Rows {{"say \"hi\"", "C:\\path"}}));
    EXPECT_EQ(parser("\"say \"\"hi\"\"\",x\n")->allRows(), (Rows {{"say \"hi\"", "x"}}));
    // Text after a closing quote reopens the field, so its comma is text.
    EXPECT_EQ(parser("\"a\"b,c\",d\n")->allRows(), (Rows {{"a\"b,c", "d"}}));
    // A quote never closed runs to the end of the file.
    EXPECT_EQ(parser("x,\"never\nclosed,")->allRows(), (Rows {{"x", "never\nclosed,"}}));
}

TEST_F(CSVParserTest, ByteOrderMarksAreSkippedWhereAFieldWouldBegin)
{
    EXPECT_EQ(parser("\uFEFFName,\uFEFFNote\nv,a\uFEFFb\n")->allRows(), (Rows {{"Name", "Note"}, {"v", "a\uFEFFb"}}));
}

TEST_F(CSVParserTest, EveryNewlineEndsARowAndWhatFollowsItIsKept)
{
    EXPECT_EQ(parser("1,2\r3,4\n5,6\n")->allRows(), (Rows {{"1", "2"}, {"3", "4"}, {"5", "6"}}));
    EXPECT_EQ(parser("a\u2028b\vc\u0085d\r\ne\u2029f\fg")->allRows(),
              (Rows {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}, {"g"}}));
}

TEST_F(CSVParserTest, ACarriageReturnLineFeedSplitBetweenChunksIsOneNewline)
{
    // The first 4096-byte chunk ends with the CR and holds no LF, so its record ends at the CR.
    std::string longValue(4095, 'x');
    EXPECT_EQ(parser(longValue + "\r\ny\r\n")->allRows(), (Rows {{String(longValue)}, {"y"}}));
}

TEST_F(CSVParserTest, RowsDoNotDependOnTheChunkSize)
{
    // With small chunks a CR LF falls apart, and its LF comes alone at the start of the next read.
    const std::string text = "\"x,y\",z\r\n\"x,y\",z\r\n";
    const Rows expected {{"\"x,y\"", "z"}, {"\"x,y\"", "z"}};
    auto url = fileWith(text);
    for (std::int64_t chunkSize = 1; chunkSize <= static_cast<std::int64_t>(text.size()) + 1; ++chunkSize) {
        Rows rows;
        auto reader = Foundation::make<CSVRowReader>(url, Character(U','), Character(U'"'), nullptr, chunkSize);
        for (const CSVRow& row : *reader)
            rows.push_back(row);
        EXPECT_EQ(rows, expected) << "chunk size " << chunkSize;
    }
}

TEST_F(CSVParserTest, TextThatIsNotUTF8IsAnErrorNotAnEarlyEnd)
{
    auto broken = parser("Name\nfine\nbroken \xC3\x28\nlast\n");
    EXPECT_THROW(broken->allRows(), GeneralError);
    try {
        broken->namedRows();
        FAIL() << "rows were read";
    } catch (const GeneralError& error) {
        EXPECT_TRUE(error.as<GeneralError::FailedToDecodeUTF8StringFromData>());
    }
}

TEST_F(CSVParserTest, HeaderLabelsAreTrimmedUnquotedAndMatchedExactly)
{
    const std::string text = "  \"Name\" , URL ,,\"Note\"\n";
    EXPECT_EQ(parser(text, {"Name", "URL", "Note"})->columnLabels(), (Labels {"Name", "URL", nil, "Note"}));
    EXPECT_EQ(parserError([&] { parser(text, {"Name", "name", "url"})->columnLabels(); }),
              CSVParserError::Case(CSVParserError::FailedToAccessRequiredColumnLabel {"name"}));
    EXPECT_EQ(parserError([&] { parser(text, {"Missing"})->namedRows(); }),
              CSVParserError::Case(CSVParserError::FailedToAccessRequiredColumnLabel {"Missing"}));
}

TEST_F(CSVParserTest, WithoutAHeaderThereAreNoColumnLabels)
{
    EXPECT_EQ(parserError([&] { parser("")->columnLabels(); }), CSVParserError::Case(CSVParserError::FailedToAccessColumnLabels {}));
    auto everythingSkipped = parser("a\nb\n", {}, [](const CSVRow&) { return true; });
    EXPECT_EQ(parserError([&] { everythingSkipped->namedRows(); }),
              CSVParserError::Case(CSVParserError::FailedToAccessColumnLabels {}));
    EXPECT_EQ(everythingSkipped->allRows(), Rows {});
}

TEST_F(CSVParserTest, TheSkipPredicateSeesRowsAsTheyStandInTheFile)
{
    std::vector<CSVRow> seen;
    auto skipComments = [&](const CSVRow& row) {
        seen.push_back(row);
        return row.front() == String("\"#\"");
    };
    const std::string text = "\"#\",comment\n Name ,Note\n\"#\"\nBank,\"pin\"\n";
    auto commented = parser(text, {"Name"}, skipComments);
    EXPECT_EQ(commented->columnLabels(), (Labels {"Name", "Note"}));
    EXPECT_EQ(seen, (Rows {{"\"#\"", "comment"}, {" Name ", "Note"}}));
    // A skipped row is not measured against the header.
    EXPECT_EQ(commented->namedRows(), (std::vector<CSVNamedRow> {{{"Name", "Bank"}, {"Note", "pin"}}}));
    EXPECT_EQ(commented->allRows(), (Rows {{" Name ", "Note"}, {"Bank", "pin"}}));
}

TEST_F(CSVParserTest, NamedRowsPairValuesWithLabelsAndRefuseRowsThatDoNotFit)
{
    auto items = parser("Name,URL,Note\nBank,\"https://bank.example\",\nMail,,\"a, b\"\n");
    auto rows = items->namedRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (CSVNamedRow {{"Name", "Bank"}, {"URL", "https://bank.example"}, {"Note", nil}}));
    EXPECT_EQ(firstValueWithColumnLabel(rows[1], Column::name), String("Mail"));
    EXPECT_EQ(firstWithColumnLabel(rows[1], Column::url), (CSVNamedValue {"URL", nil}));
    EXPECT_EQ(firstValueWithColumnLabel(CSVNamedRow {{nil, "x"}}, Column::name), std::nullopt);

    // Labels are looked up once for all rows: the first of equal labels wins, equal meaning canonically
    // equivalent, and a row's pairs still read in order.
    auto repeated = parser("URL,Cafe\xCC\x81,Name,Name,\n1,2,3,4,\n")->namedRows();
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_EQ(firstValueWithColumnLabel(repeated[0], Column::url), String("1"));
    EXPECT_EQ(firstValueWithColumnLabel(repeated[0], Column::cafe), String("2"));
    EXPECT_EQ(firstWithColumnLabel(repeated[0], Column::name), (CSVNamedValue {"Name", "3"}));
    const std::vector<CSVNamedValue> pairs(repeated[0].begin(), repeated[0].end());
    EXPECT_EQ(pairs, (std::vector<CSVNamedValue> {{"URL", "1"}, {"Cafe\xCC\x81", "2"}, {"Name", "3"}, {"Name", "4"}, {nil, nil}}));
    EXPECT_EQ(firstValueWithColumnLabel(pairs, Column::name), String("3"));

    EXPECT_EQ(parserError([&] { parser("A,B\n1,2,3\n")->namedRows(); }),
              CSVParserError::Case(CSVParserError::OneOrMoreRowsHaveMoreValuesThanColumnLabels {}));
    EXPECT_EQ(parserError([&] { parser("A,B\n1,2\n\n3,4\n")->namedRows(); }),
              CSVParserError::Case(CSVParserError::OneOrMoreRowsHaveFewerValuesThanColumnLabels {}));
}

TEST_F(CSVParserTest, ManyNamedRowsHoldTheValuesAllRowsReads)
{
    // Enough rows, some of them long, to fill many of the blocks the rows share; values empty, missing,
    // quoted with escapes and line breaks, and not ASCII.
    std::mt19937 random(3);
    const std::string values[] = {"", "\"\"", "plain", "\"a, \"\"b\"\"\nc\"", "Caf\xC3\xA9", "e\xCC\x81", "\xF0\x9F\x94\x91 key"};
    std::string text = "Name,URL,Note\n";
    for (int r = 0; r < 6000; ++r) {
        for (int i = 0; i < 3; ++i) {
            text += i > 0 ? "," : "";
            text += r % 1000 == 7 && i == 2 ? std::string(400000, 'n') : values[random() % std::size(values)];
        }
        text += "\n";
    }
    auto items = parser(text);
    const auto all = items->allRows();
    std::vector<CSVNamedRow> named = items->namedRows();
    ASSERT_EQ(named.size() + 1, all.size());
    // A row kept alone keeps its values.
    const CSVNamedRow kept = named[4321];
    for (std::size_t r = 0; r < named.size(); ++r) {
        ASSERT_EQ(named[r].size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            ASSERT_EQ(named[r].value(i), all[r + 1][i]) << r << " " << i;
            ASSERT_EQ(named[r].columnLabel(i), all[0][i]);
        }
    }
    named.clear();
    EXPECT_EQ(kept, CSVNamedRow(std::make_shared<const CSVNamedRow::Header>(Labels {"Name", "URL", "Note"}), all[4322]));
}

TEST(CSVNamedRowTest, ValuesOfEveryLengthComeBackWhole)
{
    // A row keeps its values' ends in numbers as wide as its longest needs: around each change of width.
    for (std::size_t total : {0u, 1u, 32766u, 32767u, 32768u, 70000u}) {
        const String first(std::string(total / 2, 'a'));
        const String second(std::string(total - total / 2, 'b'));
        const CSVNamedRow row {{"A", first}, {"B", nil}, {"C", second}, {"D", ""}};
        EXPECT_EQ(row.value(0), first) << total;
        EXPECT_EQ(row.value(1), nil) << total;
        EXPECT_EQ(row.value(2), second) << total;
        EXPECT_EQ(row.valueBytes(3), std::optional<std::string_view>("")) << total;
    }
}

TEST_F(CSVParserTest, AnotherDelimiterSeparatesFieldsInsteadOfTheComma)
{
    auto semicolons = parser("Name;Note\n\"a;b\";c,d\n", {"Note"}, nullptr, Character(U'"'), Character(U';'));
    EXPECT_EQ(semicolons->allRows(), (Rows {{"Name", "Note"}, {"a;b", "c,d"}}));
}

TEST_F(CSVParserTest, AFileThatCannotBeOpenedFailsWithTheSystemsError)
{
    auto missing = Foundation::make<CSVParser>(URL::fileURLWithPath((home.path() / "gone.csv").string()), Character(U','),
                                               Character(U'"'), std::vector<String> {}, nullptr);
    try {
        missing->allRows();
        FAIL() << "a missing file was read";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileReadNoSuchFile);
    }
}

TEST_F(CSVParserTest, TheRowReaderReportsProgressThroughTheFile)
{
    auto progress = Foundation::make<Foundation::Progress>(0);
    auto rows = Foundation::make<CSVRowReader>(fileWith("a,b\nc,d\n"), Character(U','), Character(U'"'), progress);
    EXPECT_EQ(progress->totalUnitCount(), 8);
    rows->nextRow();
    EXPECT_EQ(progress->completedUnitCount(), 4);
    rows->nextRow();
    EXPECT_EQ(rows->nextRow(), std::nullopt);
    EXPECT_EQ(progress->completedUnitCount(), 8);
}

TEST(CSVParserErrorTest, BridgesAndDescribesItsCases)
{
    auto missing = CSVParserError::failedToAccessRequiredColumnLabel("Title");
    EXPECT_EQ(missing.domain(), "Basalwork.CSVParserError");
    EXPECT_EQ(missing.code(), 0);
    EXPECT_EQ(missing.description(), "failedToAccessRequiredColumnLabel(\"Title\")");
    EXPECT_EQ(CSVParserError::failedToAccessColumnLabels().code(), 1);
    EXPECT_EQ(CSVParserError::oneOrMoreRowsHaveMoreValuesThanColumnLabels().description(),
              "oneOrMoreRowsHaveMoreValuesThanColumnLabels");
    EXPECT_EQ(CSVParserError::oneOrMoreRowsHaveFewerValuesThanColumnLabels().code(), 3);
}
