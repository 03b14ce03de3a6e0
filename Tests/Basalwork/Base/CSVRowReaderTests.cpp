#include "Tests/Support/Files.hpp"
#include "Tests/Basalwork/Base/ReferenceRecords.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include <gtest/gtest.h>
#include <random>

using namespace Basalwork;
using Foundation::Character;
using Foundation::String;

namespace {

using Rows = std::vector<CSVRow>;

struct Reading {
    Rows rows;
    std::vector<std::int64_t> progressAfterEachRow;
    bool failed = false; // a record that is not UTF-8 stopped it

    friend bool operator==(const Reading&, const Reading&) = default;
    friend void PrintTo(const Reading& reading, std::ostream* out)
    {
        for (std::size_t k = 0; k < reading.rows.size(); ++k) {
            *out << "\n  after " << reading.progressAfterEachRow[k] << ":";
            for (const auto& field : reading.rows[k])
                *out << " [" << (field ? std::string(field->view()) : "nothing") << "]";
        }
        *out << (reading.failed ? "\n  then not UTF-8" : "\n  then the end");
    }
};

bool isNewline(char32_t c)
{
    return (c >= U'\n' && c <= U'\r') || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// The format read character by character, as simply as it can be said: newline records cut as the chunked
// reader cuts them, each decoded whole, then every scalar looked at in turn.
Reading referenceReading(const std::string& contents, char32_t escape, std::size_t chunkSize, char32_t delimiter = U',')
{
    const std::vector<std::string> newlines {"\n", "\v", "\f", "\r", "\r\n", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};
    Reading reading;
    CSVRow row;
    std::optional<std::u32string> field;
    bool closesQuote = false;
    bool escaping = false;
    bool skipsLineFeed = false;
    std::int64_t loaded = 0;
    auto text = [](const std::u32string& scalars) { return String::fromScalars(scalars); };
    auto endField = [&] {
        row.push_back(field ? std::optional(text(*field)) : std::nullopt);
        field.reset();
        closesQuote = escaping = false;
    };
    for (const std::string& record : TestSupport::referenceRecords(contents, newlines, true, chunkSize)) {
        loaded += static_cast<std::int64_t>(record.size());
        auto decoded = String::fromUTF8(record);
        if (!decoded) {
            reading.failed = true;
            return reading;
        }
        std::u32string s = decoded->unicodeScalars();
        std::size_t i = skipsLineFeed && !s.empty() && s[0] == U'\n' ? 1 : 0;
        skipsLineFeed = false;
        for (; i < s.size(); ++i) {
            char32_t c = s[i];
            bool isOpen = field && field->front() == U'"' && !(field->back() == U'"' && closesQuote);
            bool crlf = c == U'\r' && i + 1 < s.size() && s[i + 1] == U'\n';
            if (!isOpen && c == delimiter) {
                endField();
            } else if (!isOpen && isNewline(c)) {
                skipsLineFeed = c == U'\r' && i + 1 == s.size();
                i += crlf;
                endField();
                reading.rows.push_back(std::exchange(row, {}));
                reading.progressAfterEachRow.push_back(loaded);
            } else if (!field) {
                if (c != 0xFEFF)
                    field = std::u32string(1, c);
            } else {
                bool isQuote = c == U'"';
                bool wasEscaping = escaping;
                closesQuote = isQuote && !wasEscaping;
                escaping = c == escape && !wasEscaping;
                if (isQuote && wasEscaping)
                    field->back() = U'"';
                else
                    field->append(crlf ? U"\r\n" : std::u32string(1, c));
                i += crlf;
            }
        }
    }
    if (field || !row.empty()) {
        endField();
        reading.rows.push_back(row);
        reading.progressAfterEachRow.push_back(loaded);
    }
    return reading;
}

class CSVRowReaderTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;

    Reading read(const std::string& contents, char32_t escape, std::int64_t chunkSize,
                 std::size_t blockSize = FileDataReader::defaultBlockSize, char32_t delimiter = U',')
    {
        TestSupport::writeText(home.path() / "items.csv", contents);
        auto progress = Foundation::make<Foundation::Progress>(0);
        auto reader = Foundation::make<CSVRowReader>(Foundation::URL::fileURLWithPath((home.path() / "items.csv").string()),
                                                     Character(delimiter), Character(escape), progress, chunkSize,
                                                     blockSize);
        Reading reading;
        try {
            // Rows alternate between the two ways of reading them; a view's fields are taken one by one.
            for (bool throughView = false;; throughView = !throughView) {
                std::optional<CSVRow> row;
                if (!throughView) {
                    row = reader->nextRow();
                } else if (auto view = reader->nextRowView()) {
                    row.emplace();
                    for (std::size_t index = 0; index < view->size(); ++index) {
                        auto text = (*view)[index];
                        row->push_back(text ? String::fromUTF8(*text).value_or(String("(not UTF-8)")) : std::optional<String>());
                    }
                }
                if (!row)
                    break;
                reading.rows.push_back(*row);
                reading.progressAfterEachRow.push_back(progress->completedUnitCount());
            }
        } catch (const GeneralError&) {
            reading.failed = true;
        }
        return reading;
    }
};

} // namespace

