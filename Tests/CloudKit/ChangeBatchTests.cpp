#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKRecordValue.hpp"
#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/CloudKit/DatabaseState.hpp"

#include <gtest/gtest.h>

#include <limits>

using namespace CloudKit;

namespace {

const std::string container = "iCloud.test.Corvendale";
const std::string account = "_localAccount";
const std::string device(32, 'c');

ChangeBatch sample()
{
    ChangeBatch batch;
    batch.device = device;
    batch.sequence = 7;
    batch.clock = 12;
    batch.date = Foundation::Date(1000.5);
    CKRecordZoneID zone("CustomRecordZone");
    batch.changes.push_back({ChangeBatch::Change::Kind::createZone, zone, "life-1", {}, {}, false, {}, nullptr});
    ChangeBatch::Change save {ChangeBatch::Change::Kind::saveRecord, zone, "life-1", "E1", "Entry", true, {}, nullptr};
    save.fields.emplace("sealedEntry", CKRecordValue(Foundation::Data(std::vector<std::uint8_t> {1, 2, 3, 250})));
    save.fields.emplace("vaultID", CKRecordValue(Foundation::String("V")));
    batch.changes.push_back(save);
    batch.changes.push_back({ChangeBatch::Change::Kind::deleteRecord, zone, "life-1", "E0", "Entry", false, {}, nullptr});
    return batch;
}

ChangeBatch decode(const std::string& bytes)
{
    return ChangeBatch::decode(Foundation::Data::fromString(bytes), ChangeBatch::fileName(device, 7), container, account, {});
}

// Written and read back, as another installation reads it.
ChangeBatch decodeAs(const ChangeBatch& batch, std::int64_t sequence)
{
    return ChangeBatch::decode(batch.encoded(container, account, {}), ChangeBatch::fileName(device, sequence), container, account, {});
}

} // namespace

// One flipped bit anywhere (zone, owner, life, record name or type, values, the checksum itself) and the
// batch is refused; the batch as written reads back as it was.
TEST(ChangeBatchTests, EveryFlippedBitIsRefusedAndTheWholeBatchReadsBack)
{
    auto bytes = std::string(sample().encoded(container, account, {}).view());
    auto read = decode(bytes);
    EXPECT_EQ(read.order(), sample().order());
    ASSERT_EQ(read.changes.size(), 3u);
    EXPECT_EQ(read.changes[1].recordName, "E1");
    EXPECT_EQ(std::string(read.encoded(container, account, {}).view()), bytes);

    std::size_t accepted = 0;
    for (std::size_t offset = 0; offset < bytes.size(); ++offset) {
        for (int bit = 0; bit < 8; ++bit) {
            auto damaged = bytes;
            damaged[offset] ^= static_cast<char>(1 << bit);
            try {
                decode(damaged);
                ++accepted;
                ADD_FAILURE() << "a flip of bit " << bit << " at " << offset << " was taken in";
            } catch (const CKError&) {
            }
        }
        if (accepted > 3)
            break;
    }
    for (std::size_t length : {std::size_t(0), bytes.size() / 2, bytes.size() - 1})
        EXPECT_THROW(decode(bytes.substr(0, length)), CKError);
}

// Batches written before the checksum came are plain JSON and still read.
TEST(ChangeBatchTests, BatchesOfTheFormatBeforeTheChecksumStillRead)
{
    std::string older = "{\"format\":\"CloudKit change batch\",\"version\":1,\"container\":\"" + container + "\",\"account\":\"" + account
        + "\",\"device\":\"" + device + "\",\"sequence\":7,\"clock\":3,\"date\":0,\"changes\":[{\"change\":\"saveRecord\","
          "\"zone\":\"CustomRecordZone\",\"owner\":\"__defaultOwner__\",\"incarnation\":\"life-1\",\"name\":\"E1\",\"type\":\"Entry\","
          "\"replacesFields\":true,\"fields\":{\"title\":{\"string\":\"old\"}}}]}";
    auto read = decode(older);
    ASSERT_EQ(read.changes.size(), 1u);
    EXPECT_EQ(read.changes[0].recordName, "E1");
    EXPECT_FALSE(read.changes[0].unreadable);

    // The newer format unwrapped from its checksum is damage, not the older format.
    auto bytes = std::string(sample().encoded(container, account, {}).view());
    auto body = bytes.substr(bytes.find("\"batch\":") + 8);
    body.pop_back();
    EXPECT_THROW(decode(body), CKError);
}

