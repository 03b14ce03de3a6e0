#include "Platform/Foundation/DateFormatter.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>

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
