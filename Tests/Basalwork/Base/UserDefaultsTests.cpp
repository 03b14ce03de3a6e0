#include "Basalwork/Base/CodablePropertyCache.hpp"
#include "Basalwork/Base/RawRepresentablePropertyCache.hpp"
#include "Basalwork/Base/UserDefaults.hpp"

#include "Platform/Foundation/Logger.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <map>

using namespace Basalwork;
using Foundation::Data;
using Foundation::String;
using Foundation::UserDefaults;

namespace {

enum class Filter { all, favourites, recent };

struct Window {
    std::int64_t width = 0;
    std::map<String, double> ratios;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(width, "width");
        container.encode(ratios, "ratios");
    }
    static Window decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<std::int64_t>("width"), container.decode<std::map<String, double>>("ratios")};
    }
    friend bool operator==(const Window&, const Window&) = default;
};

} // namespace

template <>
struct Foundation::RawRepresentation<Filter> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Filter, const char*> cases[] = {{Filter::all, "all"}, {Filter::favourites, "favourites"}, {Filter::recent, "recent"}};
};

namespace {

class UserDefaultsAdditionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        static int run = 0;
        suiteName = "tests.additions." + std::to_string(++run);
        userDefaults = UserDefaults::withSuiteName(suiteName);
        previousSink = Foundation::Logger::setCaptureSink([this](const Foundation::LogRecord& record) {
            if (record.type == Foundation::OSLogType::error)
                errors.push_back(record.unredactedMessage);
        });
    }
    void TearDown() override { Foundation::Logger::setCaptureSink(previousSink); }

    std::string storedText(const String& key) const { return std::string(userDefaults->data(key).value_or(Data()).view()); }

    String suiteName;
    std::shared_ptr<UserDefaults> userDefaults;
    std::vector<std::string> errors;
    Foundation::Logger::Sink previousSink;
};

} // namespace

TEST_F(UserDefaultsAdditionsTest, CodableValuesAreStoredAsTheSharedCodersData)
{
    setCodable(*userDefaults, String("abc"), "name");
    EXPECT_EQ(storedText("name"), R"({"value":"abc"})");
    EXPECT_EQ(codableValue<String>(*userDefaults, "name"), "abc");

    Window window {640, {{"left", 0.25}}};
    setCodable(*userDefaults, window, "window");
    EXPECT_EQ(codableValue<Window>(*userDefaults, "window"), window);
    EXPECT_EQ(codableValue<Window>(*userDefaults, "missing"), std::nullopt);
    EXPECT_TRUE(errors.empty());
}

TEST_F(UserDefaultsAdditionsTest, UnreadableCodableValuesAreLoggedAndReadAsNothing)
{
    userDefaults->set("plain text", "name");
    EXPECT_EQ(codableValue<String>(*userDefaults, "name"), std::nullopt);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(R"(UserDefaults.codableValue for key "name" failed with error: )", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find("Failed to access value as Data"), std::string::npos);

    // A stored nothing is no removal, and it does not decode as a plain String.
    setCodable(*userDefaults, std::optional<String>(), "name");
    EXPECT_EQ(storedText("name"), R"({"value":null})");
    EXPECT_EQ(codableValue<String>(*userDefaults, "name"), std::nullopt);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_NE(userDefaults->object("name"), std::nullopt);
}

TEST_F(UserDefaultsAdditionsTest, AValueThatCannotBeEncodedLeavesTheOldOne)
{
    setCodable(*userDefaults, 1.5, "ratio");
    setCodable(*userDefaults, std::nan(""), "ratio");
    EXPECT_EQ(codableValue<double>(*userDefaults, "ratio"), 1.5);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("UserDefaults.set(codable:) for key: ratio failed with error: ", 0), 0u) << errors[0];
}

TEST_F(UserDefaultsAdditionsTest, RawRepresentableValuesAreTheirRawValues)
{
    setRawRepresentable(*userDefaults, Filter::recent, "filter");
    EXPECT_EQ(userDefaults->string("filter"), "recent");
    EXPECT_EQ(rawRepresentableValue<Filter>(*userDefaults, "filter"), Filter::recent);

    userDefaults->set("archived", "filter");
    EXPECT_EQ(rawRepresentableValue<Filter>(*userDefaults, "filter"), std::nullopt);
    userDefaults->set(1, "filter");
    EXPECT_EQ(rawRepresentableValue<Filter>(*userDefaults, "filter"), std::nullopt);

    setRawRepresentable(*userDefaults, std::optional<Filter>(), "filter");
    EXPECT_EQ(userDefaults->object("filter"), std::nullopt);
    EXPECT_TRUE(errors.empty());
}

TEST_F(UserDefaultsAdditionsTest, CachesFallBackToTheirDefaultAndNeverLookAgain)
{
    auto cold = Foundation::make<CodablePropertyCache<std::int64_t>>(userDefaults, "count", 7);
    EXPECT_EQ(cold->value(), 7);
    setCodable(*userDefaults, std::int64_t {9}, "count");
    EXPECT_EQ(cold->value(), 7);

    auto writer = Foundation::make<CodablePropertyCache<std::int64_t>>(userDefaults, "count", 0);
    writer->setValue(12);
    EXPECT_EQ(storedText("count"), R"({"value":12})");
    EXPECT_EQ(Foundation::make<CodablePropertyCache<std::int64_t>>(userDefaults, "count", 0)->value(), 12);

    // An unknown raw value falls back too.
    userDefaults->set("archived", "filter");
    auto filter = Foundation::make<RawRepresentablePropertyCache<Filter>>(userDefaults, "filter", Filter::all);
    EXPECT_EQ(filter->value(), Filter::all);
    filter->setValue(Filter::favourites);
    EXPECT_EQ(userDefaults->string("filter"), "favourites");

    // Clearing the domain leaves warm caches as they are; new ones start from the defaults.
    clearAllValues(*userDefaults, suiteName);
    EXPECT_EQ(userDefaults->object("count"), std::nullopt);
    EXPECT_EQ(writer->value(), 12);
    EXPECT_EQ(filter->value(), Filter::favourites);
    EXPECT_EQ(Foundation::make<RawRepresentablePropertyCache<Filter>>(userDefaults, "filter", Filter::recent)->value(), Filter::recent);
}
