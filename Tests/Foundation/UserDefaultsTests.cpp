#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Tests/Support/Files.hpp"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace Foundation;
using TestSupport::readText;
using TestSupport::writeText;
namespace fs = std::filesystem;

namespace {

fs::path preferencesFolder()
{
    return FileManager::defaultManager()->preferencesDirectory().path().utf8();
}

class UserDefaultsTest : public testing::Test {
protected:
    // A suite of its own for every test, and for every repetition: a domain is read once per process.
    void SetUp() override
    {
        static int run = 0;
        suiteName = String(std::string("tests.") + testing::UnitTest::GetInstance()->current_test_info()->name() + "."
                           + std::to_string(++run));
        fs::create_directories(preferencesFolder());
    }
    fs::path fileOf(const String& suite) const { return preferencesFolder() / (suite.utf8() + ".json"); }
    fs::path file() const { return fileOf(suiteName); }
    std::shared_ptr<UserDefaults> defaults() const { return UserDefaults::withSuiteName(suiteName); }

    String suiteName;
};

} // namespace

TEST_F(UserDefaultsTest, EveryKindSurvivesTheFileUnchanged)
{
    UserDefaults::Dictionary written {
        {"bool", true},
        {"integer", std::int64_t {-9007199254740993}},
        {"real", 1.0},
        {"notANumber", std::nan("")},
        {"infinity", -HUGE_VAL},
        {"string", "caf\u00e9 \"quoted\""},
        {"data", Data::fromString(std::string("\0\xff", 2))},
        {"date", Date(123.25)},
        {"$dollar", "key"},
        {"lookalike", UserDefaults::Dictionary {{"$data", "YWJj"}}},
        {"list", UserDefaults::Array {1, 2.5, "three", UserDefaults::Dictionary {}}},
    };
    auto source = defaults();
    for (const auto& [key, value] : written)
        source->set(value, key);

    // Another process reads only the file.
    String copy = suiteName + ".copy";
    fs::copy_file(file(), fileOf(copy), fs::copy_options::overwrite_existing);
    auto read = UserDefaults::withSuiteName(copy)->dictionaryRepresentation();
    ASSERT_EQ(read.size(), written.size());
    for (const auto& [key, value] : written) {
        ASSERT_TRUE(read.contains(key)) << key.utf8();
        if (key == "notANumber")
            EXPECT_TRUE(std::isnan(read.at(key).as<double>().value()));
        else
            EXPECT_TRUE(read.at(key) == value) << key.utf8();
    }
    EXPECT_EQ(read.at("real").kind(), PropertyListValue::Kind::real);
    EXPECT_EQ(read.at("bool").kind(), PropertyListValue::Kind::boolean);
}

// The file is for people to read too, and earlier versions read it: its layout stays.
TEST_F(UserDefaultsTest, TheFileKeepsItsLayout)
{
    auto userDefaults = defaults();
    userDefaults->set(UserDefaults::Array {1, 2.0, 0.5, "a/b", UserDefaults::Array {}}, "list");
    userDefaults->set(UserDefaults::Dictionary {{"$data", true}, {"inner", UserDefaults::Dictionary {}}}, "$dollar");
    userDefaults->set(Date(123.25), "date");
    userDefaults->set(-HUGE_VAL, "real");
    userDefaults->set(Data::fromString("abc"), "blob");
    EXPECT_EQ(readText(file()), R"({
  "$$dollar": {
    "$$data": true,
    "inner": {}
  },
  "blob": {
    "$data": "YWJj"
  },
  "date": {
    "$date": 123.25
  },
  "list": [
    1,
    2.0,
    0.5,
    "a/b",
    []
  ],
  "real": {
    "$real": "-inf"
  }
}
)");
}

TEST_F(UserDefaultsTest, HandWrittenFileReadsWithItsTaggedValues)
{
    writeText(file(), R"({"when": {"$date": 10}, "blob": {"$data": "YWJj"}, "$$odd": {"$unknown": 1}, "n": 18446744073709551615})");
    auto userDefaults = defaults();
    EXPECT_TRUE(userDefaults->object("when") == PropertyListValue(Date(10)));
    EXPECT_EQ(userDefaults->data("blob"), Data::fromString("abc"));
    EXPECT_TRUE(userDefaults->object("$odd") == PropertyListValue(UserDefaults::Dictionary {{"$unknown", 1}}));
    EXPECT_EQ(userDefaults->object("n")->kind(), PropertyListValue::Kind::real);
    EXPECT_FALSE(fs::exists(file().string() + ".unreadable"));
}

TEST_F(UserDefaultsTest, AChangeKeepsWhatAnotherProcessWroteMeanwhile)
{
    auto userDefaults = defaults();
    userDefaults->set("first", "mine");
    writeText(file(), R"({"mine": "first", "theirs": 2})");

    userDefaults->set("second", "mine");
    EXPECT_EQ(userDefaults->integer("theirs"), 2);
    EXPECT_EQ(UserDefaults::withSuiteName(suiteName)->string("mine"), "second");
    EXPECT_NE(readText(file()).find("\"theirs\""), std::string::npos);
}

TEST_F(UserDefaultsTest, DamagedFileIsSetAsideInsteadOfOverwritten)
{
    writeText(file(), R"({"kept": 1, "broken": null)");
    auto userDefaults = defaults();
    EXPECT_EQ(userDefaults->object("kept"), std::nullopt);

    userDefaults->set(true, "fresh");
    EXPECT_EQ(readText(file().string() + ".unreadable"), R"({"kept": 1, "broken": null)");
    EXPECT_TRUE(userDefaults->bool_("fresh"));

    // Readable keys of a file with one bad value stay.
    String other = suiteName + ".partial";
    writeText(fileOf(other), R"({"kept": 1, "broken": null})");
    EXPECT_EQ(UserDefaults::withSuiteName(other)->integer("kept"), 1);
    EXPECT_TRUE(fs::exists(fileOf(other).string() + ".unreadable"));
}

