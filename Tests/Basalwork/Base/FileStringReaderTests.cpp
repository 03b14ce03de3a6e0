#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Basalwork/Base/FileStringReader.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include <gtest/gtest.h>

using Basalwork::FileStringReader;
using Basalwork::GeneralError;
using Foundation::String;
using Foundation::URL;

namespace {

class FileStringReaderTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;

    URL fileWith(const std::string& contents)
    {
        TestSupport::writeText(home.path() / "text", contents);
        return URL::fileURLWithPath((home.path() / "text").string());
    }

    static std::shared_ptr<FileStringReader> reader(const URL& url, std::vector<String> delimiters, bool keep,
                                                    String::Encoding encoding = String::Encoding::utf8())
    {
        return Foundation::make<FileStringReader>(url, delimiters, keep, encoding, 4, nullptr);
    }
};

} // namespace

TEST_F(FileStringReaderTest, RecordsComeOutAsTextCutAtEncodedDelimiters)
{
    auto lines = reader(fileWith("caf\u00E9\u2028na\u00EFve\u2028"), {"\n", "\u2028"}, false);
    std::vector<String> read;
    for (const String& line : *lines)
        read.push_back(line);
    EXPECT_EQ(read, (std::vector<String> {"caf\u00E9", "na\u00EFve"}));
    EXPECT_EQ(lines->progress()->totalUnitCount(), 17);
    EXPECT_EQ(lines->progress()->completedUnitCount(), 11);

    auto latin1 = reader(fileWith("a\xE9;b"), {";"}, true, String::Encoding::isoLatin1());
    EXPECT_EQ(latin1->nextString(), String("a\u00E9;"));
    EXPECT_EQ(latin1->nextString(), String("b"));
}

TEST_F(FileStringReaderTest, ARecordThatDoesNotDecodeIsReportedNotTakenForTheEnd)
{
    auto lines = reader(fileWith("good\nbad \xFF\xFE\nafter\n"), {"\n"}, false);
    EXPECT_EQ(lines->nextString(), String("good"));
    try {
        lines->nextString();
        FAIL() << "invalid UTF-8 decoded";
    } catch (const GeneralError& error) {
        auto failure = error.as<GeneralError::FailedToDecodeUTF8StringFromData>();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->data, Foundation::Data::fromString("bad \xFF\xFE"));
    }
    EXPECT_EQ(lines->nextString(), String("after"));

    auto ascii = reader(fileWith("caf\xC3\xA9"), {";"}, false, String::Encoding::ascii());
    EXPECT_THROW(ascii->nextString(), GeneralError);
}

TEST_F(FileStringReaderTest, ADelimiterWithoutAFormInTheEncodingFailsConstruction)
{
    try {
        reader(fileWith("x"), {"\n", "\u00E9"}, false, String::Encoding::ascii());
        FAIL() << "a reader was made";
    } catch (const GeneralError& error) {
        auto failure = error.as<GeneralError::FailedWithMessage>();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->message, String("Failed to encode string: \u00E9 using encoding: Western (ASCII)"));
    }
}
