#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/JSONDecoder.hpp"
#include "Basalwork/Base/JSONEncoder.hpp"
#include "Basalwork/Base/NSCodingCodable.hpp"

#include "Platform/Foundation/DateFormatter.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

using namespace Basalwork;
using Foundation::Data;
using Foundation::Date;
using Foundation::String;

namespace {

struct Point {
    std::int64_t x = 0;
    std::int64_t y = 0;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(x, "x");
        container.encode(y, "y");
    }
    static Point decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<std::int64_t>("x"), container.decode<std::int64_t>("y")};
    }
    friend bool operator==(const Point&, const Point&) = default;
};

class Badge : public Foundation::NSObject, public Foundation::NSCoding {
public:
    String title;
    void encode(Foundation::NSCoder& coder) const override { coder.encodeString(title, "title"); }
    static std::shared_ptr<Badge> withCoder(Foundation::NSCoder& coder)
    {
        auto badge = Foundation::make<Badge>();
        badge->title = coder.decodeString("title").value_or("");
        return badge;
    }

protected:
    friend Foundation::Construct;
    Badge() = default;
};

class Ribbon : public Foundation::NSObject, public Foundation::NSCoding {
public:
    void encode(Foundation::NSCoder&) const override { }
    static std::shared_ptr<Ribbon> withCoder(Foundation::NSCoder&) { return Foundation::make<Ribbon>(); }

protected:
    friend Foundation::Construct;
    Ribbon() = default;
};

std::string text(const Data& data)
{
    return std::string(data.view());
}

template <class T>
void expectRoundTrip(const T& value)
{
    auto& coder = *JSONCoder::shared();
    Data data = coder.encode(value);
    EXPECT_EQ(text(data).rfind(R"({"value":)", 0), 0u) << text(data);
    EXPECT_EQ(coder.decode<T>(data), value) << text(data);
}

class JSONCoderTest : public testing::Test {
protected:
    void SetUp() override
    {
        Foundation::registerCodingClass<Badge>("Badge");
        Foundation::registerCodingClass<Ribbon>("Ribbon");
    }
};

} // namespace

static_assert(TopLevelFragmentEncodable<std::optional<std::uint16_t>> && TopLevelFragmentEncodable<NSCodingCodable<Badge>>);
static_assert(!TopLevelFragmentEncodable<Point> && !TopLevelFragmentEncodable<std::vector<String>>);

TEST_F(JSONCoderTest, SharedCoderWrapsEveryFragmentTypeAndReadsItBack)
{
    expectRoundTrip(true);
    expectRoundTrip(std::int8_t {-128});
    expectRoundTrip(std::int16_t {-300});
    expectRoundTrip(std::int32_t {1 << 30});
    expectRoundTrip(std::numeric_limits<std::int64_t>::min());
    expectRoundTrip(std::uint8_t {255});
    expectRoundTrip(std::uint16_t {65535});
    expectRoundTrip(std::uint32_t {4000000000u});
    expectRoundTrip(std::numeric_limits<std::uint64_t>::max());
    expectRoundTrip(0.1f);
    expectRoundTrip(-2.5e-300);
    expectRoundTrip(String("abc"));
    expectRoundTrip(std::string("def"));
    expectRoundTrip(Data::fromString("\x01\x02 bytes"));
    expectRoundTrip(Date(123.456));
    expectRoundTrip(std::optional<String>("present"));
    expectRoundTrip(std::optional<std::int64_t>());
}

TEST_F(JSONCoderTest, WireFormOfWrappedFragments)
{
    auto& coder = *JSONCoder::shared();
    EXPECT_EQ(text(coder.encode("abc")), R"({"value":"abc"})");
    EXPECT_EQ(coder.decode<String>(Data::fromString(R"({"value":"abc"})")), "abc");
    EXPECT_EQ(text(coder.encode(std::optional<std::int64_t>())), R"({"value":null})");
    EXPECT_EQ(coder.decode<std::optional<std::int64_t>>(Data::fromString(R"({"value":null})")), std::nullopt);
    EXPECT_EQ(text(coder.encode(Data::fromString("abc"))), R"({"value":"YWJj"})");
    EXPECT_EQ(text(coder.encode(Date(0))), R"({"value":0})");
}

TEST_F(JSONCoderTest, BareFragmentsDoNotDecodeWithTheWrapperOn)
{
    auto& coder = *JSONCoder::shared();
    EXPECT_THROW(coder.decode<String>(Data::fromString(R"("abc")")), Foundation::DecodingError);
    EXPECT_THROW(coder.decode<String>(Data::fromString(R"({"other":"abc"})")), Foundation::DecodingError);
    // A nil stored this way is still no String.
    EXPECT_THROW(coder.decode<String>(Data::fromString(R"({"value":null})")), Foundation::DecodingError);
}

TEST_F(JSONCoderTest, StructuresAndArraysAreNeverWrapped)
{
    auto& coder = *JSONCoder::shared();
    EXPECT_EQ(text(coder.encode(Point {1, 2})), R"({"x":1,"y":2})");
    EXPECT_EQ(coder.decode<Point>(coder.encode(Point {1, 2})), (Point {1, 2}));
    EXPECT_EQ(text(coder.encode(std::vector<String> {"a/b"})), R"(["a\/b"])");
}

TEST_F(JSONCoderTest, WithFragmentsOffValuesAreWrittenBare)
{
    auto coder = Foundation::make<JSONCoder>(false, JSONCoder::DateCodingStrategy::deferredToDate(), std::nullopt);
    EXPECT_FALSE(coder->allowsCodingOfTopLevelFragements());
    EXPECT_EQ(text(coder->encode("abc")), R"("abc")");
    EXPECT_EQ(coder->decode<String>(Data::fromString(R"("abc")")), "abc");
    EXPECT_EQ(text(coder->encode(Point {3, 4})), R"({"x":3,"y":4})");
    // The two settings cannot read each other's fragments.
    EXPECT_THROW(coder->decode<String>(JSONCoder::shared()->encode("abc")), Foundation::DecodingError);
}

