#include "Tests/Support/Files.hpp"
#include "Tests/Basalwork/Base/ReferenceRecords.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/FileDataReader.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using Basalwork::FileDataReader;
using Foundation::Data;
using Foundation::URL;
namespace fs = std::filesystem;

namespace {

class FileDataReaderTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;

    URL fileWith(const std::string& contents, const std::string& name = "records")
    {
        TestSupport::writeText(home.path() / name, contents);
        return URL::fileURLWithPath((home.path() / name).string());
    }

    static std::shared_ptr<FileDataReader> reader(const URL& url, std::vector<std::string> delimiters, bool keep,
                                                  std::int64_t chunkSize = 4096,
                                                  std::shared_ptr<Foundation::Progress> progress = nullptr,
                                                  std::size_t blockSize = FileDataReader::defaultBlockSize)
    {
        std::vector<Data> encoded;
        for (const auto& delimiter : delimiters)
            encoded.push_back(Data::fromString(delimiter));
        return Foundation::make<FileDataReader>(url, encoded, keep, chunkSize, std::move(progress), blockSize);
    }

    static std::vector<std::string> records(FileDataReader& reader)
    {
        std::vector<std::string> result;
        for (const Data& record : reader)
            result.emplace_back(record.view());
        return result;
    }
};

using Records = std::vector<std::string>;

} // namespace

TEST_F(FileDataReaderTest, AnEmptyFileHasNoRecordsAndNothingToCount)
{
    auto empty = reader(fileWith(""), {"\n"}, true);
    EXPECT_EQ(empty->nextData(), std::nullopt);
    EXPECT_EQ(empty->nextData(), std::nullopt);
    EXPECT_EQ(empty->progress()->totalUnitCount(), 0);
    EXPECT_EQ(empty->progress()->completedUnitCount(), 0);
}

TEST_F(FileDataReaderTest, RecordsEndAtDelimitersAndTheLastOneAtTheEndOfTheFile)
{
    auto url = fileWith("one\ntwo\nthree");
    auto kept = reader(url, {"\n"}, true);
    EXPECT_EQ(records(*kept), (Records {"one\n", "two\n", "three"}));
    EXPECT_EQ(kept->nextData(), std::nullopt);
    EXPECT_EQ(records(*reader(url, {"\n"}, false)), (Records {"one", "two", "three"}));
}

TEST_F(FileDataReaderTest, TheFirstDelimiterOfTheListWinsWhereverItStands)
{
    EXPECT_EQ(records(*reader(fileWith("a\r\nb"), {"\n", "\r\n"}, false)), (Records {"a\r", "b"}));
    EXPECT_EQ(records(*reader(fileWith("a\nb\rc"), {"\r", "\n"}, false)), (Records {"a\nb", "c"}));
}

TEST_F(FileDataReaderTest, WithoutDelimitersEachCallGivesOneChunk)
{
    EXPECT_EQ(records(*reader(fileWith("abcdefgh"), {}, true, 3)), (Records {"abc", "def", "gh"}));
}

TEST_F(FileDataReaderTest, RecordsAndDelimitersMaySpanChunks)
{
    auto url = fileWith("a long record\r\nnext\r\n");
    EXPECT_EQ(records(*reader(url, {"\r\n"}, false, 1)), (Records {"a long record", "next"}));
    EXPECT_EQ(records(*reader(url, {"\r\n"}, true, 3)), (Records {"a long record\r\n", "next\r\n"}));
}

TEST_F(FileDataReaderTest, AgreesWithTheDocumentedCuttingOnRandomInput)
{
    std::mt19937 random(20260101);
    const Records pool {"\n", "\r", "\r\n", "ab", "aba", "\n\n", ""};
    for (int round = 0; round < 400; ++round) {
        std::string contents;
        std::size_t length = random() % 60;
        for (std::size_t i = 0; i < length; ++i)
            contents += "ab\r\n"[random() % 4];
        Records delimiters;
        for (std::size_t i = random() % 4; i > 0; --i)
            delimiters.push_back(pool[random() % pool.size()]);
        bool keep = random() % 2;
        std::size_t chunkSize = 1 + random() % 9;
        // Blocks as small as a byte, shorter than the delimiters, hold no more than the record and one block.
        std::size_t blockSize = round % 2 ? FileDataReader::defaultBlockSize : 1 + random() % 5;

        auto read = records(*reader(fileWith(contents), delimiters, keep, static_cast<std::int64_t>(chunkSize), nullptr,
                                    blockSize));
        ASSERT_EQ(read, TestSupport::referenceRecords(contents, delimiters, keep, chunkSize))
            << "round " << round << ", chunk size " << chunkSize << ", block size " << blockSize << ", "
            << delimiters.size() << " delimiters";
    }
}

