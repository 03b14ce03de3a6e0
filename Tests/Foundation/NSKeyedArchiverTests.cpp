#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace Foundation;

namespace {

class Tag : public NSObject, public NSCoding {
public:
    String name;
    std::shared_ptr<Tag> parent;

    void encode(NSCoder& coder) const override
    {
        coder.encodeString(name, "name");
        coder.encodeObject(parent, "parent");
    }
    static std::shared_ptr<Tag> withCoder(NSCoder& coder)
    {
        auto name = coder.decodeString("name");
        if (!name)
            return nullptr;
        auto tag = make<Tag>();
        tag->name = *name;
        tag->parent = coder.decodeObject<Tag>("parent");
        return tag;
    }

protected:
    friend Construct;
    Tag() = default;
};

class Sample : public NSObject, public NSCoding {
public:
    bool flag = false;
    std::int64_t count = 0;
    double ratio = 0;
    Data bytes;
    Date when;
    String dollar;

    void encode(NSCoder& coder) const override
    {
        coder.encodeBool(flag, "flag");
        coder.encodeInteger(count, "count");
        coder.encodeDouble(ratio, "ratio");
        coder.encodeData(bytes, "bytes");
        coder.encodeDate(when, "when");
        coder.encodeString(dollar, "$class");
    }
    static std::shared_ptr<Sample> withCoder(NSCoder& coder)
    {
        auto sample = make<Sample>();
        sample->flag = coder.decodeBool("flag");
        sample->count = coder.decodeInteger("count");
        sample->ratio = coder.decodeDouble("ratio");
        sample->bytes = coder.decodeData("bytes").value_or(Data());
        sample->when = coder.decodeDate("when").value_or(Date());
        sample->dollar = coder.decodeString("$class").value_or("");
        EXPECT_FALSE(coder.containsValue("missing"));
        EXPECT_EQ(coder.decodeInteger("missing"), 0);
        EXPECT_EQ(coder.decodeString("count"), std::nullopt);
        return sample;
    }

protected:
    friend Construct;
    Sample() = default;
};

class Unregistered : public NSObject, public NSCoding {
public:
    void encode(NSCoder&) const override { }

protected:
    friend Construct;
    Unregistered() = default;
};

class NSKeyedArchiverTest : public testing::Test {
protected:
    void SetUp() override
    {
        registerCodingClass<Tag>("Tag");
        registerCodingClass<Sample>("Sample");
    }
};

int errorCode(const Data& data)
{
    try {
        NSKeyedUnarchiver::unarchivedObject<Tag>(data);
    } catch (const NSError& error) {
        EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
        return static_cast<int>(error.code());
    }
    return 0;
}

} // namespace

TEST_F(NSKeyedArchiverTest, ObjectGraphsRoundTrip)
{
    auto root = make<Tag>();
    root->name = "root";
    auto child = make<Tag>();
    child->name = "child";
    child->parent = root;

    auto copy = NSKeyedUnarchiver::unarchivedObject<Tag>(NSKeyedArchiver::archivedData(child, false));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name, "child");
    ASSERT_NE(copy->parent, nullptr);
    EXPECT_EQ(copy->parent->name, "root");
    EXPECT_EQ(copy->parent->parent, nullptr);
}

// Archives written by earlier versions are read by later ones and the other way round: the text stays.
TEST_F(NSKeyedArchiverTest, ArchivesKeepTheirWrittenForm)
{
    auto sample = make<Sample>();
    sample->flag = true;
    sample->count = -42;
    sample->ratio = 2;
    sample->bytes = Data::fromString("abc");
    sample->when = Date(786000000.125);
    sample->dollar = "a/b \"c\"\n";
    EXPECT_EQ(NSKeyedArchiver::archivedData(sample, true).view(),
              R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Sample","flag":true,"count":-42,)"
              R"("ratio":2.0,"bytes":{"$data":"YWJj"},"when":{"$date":786000000.125},"$$class":"a/b \"c\"\n"}}})");

    sample->ratio = std::nan("");
    sample->when = Date(0.0001);
    auto text = std::string(NSKeyedArchiver::archivedData(sample, true).view());
    EXPECT_NE(text.find(R"("ratio":{"$double":"nan"},"bytes":{"$data":"YWJj"},"when":{"$date":0.0001})"), std::string::npos) << text;

    auto root = make<Tag>();
    root->name = "root";
    auto child = make<Tag>();
    child->name = "child";
    child->parent = root;
    EXPECT_EQ(NSKeyedArchiver::archivedData(child, false).view(),
              R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Tag","name":"child",)"
              R"("parent":{"$class":"Tag","name":"root"}}}})");
    EXPECT_EQ(NSKeyedArchiver::archivedData(nullptr, false).view(), R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":null}})");
}