TEST_F(CSVRowReaderTest, ReadsRandomTextAsTheCharacterByCharacterReadingDoesForEveryChunkAndBlockSize)
{
    // Quotes, escapes, every newline, combining marks after structural characters, byte order marks and
    // bytes that are not UTF-8; "," stands for the delimiter. Most rounds take a delimiter and escape of
    // one byte each; others take ones that begin like a newline and go token by token.
    const std::vector<std::string> pieces {"a", "bc", "long ordinary text ", ",", ",", "\"", "\"", "\"\"", "\\", "\n", "\r",
                                           "\r\n", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xCC\x81",
                                           "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x91", "\xEF\xBB\xBF", "\xC2\xA7",
                                           "\xE2\x80\xA2", "\xC3\x28", "\xFF", "\xE2\x80"};
    const std::vector<std::pair<char32_t, std::string>> delimiters {{U',', ","}, {U';', ";"}, {U'\u2022', "\xE2\x80\xA2"}};
    const std::vector<char32_t> escapes {U'"', U'\\', U'\u00A7'};
    std::mt19937 random(20260103);
    for (int round = 0; round < 90; ++round) {
        const auto& [delimiter, delimiterText] = delimiters[round % 5 == 4 ? 2 : round % 2];
        const char32_t escape = escapes[round % 3];
        std::string contents;
        bool broken = round % 5 == 0;
        for (std::size_t i = random() % 40; i > 0; --i) {
            const std::string& piece = pieces[random() % (pieces.size() - (broken ? 0 : 3))];
            contents += piece == "," ? delimiterText : piece;
        }
        const Reading expected = referenceReading(contents, escape, 4096, delimiter);
        for (std::size_t chunkSize = 1; chunkSize <= contents.size() + 1; ++chunkSize) {
            const Reading expectedHere = referenceReading(contents, escape, chunkSize, delimiter);
            // Rows never depend on the chunk size; where the reading stops and its progress may.
            if (!expectedHere.failed) {
                ASSERT_EQ(expectedHere.rows, expected.rows) << "round " << round << ", chunk size " << chunkSize;
            }
            // Every block size, so that every token is cut by the end of what is held somewhere.
            const std::size_t blockSize = round % 2 ? chunkSize : contents.size() + 2 - chunkSize;
            ASSERT_EQ(read(contents, escape, static_cast<std::int64_t>(chunkSize), blockSize, delimiter), expectedHere)
                << "round " << round << ", chunk size " << chunkSize << ", block size " << blockSize << ", text "
                << testing::PrintToString(contents);
        }
    }
}