TEST_F(FileDataReaderTest, LargeFilesAreCutAsTheDocumentedReadingCutsThem)
{
    // Long stretches without the first delimiter, and delimiters of two bytes, across the blocks in
    // which the reader reads the file.
    std::mt19937 random(20260102);
    std::string contents;
    auto append = [&](std::string_view alphabet, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            contents += alphabet[random() % (random() % 8 == 0 ? alphabet.size() : 2)];
    };
    append("xab\n\r", 400'000);
    append("xyab\r\v", 700'000); // no LF for more than two blocks
    append("xab\n", 400'000);
    auto url = fileWith(contents);
    const Records delimiters {"\n", "\v", "ab", "\r"};
    for (std::size_t chunkSize : {1, 4096, 100'000}) {
        auto read = records(*reader(url, delimiters, chunkSize % 2 == 0, static_cast<std::int64_t>(chunkSize)));
        ASSERT_EQ(read, TestSupport::referenceRecords(contents, delimiters, chunkSize % 2 == 0, chunkSize))
            << "chunk size " << chunkSize;
    }
}

TEST_F(FileDataReaderTest, ManyShortRecordsReadInLinearTime)
{
    // Lone CRs make every listed delimiter before CR miss: a reader that searched the whole buffer, or
    // shifted it, on every record would take minutes here.
    std::string contents;
    for (int i = 0; i < 200000; ++i)
        contents += "line\r";
    auto lines = reader(fileWith(contents), {"\n", "\v", "\f", "\r"}, false, 4096);
    std::size_t count = 0;
    while (auto record = lines->nextData()) {
        ASSERT_EQ(record->view(), "line");
        ++count;
    }
    EXPECT_EQ(count, 200000u);
}

TEST_F(FileDataReaderTest, ProgressCountsTheBytesHandedOutAgainstTheFileSize)
{
    auto url = fileWith("ab\ncd\nef");
    auto progress = Foundation::make<Foundation::Progress>(1000);
    progress->setCompletedUnitCount(7);
    auto kept = reader(url, {"\n"}, true, 4096, progress);
    EXPECT_EQ(kept->progress(), progress);
    EXPECT_EQ(progress->totalUnitCount(), 8);
    kept->nextData();
    EXPECT_EQ(progress->completedUnitCount(), 3);
    records(*kept);
    EXPECT_EQ(progress->completedUnitCount(), 8);

    // Left-out delimiters are not counted.
    auto dropped = reader(url, {"\n"}, false);
    records(*dropped);
    EXPECT_EQ(dropped->progress()->completedUnitCount(), 6);
}

TEST_F(FileDataReaderTest, AnIteratorKeepsItsReader)
{
    auto iterator = reader(fileWith("x\ny"), {"\n"}, false)->makeIterator();
    EXPECT_EQ(iterator.next(), Data::fromString("x"));
    EXPECT_EQ(iterator.next(), Data::fromString("y"));
    EXPECT_EQ(iterator.next(), std::nullopt);
}

TEST_F(FileDataReaderTest, FilesThatCannotBeReadFailConstruction)
{
    try {
        reader(URL::fileURLWithPath((home.path() / "missing").string()), {"\n"}, true);
        FAIL() << "a missing file was opened";
    } catch (const Foundation::NSError& error) {
        EXPECT_EQ(error.code(), Foundation::CocoaError::fileReadNoSuchFile);
    }
    fs::create_directory(home.path() / "folder");
    EXPECT_THROW(reader(URL::fileURLWithPath((home.path() / "folder").string()), {"\n"}, true), Foundation::NSError);
}

TEST_F(FileDataReaderTest, AChunkSizeBelowOneIsAProgrammingError)
{
    auto url = fileWith("x");
    EXPECT_DEATH(reader(url, {"\n"}, true, 0), "positive chunk size");
}
