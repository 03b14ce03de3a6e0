#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <vector>

using namespace Foundation;

namespace {

enum class Kind { login, card, note };
enum class Level { low = 1, high = 2 };

} // namespace

template <>
struct Foundation::RawRepresentation<Kind> {
    using RawValue = String;
    static constexpr std::pair<Kind, const char*> cases[] = {{Kind::login, "login"}, {Kind::card, "card"}, {Kind::note, "note"}};
};

template <>
struct Foundation::RawRepresentation<Level> {
    using RawValue = std::int64_t;
    static RawValue rawValue(Level level) { return static_cast<RawValue>(level); }
    static std::optional<Level> make(RawValue raw)
    {
        if (raw == 1 || raw == 2)
            return static_cast<Level>(raw);
        return std::nullopt;
    }
};

namespace {

struct Address {
    String street;
    std::optional<String> city;

    void encode(Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(street, "street");
        container.encodeIfPresent(city, "city");
    }
    static Address decode(Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<String>("street"), container.decodeIfPresent<String>("city")};
    }
    friend bool operator==(const Address&, const Address&) = default;
};

struct Person {
    String name;
    std::int64_t age = 0;
    std::optional<String> nickname;
    std::vector<Address> addresses;
    std::map<String, double> scores;
    Kind kind = Kind::login;
    Level level = Level::low;
    Date born;
    Data avatar;

    void encode(Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(name, "name");
        container.encode(age, "age");
        container.encode(nickname, "nickname");
        container.encode(addresses, "addresses");
        container.encode(scores, "scores");
        container.encode(kind, "kind");
        container.encode(level, "level");
        container.encode(born, "born");
        container.encode(avatar, "avatar");
    }
    explicit Person(Decoder& decoder)
    {
        auto container = decoder.container();
        name = container.decode<String>("name");
        age = container.decode<std::int64_t>("age");
        nickname = container.decode<std::optional<String>>("nickname");
        addresses = container.decode<std::vector<Address>>("addresses");
        scores = container.decode<std::map<String, double>>("scores");
        kind = container.decode<Kind>("kind");
        level = container.decode<Level>("level");
        born = container.decode<Date>("born");
        avatar = container.decode<Data>("avatar");
    }
    Person() = default;
    friend bool operator==(const Person&, const Person&) = default;
};

// Coded as one value: the platform's single-value container.
struct Celsius {
    double degrees = 0;
    void encode(Encoder& encoder) const { encoder.singleValueContainer().encode(degrees); }
    static Celsius decode(Decoder& decoder) { return {decoder.singleValueContainer().decode<double>()}; }
};

// Coded as a bare array of mixed elements.
struct Pair {
    String first;
    std::int32_t second = 0;
    void encode(Encoder& encoder) const
    {
        auto container = encoder.unkeyedContainer();
        container.encode(first);
        container.encode(second);
    }
    static Pair decode(Decoder& decoder)
    {
        auto container = decoder.unkeyedContainer();
        auto first = container.decode<String>();
        return {first, container.decode<std::int32_t>()};
    }
};

struct NothingWritten {
    void encode(Encoder&) const { }
};

std::string encoded(const auto& value)
{
    return std::string(make<JSONEncoder>()->encode(value).view());
}

template <class T>
T decoded(std::string_view json)
{
    return make<JSONDecoder>()->decode<T>(Data::fromString(json));
}

template <class T>
DecodingError decodingError(std::string_view json)
{
    try {
        decoded<T>(json);
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "decoding " << json << " did not fail";
    return DecodingError::dataCorrupted({});
}

std::vector<std::string> pathOf(const DecodingError& error)
{
    std::vector<std::string> keys;
    for (const auto& key : error.context().codingPath)
        keys.push_back(key.stringValue);
    return keys;
}

} // namespace

static_assert(Codable<Person> && Codable<Address> && Codable<std::vector<std::optional<Kind>>>);
static_assert(Encodable<NothingWritten> && !Decodable<NothingWritten>);
static_assert(!Encodable<char> && !Encodable<int*>);