// Batches are read by every installation, whatever its version: what a batch looks like stays.
TEST(ChangeBatchTests, TheWrittenFormStays)
{
    ChangeBatch batch;
    batch.device = device;
    batch.sequence = 7;
    batch.clock = 12;
    batch.date = Foundation::Date(786000000.5);
    batch.operationID = "op-1";
    CKRecordZoneID zone("CustomRecordZone");
    batch.changes.push_back({ChangeBatch::Change::Kind::deleteZone, zone, "", {}, {}, false, {}, nullptr});
    ChangeBatch::Change save {ChangeBatch::Change::Kind::saveRecord, zone, "life-1", "E1", "Entry", false, {}, nullptr};
    save.fields.emplace("count", CKRecordValue(std::int64_t {-3}));
    save.fields.emplace("ratio", CKRecordValue(1e21));
    save.fields.emplace("odd", CKRecordValue(-std::numeric_limits<double>::infinity()));
    save.fields.emplace("gone", std::nullopt);
    save.fields.emplace("when", CKRecordValue(Foundation::Date(0.5)));
    save.fields.emplace("names", CKRecordValue(CKRecordValue::List {CKRecordValue(Foundation::String("a/b")), CKRecordValue(std::int64_t {1})}));
    batch.changes.push_back(save);
    EXPECT_EQ(batch.encoded(container, account, {}).view(),
              R"({"format":"CloudKit change batch","version":2,"checksum":"222e6e05","batch":{"format":"CloudKit change batch","version":2,)"
              R"("container":"iCloud.test.Corvendale","account":"_localAccount","device":"cccccccccccccccccccccccccccccccc","sequence":7,"clock":12,)"
              R"("date":786000000.5,"operation":"op-1","changes":[{"change":"deleteZone","zone":"CustomRecordZone","owner":"__defaultOwner__"},)"
              R"({"change":"saveRecord","zone":"CustomRecordZone","owner":"__defaultOwner__","incarnation":"life-1","name":"E1","type":"Entry",)"
              R"("replacesFields":false,"fields":{"count":{"int64":-3},"gone":null,"names":{"list":[{"string":"a/b"},{"int64":1}]},)"
              R"("odd":{"double":"-inf"},"ratio":{"double":1e+21},"when":{"date":0.5}}}]}})");
}

// A deletion names the save it deleted; applied after a save its writer had not seen, it keeps the
// record. One written before deletions named their save always deletes.
TEST(ChangeBatchTests, ADeletionKeepsARecordSavedSinceItsWriterLookedAndOldOnesAlwaysDelete)
{
    CKRecordZoneID zone("CustomRecordZone");
    auto batchOf = [&](std::int64_t sequence, std::vector<ChangeBatch::Change> changes) {
        ChangeBatch batch;
        batch.device = device;
        batch.sequence = sequence;
        batch.clock = sequence;
        batch.changes = std::move(changes);
        return decodeAs(batch, sequence);
    };
    auto save = ChangeBatch::Change {ChangeBatch::Change::Kind::saveRecord, zone, "life-1", "E1", "Entry", true, {}, nullptr};
    auto deletion = [&](std::optional<std::string> tag) {
        ChangeBatch::Change change {ChangeBatch::Change::Kind::deleteRecord, zone, "life-1", "E1", "Entry", false, {}, nullptr};
        change.deletedTag = std::move(tag);
        return change;
    };
    auto made = batchOf(1, {{ChangeBatch::Change::Kind::createZone, zone, "life-1", {}, {}, false, {}, nullptr}, save});
    auto firstTag = DatabaseState::changeTag(made, 1);
    auto edited = batchOf(2, {save});

    auto stateAfter = [&](const ChangeBatch& last) {
        DatabaseState state;
        state.apply(made);
        state.apply(edited);
        state.apply(last);
        return state.record(zone, "E1") != nullptr;
    };
    // Written where only the first save was known, it meets the edit and keeps the record.
    auto unseen = batchOf(3, {deletion(firstTag)});
    EXPECT_EQ(unseen.changes.front().deletedTag, firstTag);
    EXPECT_TRUE(stateAfter(unseen));
    // Written where the edit was known, it deletes; so does one of the earlier form.
    EXPECT_FALSE(stateAfter(batchOf(3, {deletion(DatabaseState::changeTag(edited, 0))})));
    auto earlier = batchOf(3, {deletion(std::nullopt)});
    EXPECT_FALSE(earlier.changes.front().deletedTag);
    EXPECT_FALSE(stateAfter(earlier));
}