TEST_F(CSVRowReaderTest, ReadsALargeFileAsTheCharacterByCharacterReadingDoes)
{
    // Fields and rows across the blocks in which the file is read.
    std::mt19937 random(20260104);
    const std::vector<std::string> pieces {"plain", ",", ",\"quoted, with \"\"quotes\"\"\n and lines\",", "\n", "\r\n", "\r",
                                           "e\xCC\x81", ",\xCC\x81", "\"\xCC\x81", "\xE2\x80\xA8", "\xC2\x85"};
    std::string contents;
    while (contents.size() < 700'000)
        contents += pieces[random() % pieces.size()];
    for (std::size_t chunkSize : {1, 4096, 300'000})
        EXPECT_EQ(read(contents, U'"', static_cast<std::int64_t>(chunkSize)), referenceReading(contents, U'"', chunkSize));
    EXPECT_EQ(read(contents, U'"', 4096, 1000), referenceReading(contents, U'"', 4096));
}

TEST_F(CSVRowReaderTest, ReadsTokensSplitByTheBlocksOfTheFileAsTheCharacterByCharacterReadingDoes)
{
    // The file is read 256 KiB at a time: each of these starts a few bytes before a block boundary, so the
    // boundary falls inside it or just around it.
    constexpr std::size_t block = std::size_t(1) << 18;
    const std::vector<std::string> pieces {"a,b\r\nc",           "x,\"q\"\"uote\",y\n",    "\"open\nquoted\",z\r\n",
                                           "\xE2\x82\xAC\xF0\x9F\x94\x91,\xC3\xA9\n", ",\xCC\x81,\"\xCC\x81\",\n",
                                           "v\xE2\x80\xA8w\xC2\x85"};
    std::size_t longest = 0;
    for (const std::string& piece : pieces)
        longest = std::max(longest, piece.size());
    // One file holds every piece, each at its own boundary, the same number of bytes before it.
    const std::string filler = "name,https://site.example/login," + std::string(1000, 'u') + ",pw\n";
    for (std::size_t before = 0; before <= longest; ++before) {
        std::string contents;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            const std::size_t start = (k + 1) * block - std::min(before, pieces[k].size());
            while (contents.size() + filler.size() < start)
                contents += filler;
            contents += std::string(start - contents.size() - 1, 'p') + "\n";
            contents += pieces[k] + "tail,row\n";
        }
        ASSERT_EQ(read(contents, U'"', 4096), referenceReading(contents, U'"', 4096)) << before << " bytes before the boundaries";
    }
}

TEST_F(CSVRowReaderTest, ARecordLongerThanManyBlocksIsReadWhole)
{
    std::string quoted = "\"";
    std::string plain;
    while (quoted.size() < 700'000) {
        quoted += "line, with \"\"quotes\"\" and \xC3\xA9\r\n";
        plain += "word\xE2\x82\xAC";
    }
    quoted += "\"";
    const std::string contents = "a," + quoted + ",b\n" + plain + "\r\nlast";
    std::string unescaped = quoted;
    for (std::size_t at = unescaped.find("\"\""); at != std::string::npos; at = unescaped.find("\"\"", at + 1))
        unescaped.erase(at, 1);
    const Reading reading = read(contents, U'"', 4096);
    ASSERT_FALSE(reading.failed);
    EXPECT_EQ(reading.rows, (Rows {{String("a"), String(unescaped), String("b")}, {String(plain)}, {String("last")}}));
    EXPECT_EQ(reading.progressAfterEachRow.back(), static_cast<std::int64_t>(contents.size()));
}

TEST_F(CSVRowReaderTest, TextThatIsNotUTF8FarAheadStopsTheReadingOnlyAtItsRecord)
{
    // Records are checked a span at a time; a fault deep in the span must not cost the rows before it.
    std::string contents;
    while (contents.size() < 400'000)
        contents += "name,\"quoted, \xC3\xA9\",user,pw\n";
    for (const std::string& fault : {std::string("\xFF"), std::string("\xE2\x82"), std::string("\xED\xA0\x80")}) {
        for (std::size_t at : {std::size_t(70'000), std::size_t(262'143), std::size_t(300'001)}) {
            std::string broken = contents;
            broken.insert(at, fault);
            const Reading expected = referenceReading(broken, U'"', 4096);
            ASSERT_TRUE(expected.failed);
            ASSERT_EQ(read(broken, U'"', 4096), expected) << "fault at " << at;
        }
    }
}

// Files of other apps end their rows at CR, LF and CR LF only; both ways of scanning agree, and a row past
// the bound stops the reading instead of filling the memory.
TEST_F(CSVRowReaderTest, RowsEndOnlyAtCROrLFWhenAskedAndAreBounded)
{
    const std::string others = "a\vb\fc\xC2\x85" "d\xE2\x80\xA8" "e\xE2\x80\xA9" "f";
    const std::string contents = others + ",x\r\n\"q" + others + "\",y\rlast\n";
    for (char32_t delimiter : {U',', U'\u2022'}) {
        std::string text = contents;
        if (delimiter != U',') {
            for (auto at = text.find(','); at != std::string::npos; at = text.find(','))
                text.replace(at, 1, "\xE2\x80\xA2");
        }
        TestSupport::writeText(home.path() / "items.csv", text);
        auto reader = Foundation::make<CSVRowReader>(Foundation::URL::fileURLWithPath((home.path() / "items.csv").string()), Character(delimiter),
                                                     Character(U'"'), Foundation::make<Foundation::Progress>(0));
        reader->setLineEnds(CSVRowReader::LineEnds::crOrLF);
        Rows rows;
        while (auto row = reader->nextRow())
            rows.push_back(*row);
        EXPECT_EQ(rows, (Rows {{String(others), String("x")}, {String("\"q" + others + "\""), String("y")}, {String("last")}}));
    }

    TestSupport::writeText(home.path() / "long.csv", "short\n" + std::string(300'000, 'x') + "\nafter\n");
    auto reader = Foundation::make<CSVRowReader>(Foundation::URL::fileURLWithPath((home.path() / "long.csv").string()), Character(U','),
                                                 Character(U'"'), Foundation::make<Foundation::Progress>(0), 4096, 4096);
    reader->setMaximumRowByteCount(100'000);
    EXPECT_EQ(reader->nextRow(), CSVRow {String("short")});
    try {
        reader->nextRow();
        FAIL() << "a row past the bound must fail";
    } catch (const GeneralError& error) {
        EXPECT_TRUE(error.as<GeneralError::FailedWithMessage>());
    }
}