TEST_F(UserDefaultsTest, ObjectsOverOneDomainShareItsValuesButNotTheirRegistrations)
{
    auto first = defaults();
    auto second = defaults();
    first->register_({{"size", 10}, {"name", "default"}});
    first->set(12, "size");

    EXPECT_EQ(second->integer("size"), 12);
    EXPECT_EQ(second->object("name"), std::nullopt);
    EXPECT_EQ(first->string("name"), "default");
    auto all = first->dictionaryRepresentation();
    EXPECT_EQ(all.size(), 2u);
    EXPECT_TRUE(all.at("size") == PropertyListValue(12));

    second->removePersistentDomain(suiteName);
    EXPECT_EQ(first->integer("size"), 10);
    EXPECT_FALSE(fs::exists(file()));
}

TEST_F(UserDefaultsTest, NamesThatCannotNameTheirOwnFileAreRefused)
{
    String ownIdentifier = FileManager::defaultManager()->applicationIdentifier();
    for (const String& name : {String(""), String(" "), String("a/b"), String(".."), String("."), String("NSGlobalDomain"), ownIdentifier})
        EXPECT_EQ(UserDefaults::withSuiteName(name), nullptr) << name.utf8();

    auto own = UserDefaults::withSuiteName(std::nullopt);
    own->set(suiteName, "lastTest");
    EXPECT_EQ(UserDefaults::standard()->string("lastTest"), suiteName);
    own->removeObject("lastTest");

    fs::path outside = preferencesFolder().parent_path() / "outside.json";
    writeText(outside, "{}");
    UserDefaults::standard()->removePersistentDomain("../outside");
    EXPECT_TRUE(fs::exists(outside));
}

TEST_F(UserDefaultsTest, TypedGettersConvertBetweenKinds)
{
    auto userDefaults = defaults();
    userDefaults->register_({
        {"real", -2.9},
        {"text", "  42abc"},
        {"yes", "YES"},
        {"flag", true},
        {"mixed", UserDefaults::Array {"a", 1}},
        {"strings", UserDefaults::Array {"a", "b"}},
        {"huge", 1e300},
    });
    EXPECT_EQ(userDefaults->integer("real"), -2);
    EXPECT_EQ(userDefaults->integer("text"), 42);
    EXPECT_EQ(userDefaults->integer("flag"), 1);
    EXPECT_EQ(userDefaults->integer("huge"), std::numeric_limits<std::int64_t>::max());
    EXPECT_DOUBLE_EQ(userDefaults->double_("text"), 42);
    EXPECT_TRUE(userDefaults->bool_("yes"));
    EXPECT_TRUE(userDefaults->bool_("text"));
    EXPECT_TRUE(userDefaults->bool_("real"));
    EXPECT_FALSE(userDefaults->bool_("strings"));
    EXPECT_EQ(userDefaults->string("real"), "-2.9");
    EXPECT_EQ(userDefaults->string("flag"), "1");
    EXPECT_EQ(userDefaults->stringArray("mixed"), std::nullopt);
    EXPECT_EQ(userDefaults->stringArray("strings"), (std::vector<String> {"a", "b"}));
}

TEST_F(UserDefaultsTest, EveryChangeIsAnnouncedButRemovingAMissingKeyIsNot)
{
    auto userDefaults = defaults();
    int posts = 0;
    auto token = NotificationCenter::defaultCenter()->addObserver(UserDefaults::didChangeNotification(), userDefaults,
                                                                   nullptr, [&](const Notification&) { ++posts; });
    userDefaults->set(1, "a");
    userDefaults->set(1, "a");
    userDefaults->removeObject("a");
    userDefaults->removeObject("a");
    userDefaults->removePersistentDomain(suiteName);
    NotificationCenter::defaultCenter()->removeObserver(token);
    EXPECT_EQ(posts, 4);
    EXPECT_EQ(UserDefaults::didChangeNotification().rawValue(), "NSUserDefaultsDidChangeNotification");
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing)
{
    constexpr int threadCount = 6;
    constexpr int keysPerThread = 15;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([this, t] {
            auto userDefaults = defaults(); // one object per thread, one domain for all
            for (int k = 0; k < keysPerThread; ++k)
                userDefaults->set(k, String(std::to_string(t) + "." + std::to_string(k)));
        });
    }
    for (auto& thread : threads)
        thread.join();

    String copy = suiteName + ".copy";
    fs::copy_file(file(), fileOf(copy), fs::copy_options::overwrite_existing);
    EXPECT_EQ(UserDefaults::withSuiteName(copy)->dictionaryRepresentation().size(), std::size_t {threadCount * keysPerThread});
}

TEST_F(UserDefaultsTest, AFailedSaveLogsItsReasonReadably)
{
    std::vector<LogRecord> records;
    auto previous = Logger::setCaptureSink([&](const LogRecord& record) {
        if (record.category == "UserDefaults")
            records.push_back(record);
    });
    {
        TestSupport::FileSizeLimit full(16); // as good as a full disk: the write fails part way
        defaults()->set(String(std::string(100, 'x')), "key");
    }
    Logger::setCaptureSink(previous);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().message, records.back().unredactedMessage);
    EXPECT_EQ(records.back().message.find("<private>"), std::string::npos);
    EXPECT_NE(records.back().message.find("too large"), std::string::npos) << records.back().message;
}