TEST(Coding, StructuresWriteTheirKeysInTheOrderEncodedAndRoundTrip)
{
    Person person;
    person.name = "Ada";
    person.age = 36;
    person.addresses = {{"1 Main St", "Springfield"}, {"2 Side St", std::nullopt}};
    person.scores = {{"b", 2.5}, {"a", 1}};
    person.kind = Kind::card;
    person.level = Level::high;
    person.born = Date(10);
    person.avatar = Data::fromString("hi");

    std::string json = encoded(person);
    EXPECT_EQ(json, R"({"name":"Ada","age":36,"nickname":null,"addresses":[{"street":"1 Main St","city":"Springfield"},)"
                    R"({"street":"2 Side St"}],"scores":{"a":1,"b":2.5},"kind":"card","level":2,"born":10,"avatar":"aGk="})");
    EXPECT_EQ(decoded<Person>(json), person);
}

TEST(Coding, SingleValueAndUnkeyedTypesCodeBare)
{
    EXPECT_EQ(encoded(Celsius {21.5}), "21.5");
    EXPECT_EQ(decoded<Celsius>("-4").degrees, -4);
    EXPECT_EQ(encoded(Pair {"x", 7}), R"(["x",7])");
    EXPECT_EQ(decoded<Pair>(R"(["y",8])").second, 8);
    EXPECT_EQ(encoded(std::vector<std::optional<std::int64_t>> {1, std::nullopt}), "[1,null]");
}

TEST(Coding, EncodingAKeyAgainReplacesItsValueInPlace)
{
    struct Twice {
        void encode(Encoder& encoder) const
        {
            auto container = encoder.container();
            container.encode(1, "a");
            container.encode(2, "b");
            container.encode("again", "a");
        }
    };
    EXPECT_EQ(encoded(Twice {}), R"({"a":"again","b":2})");
}

TEST(Coding, NestedContainersStayValidWhileSiblingsAreAdded)
{
    struct Nested {
        void encode(Encoder& encoder) const
        {
            auto container = encoder.container();
            auto inner = container.nestedContainer("inner");
            auto list = container.nestedUnkeyedContainer("list");
            for (int i = 0; i < 50; ++i)
                container.encode(i, "k" + std::to_string(i));
            inner.encode(true, "late");
            list.encode("x");
            list.nestedContainer().encodeNil("n");
        }
    };
    std::string json = encoded(Nested {});
    EXPECT_EQ(json.substr(0, 51), R"({"inner":{"late":true},"list":["x",{"n":null}],"k0")");
    auto container = make<JSONDecoder>()->decode<std::map<String, std::optional<std::int64_t>>>(Data::fromString(R"({"a":1,"b":null})"));
    EXPECT_EQ(container.at("b"), std::nullopt);
}

TEST(Coding, LargeObjectsReplaceAndReopenTheirMembersInPlace)
{
    struct Wide {
        void encode(Encoder& encoder) const
        {
            auto container = encoder.container();
            for (int i = 0; i < 30; ++i)
                container.encode(i, "k" + std::to_string(i));
            container.encode("again", "k3");
            container.nestedContainer("k29").encode(1, "x");
            container.nestedContainer("k29").encode(2, "y");
            container.encode(true, "k40");
        }
    };
    std::string json = encoded(Wide {});
    EXPECT_EQ(json.substr(0, 32), R"({"k0":0,"k1":1,"k2":2,"k3":"agai)");
    EXPECT_TRUE(json.ends_with(R"("k28":28,"k29":{"x":1,"y":2},"k40":true})")) << json;
}

TEST(Coding, EncodingErrorsCarryThePathOfNestedContainers)
{
    struct Deep {
        void encode(Encoder& encoder) const
        {
            auto list = encoder.container().nestedUnkeyedContainer("list");
            list.encode(1);
            auto inner = list.nestedContainer();
            EXPECT_EQ(inner.codingPath().size(), 2u);
            inner.encode(std::vector<double> {1, std::numeric_limits<double>::quiet_NaN()}, "values");
        }
    };
    try {
        encoded(Deep {});
        FAIL() << "encoded NaN";
    } catch (const EncodingError& error) {
        std::vector<std::string> keys;
        for (const auto& key : error.context().codingPath)
            keys.push_back(key.stringValue);
        EXPECT_EQ(keys, (std::vector<std::string> {"list", "Index 1", "values", "Index 1"}));
        EXPECT_EQ(error.context().codingPath[1].intValue, 1);
    }
    auto mismatch = decodingError<std::vector<Address>>(R"([{"street":"a"},{"street":5}])");
    EXPECT_EQ(pathOf(mismatch), (std::vector<std::string> {"Index 1", "street"}));
}

