#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

using namespace Foundation;

namespace {

struct Note {
    String title;
    std::vector<std::int64_t> tags;
    void encode(Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(title, "title");
        container.encode(tags, "tags");
    }
};

std::string encoded(const auto& value, JSONEncoder::OutputFormatting formatting = {}, JSONDateStrategy strategy = {})
{
    auto encoder = make<JSONEncoder>();
    encoder->setOutputFormatting(formatting);
    encoder->setDateEncodingStrategy(std::move(strategy));
    return std::string(encoder->encode(value).view());
}

Date decodedDate(std::string_view json, JSONDateStrategy strategy)
{
    auto decoder = make<JSONDecoder>();
    decoder->setDateDecodingStrategy(std::move(strategy));
    return decoder->decode<Date>(Data::fromString(json));
}

} // namespace

TEST(JSONEncoder, DefaultsToCompactOutputWithEscapedSlashes)
{
    EXPECT_EQ(encoded(String("a/b \"q\" \\ \n\t\x01 é")), R"("a\/b \"q\" \\ \n\t\u0001 é")");
    EXPECT_EQ(encoded(String("a/b"), JSONEncoder::OutputFormatting::withoutEscapingSlashes), R"("a/b")");
    EXPECT_EQ(encoded(Note {"t", {1, 2}}), R"({"title":"t","tags":[1,2]})");
}

TEST(JSONEncoder, TopLevelFragmentsAreWrittenBare)
{
    EXPECT_EQ(encoded(true), "true");
    EXPECT_EQ(encoded(std::int64_t {-3}), "-3");
    EXPECT_EQ(encoded(std::optional<bool>()), "null");
    EXPECT_EQ(encoded(Data::fromString("abcd")), R"("YWJjZA==")");
}

TEST(JSONEncoder, PrettyPrintsWithTwoSpacesAndSpacedColons)
{
    EXPECT_EQ(encoded(Note {"t", {1, 2}}, JSONEncoder::OutputFormatting::prettyPrinted),
              "{\n  \"title\" : \"t\",\n  \"tags\" : [\n    1,\n    2\n  ]\n}");
    EXPECT_EQ(encoded(std::vector<int> {}, JSONEncoder::OutputFormatting::prettyPrinted), "[\n\n]");
}

TEST(JSONEncoder, SortsKeysWhenAsked)
{
    std::map<std::string, std::map<std::string, int>> nested {{"b", {{"y", 1}, {"x", 2}}}, {"a", {}}};
    struct Unsorted {
        void encode(Encoder& encoder) const
        {
            auto container = encoder.container();
            container.encode(1, "zeta");
            container.encode(2, "Alpha");
            container.encode(3, "alpha");
        }
    };
    EXPECT_EQ(encoded(Unsorted {}), R"({"zeta":1,"Alpha":2,"alpha":3})");
    EXPECT_EQ(encoded(Unsorted {}, JSONEncoder::OutputFormatting::sortedKeys), R"({"Alpha":2,"alpha":3,"zeta":1})");
    EXPECT_EQ(encoded(nested, JSONEncoder::OutputFormatting::sortedKeys | JSONEncoder::OutputFormatting::prettyPrinted),
              "{\n  \"a\" : {\n\n  },\n  \"b\" : {\n    \"x\" : 2,\n    \"y\" : 1\n  }\n}");
}

TEST(JSONDateStrategies, NumbersCountFromTheirEpochs)
{
    Date date(1.5);
    EXPECT_EQ(encoded(date), "1.5");
    EXPECT_EQ(encoded(date, {}, JSONDateStrategy::secondsSince1970()), "978307201.5");
    EXPECT_EQ(encoded(date, {}, JSONDateStrategy::millisecondsSince1970()), "978307201500");
    EXPECT_EQ(decodedDate("1.5", JSONDateStrategy::deferredToDate()), date);
    EXPECT_EQ(decodedDate("978307201.5", JSONDateStrategy::secondsSince1970()), date);
    EXPECT_EQ(decodedDate("978307201500", JSONDateStrategy::millisecondsSince1970()), date);
}

TEST(JSONDateStrategies, TextStrategiesWriteAndReadThroughTheirFormatter)
{
    EXPECT_EQ(encoded(Date(60), {}, JSONDateStrategy::iso8601()), R"("2001-01-01T00:01:00Z")");
    EXPECT_EQ(decodedDate(R"("2001-01-01T00:01:00Z")", JSONDateStrategy::iso8601()), Date(60));

    auto formatter = make<DateFormatter>();
    formatter->setDateFormat("dd.MM.yyyy");
    formatter->setTimeZone(TimeZone::gmt());
    auto strategy = JSONDateStrategy::formatted(formatter);
    EXPECT_EQ(strategy.formatter(), formatter);
    EXPECT_EQ(encoded(Date(86400), {}, strategy), R"("02.01.2001")");
    EXPECT_EQ(decodedDate(R"("02.01.2001")", strategy), Date(86400));
    // The strategy shares the formatter: a later change applies.
    formatter->setDateFormat("yyyy");
    EXPECT_EQ(encoded(Date(86400), {}, strategy), R"("2001")");
}

