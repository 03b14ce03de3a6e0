#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONItemStream.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using F = ImporterFileFormat;
namespace fs = std::filesystem;

namespace {

ImportReadResult readFile(F format, const std::string& name, const std::string& content)
{
    auto folder = SharedTests::temporaryFolder("JSONItemStream");
    TestSupport::writeText(folder / name, content);
    return ImportReader::read(format, Foundation::URL::fileURLWithPath(Foundation::String((folder / name).string()), false), std::nullopt,
                              Foundation::URL::fileURLWithPath(Foundation::String(folder.string()), true), [](double) {});
}

} // namespace

// A file is read a block at a time: a text, an escape, a number or a key cut by the end of a block reads as
// it would whole.
TEST(JSONItemStreamTests, ValuesCutByTheEndOfABlockReadAsWhole)
{
    const std::string item = R"({"id": "i1", "name": "Quote \" and \\ and \u00e9\ud83d\udd11", "notes": "line\nnext",)"
                             R"( "fav\u006frite": true, "type": 1, "login": {"username": "user", "uris": [{"uri": "https://a.example/\/x"}]}})";
    const std::size_t blockSize = 64 * 1024;
    const std::string start = "\xEF\xBB\xBF{\"encrypted\": false, \"it\\u0065ms\": [";
    for (std::size_t cut = 0; cut <= item.size(); ++cut) {
        SCOPED_TRACE(cut);
        // The block ends after `cut` bytes of the item.
        auto padding = std::string(blockSize - start.size() - cut, ' ');
        auto result = readFile(F::bitwardenJSON, "cut.json", start + padding + item + "]}");
        ASSERT_EQ(result.items.size(), 1u);
        const auto& entry = result.items[0].entry;
        EXPECT_EQ(entry.title, Foundation::String("Quote \" and \\ and \u00e9\U0001F511"));
        EXPECT_EQ(entry.notes, Foundation::String("line\nnext"));
        EXPECT_EQ(entry.username, Foundation::String("user"));
        EXPECT_EQ(entry.website, Foundation::String("https://a.example//x"));
        EXPECT_TRUE(entry.isFavorite) << "a key with escapes names its member";
    }
}

// An item without an identifier of its own is known again by its content, in one compact form: keys in
// byte order, a key given twice with its last value, numbers written as they were first read.
TEST(JSONItemStreamTests, AnItemWithoutAnIdentifierIsKnownByItsContentAsBefore)
{
    const std::string item = R"({"name": "A/B \u00e9\t", "type": 1, "notes": "x\u0001\/",)"
                             R"( "n": [1e2, 2.0, -0.0, -0, 0.5, 1E-7, 18446744073709551616, 12345678901234567, -3],)"
                             R"( "login": {"username": "u", "password": "p"}, "Z": true, "a": null, "name": "Second name"})";
    auto result = readFile(F::bitwardenJSON, "unnamed.json", R"({"items": [)" + item + "]}");
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].entry.id,
              ImportedEntryBuilder::stableIdentifier(
                  F::bitwardenJSON, R"({"Z":true,"a":null,"login":{"password":"p","username":"u"},)"
                                    R"("n":[100.0,2.0,-0.0,0,0.5,1e-07,1.8446744073709552e+19,12345678901234567,-3],"name":"Second name","notes":"x\u0001/","type":1})"));
}

TEST(JSONItemStreamTests, WhatIsNotJSONIsRefusedWhereverItStands)
{
    for (const std::string text : {R"({"items": [{"name": "a"} {"name": "b"}]})", R"({"items": [{"name": "a"},]})", R"({"items": [{"name": tru}]})",
                                   R"({"x": "\q", "items": []})", R"({"items": []} [])", R"({"items": [)", "", R"({"items": ["\u00"]})"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(JSONItemStream::read(text, {{"items"}}, [](const auto&, const auto&) {}), ImporterError);
    }
}