TEST_F(NSKeyedArchiverTest, EveryValueKindRoundTrips)
{
    auto sample = make<Sample>();
    sample->flag = true;
    sample->count = -42;
    sample->ratio = -std::numeric_limits<double>::infinity();
    sample->bytes = Data(std::vector<std::uint8_t> {0x00, 0xff});
    sample->when = Date(12.25);
    sample->dollar = "not the class";

    auto copy = NSKeyedUnarchiver::unarchivedObject<Sample>(NSKeyedArchiver::archivedData(sample, true));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->flag);
    EXPECT_EQ(copy->count, -42);
    EXPECT_EQ(copy->ratio, sample->ratio);
    EXPECT_EQ(copy->bytes, sample->bytes);
    EXPECT_EQ(copy->when, Date(12.25));
    EXPECT_EQ(copy->dollar, "not the class");
}

TEST_F(NSKeyedArchiverTest, AnotherClassOrNoObjectGivesNothing)
{
    auto tag = make<Tag>();
    tag->name = "t";
    Data archive = NSKeyedArchiver::archivedData(tag, false);
    EXPECT_EQ(NSKeyedUnarchiver::unarchivedObject<Sample>(archive), nullptr);
    EXPECT_EQ(NSKeyedUnarchiver::unarchivedObject<Tag>(NSKeyedArchiver::archivedData(nullptr, false)), nullptr);
    // A class this process never registered.
    EXPECT_EQ(NSKeyedUnarchiver::unarchivedObject<Tag>(Data::fromString(
                  R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Gone"}}})")),
              nullptr);
    // The class's own refusal.
    EXPECT_EQ(NSKeyedUnarchiver::unarchivedObject<Tag>(Data::fromString(
                  R"({"$archiver":"NSKeyedArchiver","$version":100000,"$top":{"root":{"$class":"Tag"}}})")),
              nullptr);
}

TEST_F(NSKeyedArchiverTest, MalformedDataThrows)
{
    EXPECT_EQ(errorCode(Data::fromString("not json")), 4864);
    EXPECT_EQ(errorCode(Data::fromString("[]")), 4864);
    EXPECT_EQ(errorCode(Data::fromString(R"({"$archiver":"Other","$top":{"root":null}})")), 4864);
    EXPECT_EQ(errorCode(Data::fromString(R"({"$archiver":"NSKeyedArchiver","$top":{}})")), 4864);
    EXPECT_EQ(errorCode(Data::fromString(R"({"$archiver":"NSKeyedArchiver","$top":{"root":{"$class":7}}})")), 4864);
}

TEST_F(NSKeyedArchiverTest, CountsThatDoNotFitAndTextAfterANulAreRefused)
{
    auto withCount = [](const std::string& count) {
        return Data::fromString(R"({"$archiver":"NSKeyedArchiver","$top":{"root":{"$class":"Sample","count":)" + count + "}}}");
    };
    auto sampleError = [](const Data& data) {
        try {
            NSKeyedUnarchiver::unarchivedObject<Sample>(data);
        } catch (const NSError& error) {
            return static_cast<int>(error.code());
        }
        return 0;
    };
    for (const char* count : {"18446744073709551615", "9223372036854775808", "1e19", "-1e19"})
        EXPECT_EQ(sampleError(withCount(count)), 4864) << count;
    auto largest = NSKeyedUnarchiver::unarchivedObject<Sample>(withCount("9223372036854775807"));
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->count, std::numeric_limits<std::int64_t>::max());

    auto tag = make<Tag>();
    tag->name = "t";
    auto archive = std::string(NSKeyedArchiver::archivedData(tag, false).view());
    EXPECT_EQ(errorCode(Data::fromString(archive + std::string("\0garbage", 8))), 4864);
}

TEST_F(NSKeyedArchiverTest, DeeplyNestedArchivesAreRefused)
{
    std::string nested = R"({"$class":"Tag","name":"leaf"})";
    for (int i = 0; i < 300; ++i)
        nested = R"({"$class":"Tag","name":"n","parent":)" + nested + "}";
    EXPECT_EQ(errorCode(Data::fromString(R"({"$archiver":"NSKeyedArchiver","$top":{"root":)" + nested + "}}")), 4864);
}

TEST_F(NSKeyedArchiverTest, UnregisteredClassesCannotBeArchived)
{
    try {
        NSKeyedArchiver::archivedData(make<Unregistered>(), false);
        FAIL() << "archived an unregistered class";
    } catch (const NSError& error) {
        EXPECT_EQ(error.code(), 4866);
    }
}