TEST(JSONDateStrategies, TextThatIsNoDateIsDataCorrupted)
{
    auto formatter = make<DateFormatter>();
    formatter->setDateFormat("yyyy");
    for (const auto& strategy : {JSONDateStrategy::iso8601(), JSONDateStrategy::formatted(formatter)}) {
        try {
            decodedDate(R"("yesterday")", strategy);
            FAIL() << "decoded a date";
        } catch (const DecodingError& error) {
            EXPECT_NE(error.as<DecodingError::DataCorrupted>(), nullptr);
        }
    }
    EXPECT_THROW(decodedDate("12", JSONDateStrategy::iso8601()), DecodingError);
}

TEST(JSONDecoder, TextThatIsNoJSONIsDataCorrupted)
{
    for (const char* bad : {"", "{", "{\"a\":}", "[1,]", "nul", "\"\xff\""}) {
        try {
            make<JSONDecoder>()->decode<std::vector<int>>(Data::fromString(bad));
            FAIL() << "decoded " << bad;
        } catch (const DecodingError& error) {
            ASSERT_NE(error.as<DecodingError::DataCorrupted>(), nullptr) << bad;
            EXPECT_EQ(error.context().debugDescription, "The given data was not valid JSON.");
            ASSERT_NE(error.context().underlyingError, nullptr);
            EXPECT_EQ(error.context().underlyingError->code(), 3840);
            EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
            EXPECT_EQ(error.code(), 4864);
        }
    }
}

// A value of a document parsed already decodes as if it stood alone: its errors name paths from it.
TEST(JSONDecoder, DecodesAValueOfAParsedDocumentAsIfItStoodAlone)
{
    const JSONDocument document(R"({"outer": {"list": [1, "two"], "good": [3, 4]}})");
    const auto outer = *JSONView(document).find("outer");
    auto decoder = make<JSONDecoder>();
    EXPECT_EQ(decoder->decode<std::vector<std::int64_t>>(document, outer.find("good")->index()), (std::vector<std::int64_t> {3, 4}));
    try {
        decoder->decode<std::vector<std::int64_t>>(document, outer.find("list")->index());
        FAIL() << "decoded a text as a number";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.context().codingPath, (CodingPath {CodingKey::index(1)}));
    }
}

TEST(JSONDecoder, ANulByteIsNoEndOfTheText)
{
    for (const auto& bad : {std::string("[1]\0[2]", 7), std::string("[1]\0", 4), std::string("[1\0]", 4),
                            std::string("\"a\0b\"", 5), std::string("\0", 1)}) {
        try {
            make<JSONDecoder>()->decode<std::vector<std::int64_t>>(Data::fromString(bad));
            FAIL() << "decoded " << bad.size() << " bytes";
        } catch (const DecodingError& error) {
            EXPECT_NE(error.as<DecodingError::DataCorrupted>(), nullptr);
        }
    }
}

TEST(JSONDecoder, ReadsFragmentsAndUnicode)
{
    auto decoder = make<JSONDecoder>();
    EXPECT_EQ(decoder->decode<String>(Data::fromString(R"("\u00e9\/\ud83d\ude00")")), String("é/😀"));
    EXPECT_EQ(decoder->decode<double>(Data::fromString(" 2.5 ")), 2.5);
    EXPECT_EQ(decoder->decode<std::optional<String>>(Data::fromString("null")), std::nullopt);
}

TEST(JSONDecoder, RefusesWhatJSONDoesNotAllow)
{
    for (const char* bad : {"[01]", "[1.]", "[.5]", "[1e]", "[+1]", "[-]", "[1e400]", "[\"\\x\"]", "[\"\t\"]", "[\"\\ud800\"]",
                            "[\"\\udc00\"]", "[\"\\ud800\\u0041\"]", "[\"\xc0\xaf\"]", "[\"\xed\xa0\x80\"]", "[\"\xf4\x90\x80\x80\"]",
                            "[\"\xe2\x82\"]", "[true false]", "{\"a\" 1}", "{1:2}", "[1] 2", "tru"}) {
        EXPECT_THROW(make<JSONDecoder>()->decode<std::vector<String>>(Data::fromString(bad)), DecodingError) << bad;
    }
    // Nesting deeper than any coded value gets an error, not a stack overflow.
    EXPECT_THROW(make<JSONDecoder>()->decode<std::vector<String>>(Data::fromString(std::string(100000, '['))), DecodingError);
}