// Each change is read on its own, so the reader finds where changes begin and end: texts holding
// brackets, braces, quotes and escapes, another order of members and spaces anywhere read as written;
// a change cut or joined wrongly is damage. A batch of many changes (a snapshot's) reads back whole.
TEST(ChangeBatchTests, ChangesAreFoundWhateverTheyHoldAndTheirLayout)
{
    auto saveOf = [](const std::string& name, const std::string& title) {
        return "{ \"fields\" : {\"title\" : {\"string\":\"" + title + "\"}} , \"change\":\"saveRecord\",\"zone\":\"CustomRecordZone\","
               "\"owner\":\"__defaultOwner__\",\"incarnation\":\"life-1\",\"name\":\"" + name + "\",\"type\":\"Entry\",\"replacesFields\":true }";
    };
    auto older = [&](const std::string& changes) {
        return "\n{ \"changes\" :\n [ " + changes + " ] ,\"format\":\"CloudKit change batch\", \"version\":1,\"container\":\"" + container
               + "\",\"account\":\"" + account + "\",\"device\":\"" + device + "\",\"sequence\":7,\"clock\":3,\"date\":0 }\n";
    };
    const std::string tricky = R"(a ]}, \"quoted\" [{ \\)";
    auto read = decode(older(saveOf("E1", tricky) + " ,\n" + saveOf("E2", "}") + "," + saveOf("E]", "\\\"")));
    ASSERT_EQ(read.changes.size(), 3u);
    EXPECT_EQ(read.changes[0].fields.at("title")->as<Foundation::String>(), Foundation::String(R"(a ]}, "quoted" [{ \)"));
    EXPECT_EQ(read.changes[1].fields.at("title")->as<Foundation::String>(), Foundation::String("}"));
    EXPECT_EQ(read.changes[2].recordName, "E]");
    EXPECT_EQ(read.changes[2].fields.at("title")->as<Foundation::String>(), Foundation::String("\""));
    EXPECT_TRUE(decode(older("")).changes.empty());

    for (const auto& wrong : {saveOf("E1", "x") + ",", "," + saveOf("E1", "x"), saveOf("E1", "x") + saveOf("E2", "y"),
                              saveOf("E1", "x").substr(1), saveOf("E1", "x") + "}", saveOf("E1", "x") + " 1", saveOf("E1", "\\")})
        EXPECT_THROW(decode(older(wrong)), CKError) << wrong;

    ChangeBatch many = sample();
    for (int index = 0; index < 1000; ++index) {
        ChangeBatch::Change save {ChangeBatch::Change::Kind::saveRecord, CKRecordZoneID("CustomRecordZone"), "life-1",
                                  "R" + std::to_string(index), "Entry", true, {}, nullptr};
        save.fields.emplace("title", CKRecordValue(Foundation::String("[" + std::to_string(index) + "]")));
        many.changes.push_back(std::move(save));
    }
    auto bytes = std::string(many.encoded(container, account, {}).view());
    auto back = decode(bytes);
    ASSERT_EQ(back.changes.size(), many.changes.size());
    EXPECT_EQ(back.changes.back().fields.at("title")->as<Foundation::String>(), Foundation::String("[999]"));
    EXPECT_EQ(std::string(back.encoded(container, account, {}).view()), bytes);
}

// Read for the state, a batch's values are checked but not made, and each change says where its text is:
// the places the writer gave, whose texts read back as the changes written. A value that cannot be read
// is found without making the values too.
TEST(ChangeBatchTests, ChangesReadWithoutTheirValuesSayWhereTheirTextsAre)
{
    std::vector<ChangeBatch::Span> written;
    auto bytes = std::string(sample().encoded(container, account, {}, &written).view());
    auto checked = ChangeBatch::decode(Foundation::Data::fromString(bytes), ChangeBatch::fileName(device, 7), container, account, {},
                                       ChangeBatch::Values::checked);
    ASSERT_EQ(checked.changes.size(), 3u);
    ASSERT_EQ(written.size(), 3u);
    for (std::size_t index = 0; index < written.size(); ++index) {
        const auto& change = checked.changes[index];
        EXPECT_TRUE(change.fields.empty());
        ASSERT_TRUE(change.text);
        EXPECT_EQ(change.text->offset, written[index].offset);
        EXPECT_EQ(change.text->length, written[index].length);
        auto text = std::string_view(bytes).substr(change.text->offset, change.text->length);
        EXPECT_EQ(change.text->digest, ChangeBatch::digestOf(text));
        EXPECT_EQ(change.text->digest, written[index].digest);
        auto again = ChangeBatch::decodeChange(text, ChangeBatch::fileName(device, 7), {});
        EXPECT_EQ(again.recordName, sample().changes[index].recordName);
        EXPECT_EQ(again.fields, sample().changes[index].fields);
    }
    EXPECT_NE(written[1].digest, written[2].digest);

    // Malformed Base64 is found unreadable without being decoded.
    auto older = ChangeBatch::decode(Foundation::Data::fromString(std::string(R"({"format":"CloudKit change batch","version":1,"container":")")
                                                                  + container + R"(","account":")" + account + R"(","device":")" + device
                                                                  + R"(","sequence":7,"clock":12,"date":0,"changes":[{"change":"saveRecord",)"
                                                                  + R"("zone":"CustomRecordZone","owner":"__defaultOwner__","incarnation":"life-1",)"
                                                                  + R"("name":"E1","type":"Entry","replacesFields":true,"fields":{"x":{"data":"YQ="}}}]})"),
                                     ChangeBatch::fileName(device, 7), container, account, {}, ChangeBatch::Values::checked);
    ASSERT_EQ(older.changes.size(), 1u);
    EXPECT_TRUE(older.changes[0].unreadable);
}