TEST(Coding, EveryIntegerWidthRoundTripsItsLimits)
{
    auto roundTrip = [](auto value) {
        using T = decltype(value);
        for (T limit : {std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), T(0)})
            EXPECT_EQ(decoded<T>(encoded(limit)), limit) << codingTypeName<T>();
    };
    roundTrip(std::int8_t {});
    roundTrip(std::int16_t {});
    roundTrip(std::int32_t {});
    roundTrip(std::int64_t {});
    roundTrip(std::uint8_t {});
    roundTrip(std::uint16_t {});
    roundTrip(std::uint32_t {});
    roundTrip(std::uint64_t {});
    EXPECT_EQ(encoded(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(encoded(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(Coding, NumbersThatDoNotFitTheirTypeAreDataCorrupted)
{
    EXPECT_EQ(decoded<std::int64_t>("34.0"), 34);
    EXPECT_EQ(decoded<std::uint8_t>("1e2"), 100);

    auto tooBig = decodingError<std::uint8_t>("300");
    ASSERT_NE(tooBig.as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_EQ(tooBig.context().debugDescription, "Parsed JSON number <300> does not fit in UInt8.");
    EXPECT_EQ(tooBig.code(), 4864);
    EXPECT_NE(decodingError<std::int64_t>("1.5").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<std::uint64_t>("-1").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<std::int64_t>("9223372036854775808").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<std::int64_t>("9.3e18").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<std::int32_t>("-2147483649").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<float>("1e39").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_EQ(decoded<std::int32_t>("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(Coding, IntegersAtThe64BitLimitsAreReadFromTheirText)
{
    // Each of these is the same double as a limit, but none is that limit.
    for (const char* outside : {"-9223372036854775809", "-9223372036854776832", "-9223372036854775808.5",
                                "-9.223372036854775809e18", "9223372036854775807.5"})
        EXPECT_NE(decodingError<std::int64_t>(outside).as<DecodingError::DataCorrupted>(), nullptr) << outside;
    for (const char* outside : {"18446744073709551616", "18446744073709551615.5", "1.8446744073709551616e19"})
        EXPECT_NE(decodingError<std::uint64_t>(outside).as<DecodingError::DataCorrupted>(), nullptr) << outside;
    EXPECT_NE(decodingError<std::int64_t>("9007199254740993.5").as<DecodingError::DataCorrupted>(), nullptr);

    EXPECT_EQ(decoded<std::int64_t>("-9223372036854775808.0"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decoded<std::int64_t>("-92233720368547758.08e2"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decoded<std::uint64_t>("1.8446744073709551615e19"), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(decoded<std::int64_t>("-0.0"), 0);
    EXPECT_EQ(decoded<std::int64_t>("1200e-2"), 12);
    // Floating point keeps its value whatever its form.
    EXPECT_EQ(decoded<double>("-9223372036854775809"), -9223372036854775808.0);
    EXPECT_EQ(decoded<double>("1e2"), 100.0);
}

TEST(Coding, FloatsAreWrittenInTheirOwnShortestForm)
{
    EXPECT_EQ(encoded(0.1f), "0.1");
    EXPECT_EQ(decoded<float>("0.1"), 0.1f);
    EXPECT_EQ(encoded(1.0), "1");
    EXPECT_EQ(encoded(-0.25), "-0.25");
    EXPECT_EQ(encoded(1e100), "1e+100");
    EXPECT_EQ(decoded<double>("1e-7"), 1e-7);
}

TEST(Coding, NonFiniteNumbersCannotBeEncoded)
{
    try {
        make<JSONEncoder>()->encode(std::vector<double> {1, std::numeric_limits<double>::quiet_NaN()});
        FAIL() << "encoded NaN";
    } catch (const EncodingError& error) {
        EXPECT_EQ(error.domain(), "NSCocoaErrorDomain");
        EXPECT_EQ(error.code(), 4866);
        EXPECT_EQ(error.context().debugDescription, "Unable to encode Double.nan directly in JSON.");
        ASSERT_EQ(error.context().codingPath.size(), 1u);
        EXPECT_EQ(error.context().codingPath[0].intValue, 1);
    }
    EXPECT_THROW(make<JSONEncoder>()->encode(-std::numeric_limits<float>::infinity()), EncodingError);
}

TEST(Coding, MissingKeysAndNullsAreReportedWithTheirPath)
{
    auto missing = decodingError<Person>(R"({"name":"Ada"})");
    ASSERT_NE(missing.as<DecodingError::KeyNotFound>(), nullptr);
    EXPECT_EQ(missing.as<DecodingError::KeyNotFound>()->key.stringValue, "age");
    EXPECT_EQ(missing.code(), 4865);
    EXPECT_EQ(missing.context().debugDescription, R"(No value associated with key CodingKeys(stringValue: "age", intValue: nil) ("age").)");

    auto null = decodingError<std::vector<Address>>(R"([{"street":"a"},{"street":null}])");
    ASSERT_NE(null.as<DecodingError::ValueNotFound>(), nullptr);
    EXPECT_EQ(null.code(), 4865);
    EXPECT_EQ(pathOf(null), (std::vector<std::string> {"Index 1", "street"}));

    auto nullObject = decodingError<Address>("null");
    ASSERT_NE(nullObject.as<DecodingError::ValueNotFound>(), nullptr);
    EXPECT_EQ(nullObject.localizedDescription(), "The data couldn\u2019t be read because it is missing.");
}

TEST(Coding, WrongTypesAreTypeMismatches)
{
    auto wrong = decodingError<Address>(R"({"street":5})");
    ASSERT_NE(wrong.as<DecodingError::TypeMismatch>(), nullptr);
    EXPECT_EQ(wrong.as<DecodingError::TypeMismatch>()->type, "String");
    EXPECT_EQ(wrong.context().debugDescription, "Expected to decode String but found a number instead.");
    EXPECT_EQ(pathOf(wrong), std::vector<std::string> {"street"});
    EXPECT_EQ(wrong.code(), 4864);
    EXPECT_NE(decodingError<bool>("1").as<DecodingError::TypeMismatch>(), nullptr);
    EXPECT_NE(decodingError<std::int64_t>("true").as<DecodingError::TypeMismatch>(), nullptr);
    EXPECT_NE(decodingError<Address>("[]").as<DecodingError::TypeMismatch>(), nullptr);
    EXPECT_NE(decodingError<std::vector<int>>("{}").as<DecodingError::TypeMismatch>(), nullptr);
}

TEST(Coding, UnknownRawValuesAndBadBase64AreDataCorrupted)
{
    auto unknown = decodingError<Kind>(R"("boat")");
    ASSERT_NE(unknown.as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_EQ(unknown.context().debugDescription, "Cannot initialize Kind from invalid String value boat");
    EXPECT_NE(decodingError<Level>("3").as<DecodingError::DataCorrupted>(), nullptr);
    EXPECT_NE(decodingError<Data>(R"("a?==")").as<DecodingError::DataCorrupted>(), nullptr);
}

TEST(Coding, AnUnkeyedContainerAtItsEndHasNoValue)
{
    auto error = decodingError<Pair>(R"(["only"])");
    ASSERT_NE(error.as<DecodingError::ValueNotFound>(), nullptr);
    EXPECT_EQ(error.context().debugDescription, "Unkeyed container is at end.");
    EXPECT_EQ(error.context().codingPath.back().intValue, 1);
}

TEST(Coding, OptionalsDistinguishAbsentNullAndPresent)
{
    EXPECT_EQ(decoded<Address>(R"({"street":"s","city":null})").city, std::nullopt);
    EXPECT_EQ(decoded<Address>(R"({"street":"s"})").city, std::nullopt);
    EXPECT_EQ(decoded<std::optional<std::int64_t>>("null"), std::nullopt);
    EXPECT_EQ(encoded(std::optional<String>()), "null");
    // `decode` of an optional still needs the key.
    EXPECT_NE(decodingError<Person>(R"({"name":"a","age":1})").as<DecodingError::KeyNotFound>(), nullptr);
}

TEST(Coding, LargeObjectsDecodeThroughTheirIndex)
{
    std::map<std::string, std::int64_t> many;
    for (int i = 0; i < 1000; ++i)
        many["key" + std::to_string(i)] = i;
    EXPECT_EQ(decoded<decltype(many)>(encoded(many)), many);
}

TEST(Coding, AValueThatWritesNothingCannotStandAtTheTop)
{
    EXPECT_THROW(make<JSONEncoder>()->encode(NothingWritten {}), EncodingError);
    EXPECT_EQ(encoded(std::vector<NothingWritten>(1)), "[{}]");
}

TEST(CodingDeathTest, MixingContainerKindsStops)
{
    struct Mixed {
        void encode(Encoder& encoder) const
        {
            encoder.singleValueContainer().encode(1);
            encoder.container();
        }
    };
    EXPECT_DEATH(make<JSONEncoder>()->encode(Mixed {}), "already previously encoded");
}