TEST(JSONDecoder, ReadsNumbersAsTheirTextSays)
{
    auto decoder = make<JSONDecoder>();
    auto read = [&](const char* text) { return decoder->decode<std::vector<double>>(Data::fromString(text)); };
    EXPECT_EQ(read("[-0, 0.5, 1E2, 2.5e-1, 1e-400, 18446744073709551616]"), (std::vector<double> {0, 0.5, 100, 0.25, 0, 18446744073709551616.0}));
    EXPECT_TRUE(std::signbit(read("[-0.0e1, -1e-400]")[1]));
    EXPECT_EQ(decoder->decode<std::vector<std::int64_t>>(Data::fromString("[-0, 1.0, 1E2, -250e-1]")),
              (std::vector<std::int64_t> {0, 1, 100, -25}));
}

TEST(JSONDecoder, KeepsAKeyGivenTwiceInItsFirstPlaceWithItsLastValue)
{
    auto decoder = make<JSONDecoder>();
    auto keys = [](const std::map<std::string, int>& values) { return values.size(); };
    for (int members : {3, 20, 40}) {
        std::string text = "{";
        for (int i = 0; i < members; ++i)
            text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
        text += "\"k1\":99}";
        auto values = decoder->decode<std::map<std::string, int>>(Data::fromString(text));
        EXPECT_EQ(keys(values), static_cast<std::size_t>(members));
        EXPECT_EQ(values.at("k1"), 99);
    }
    // Order shows when the object is written again unsorted.
    struct Keys {
        std::vector<std::string> names;
        static Keys decode(Decoder& decoder) { return {decoder.container().allKeys()}; }
    };
    EXPECT_EQ(decoder->decode<Keys>(Data::fromString(R"({"b":1,"a":2,"b":3})")).names, (std::vector<std::string> {"b", "a"}));
}

namespace {

// Reads an object's members "k0", "k1", ... backwards, two of them again, and a key that is not there.
int membersToRead = 0;
struct ReadBackwards {
    std::vector<int> values;
    bool hasMissing = true;
    static ReadBackwards decode(Decoder& decoder)
    {
        auto container = decoder.container();
        ReadBackwards read;
        for (int i = membersToRead - 1; i >= 0; --i)
            read.values.push_back(container.decode<int>("k" + std::to_string(i)));
        read.values.push_back(container.decode<int>("k0"));
        read.values.push_back(container.decode<int>("k" + std::to_string(membersToRead / 2)));
        read.hasMissing = container.decodeIfPresent<int>("nonesuch").has_value();
        return read;
    }
};

} // namespace

TEST(JSONDecoder, FindsMembersInWhateverOrderTheyAreRead)
{
    auto decoder = make<JSONDecoder>();
    for (int members : {1, 5, 20, 63, 100}) {
        membersToRead = members;
        std::string text = "{";
        std::vector<int> expected;
        for (int i = 0; i < members; ++i) {
            text += std::string(i ? "," : "") + "\"k" + std::to_string(i) + "\":" + std::to_string(i * 7);
            expected.insert(expected.begin(), i * 7);
        }
        expected.push_back(0);
        expected.push_back(members / 2 * 7);
        auto read = decoder->decode<ReadBackwards>(Data::fromString(text + "}"));
        EXPECT_EQ(read.values, expected) << members;
        EXPECT_FALSE(read.hasMissing) << members;
    }
}

TEST(JSONDecoder, SkipsAByteOrderMarkAndUnescapesIntoText)
{
    auto decoder = make<JSONDecoder>();
    EXPECT_EQ(decoder->decode<std::vector<String>>(Data::fromString("\xEF\xBB\xBF [\"a\\\"b\\\\c\\u0000d\", \"caf\xc3\xa9\\n\"]")),
              (std::vector<String> {String(std::string_view("a\"b\\c\0d", 7)), String("café\n")}));
    // Many escaped texts in one document each keep their own bytes.
    std::string text = "[";
    for (int i = 0; i < 200; ++i)
        text += std::string(i ? "," : "") + "\"\\u00e9" + std::to_string(i) + "\"";
    auto values = decoder->decode<std::vector<String>>(Data::fromString(text + "]"));
    ASSERT_EQ(values.size(), 200u);
    EXPECT_EQ(values[0], String("é0"));
    EXPECT_EQ(values[199], String("é199"));
}