TEST_F(JSONCoderTest, OutputFormattingReachesTheEncoderOnly)
{
    auto pretty = Foundation::make<JSONCoder>(true, JSONCoder::DateCodingStrategy::deferredToDate(),
                                              Foundation::JSONEncoder::OutputFormatting::prettyPrinted);
    EXPECT_EQ(text(pretty->encode(std::int64_t {1})), "{\n  \"value\" : 1\n}");
    EXPECT_EQ(pretty->decode<std::int64_t>(Data::fromString(R"({"value":1})")), 1);
}

TEST_F(JSONCoderTest, DateStrategiesMapToTheirPlatformCases)
{
    using Strategy = JSONCoder::DateCodingStrategy;
    using Kind = Foundation::JSONDateStrategy::Kind;
    EXPECT_EQ(Strategy::deferredToDate().encoding().kind(), Kind::deferredToDate);
    EXPECT_EQ(Strategy::iso8601().decoding().kind(), Kind::iso8601);
    EXPECT_EQ(Strategy::millisecondsSince1970().encoding().kind(), Kind::millisecondsSince1970);
    EXPECT_EQ(Strategy::secondsSince1970().decoding().kind(), Kind::secondsSince1970);
    EXPECT_EQ(Strategy::formatted(Foundation::make<Foundation::DateFormatter>()).value().index(), 0u);

    auto coder = Foundation::make<JSONCoder>(true, Strategy::secondsSince1970(), std::nullopt);
    EXPECT_EQ(text(coder->encode(Date(0))), R"({"value":978307200})");
}

TEST_F(JSONCoderTest, FormattedStrategySharesOneFormatterBothWays)
{
    auto formatter = Foundation::make<Foundation::DateFormatter>();
    formatter->setDateFormat("yyyy-MM-dd HH:mm");
    formatter->setTimeZone(Foundation::TimeZone::gmt());
    auto strategy = JSONCoder::DateCodingStrategy::formatted(formatter);
    EXPECT_EQ(strategy.encoding().formatter(), formatter);
    EXPECT_EQ(strategy.decoding().formatter(), formatter);

    auto coder = Foundation::make<JSONCoder>(true, strategy, std::nullopt);
    Date date(3600 * 30);
    Data data = coder->encode(date);
    EXPECT_EQ(text(data), R"({"value":"2001-01-02 06:00"})");
    EXPECT_EQ(coder->decode<Date>(data), date);
    EXPECT_THROW(coder->decode<Date>(Data::fromString(R"({"value":"06:00"})")), Foundation::DecodingError);
}

TEST_F(JSONCoderTest, ExtraInitialisersSetOnlyTheDateStrategy)
{
    auto encoder = makeJSONEncoder(Foundation::JSONDateStrategy::iso8601());
    EXPECT_EQ(encoder->dateEncodingStrategy(), Foundation::JSONDateStrategy::iso8601());
    EXPECT_EQ(encoder->outputFormatting(), Foundation::JSONEncoder::OutputFormatting {});
    auto decoder = makeJSONDecoder(Foundation::JSONDateStrategy::millisecondsSince1970());
    EXPECT_EQ(decoder->decode<Date>(Data::fromString("978307200000")), Date(0));
}

TEST_F(JSONCoderTest, ArchivableObjectsRideAsWrappedBase64Archives)
{
    auto badge = Foundation::make<Badge>();
    badge->title = "Gold";
    auto& coder = *JSONCoder::shared();
    Data data = coder.encode(NSCodingCodable<Badge> {badge});
    auto json = Foundation::make<Foundation::JSONDecoder>()->decode<std::map<String, Data>>(data);
    ASSERT_EQ(json.count("value"), 1u);
    EXPECT_EQ(json["value"], Foundation::NSKeyedArchiver::archivedData(badge, false));

    auto copy = coder.decode<NSCodingCodable<Badge>>(data);
    ASSERT_NE(copy.value, nullptr);
    EXPECT_EQ(copy.value->title, "Gold");
}

TEST_F(JSONCoderTest, AnArchiveOfAnotherClassFailsNamingTheExpectedType)
{
    auto& coder = *JSONCoder::shared();
    Data data = coder.encode(NSCodingCodable<Ribbon> {Foundation::make<Ribbon>()});
    try {
        coder.decode<NSCodingCodable<Badge>>(data);
        FAIL() << "decoded a Ribbon as a Badge";
    } catch (const GeneralError& error) {
        const auto* failure = error.as<GeneralError::FailedToUnarchive>();
        ASSERT_NE(failure, nullptr);
        EXPECT_EQ(failure->type, "Badge");
        EXPECT_EQ(failure->fromData, Foundation::NSKeyedArchiver::archivedData(Foundation::make<Ribbon>(), false));
    }
}

TEST_F(JSONCoderTest, SharedIsOneInstanceForEveryThread)
{
    std::vector<const JSONCoder*> seen(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&, i] { seen[i] = JSONCoder::shared().get(); });
    for (auto& thread : threads)
        thread.join();
    for (const auto* coder : seen)
        EXPECT_EQ(coder, JSONCoder::shared().get());
    EXPECT_TRUE(JSONCoder::shared()->allowsCodingOfTopLevelFragements());
    EXPECT_EQ(JSONCoder::shared()->encoder()->dateEncodingStrategy(), Foundation::JSONDateStrategy::deferredToDate());
}
