#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include <gtest/gtest.h>

using namespace CloudKit;
using Foundation::Data;
using Foundation::Date;
using Foundation::String;

namespace {

std::vector<std::string> texts(const std::vector<String>& keys)
{
    std::vector<std::string> result;
    for (const auto& key : keys)
        result.push_back(key.utf8());
    return result;
}

} // namespace

TEST(CKRecordTests, TypedFieldsNilAndChangedKeys)
{
    auto record = Foundation::make<CKRecord>("Entry", CKRecordZone::ID("CustomRecordZone"));
    EXPECT_EQ(record->recordID().zoneID().zoneName().utf8(), "CustomRecordZone");
    EXPECT_EQ(record->recordID().recordName().utf8().size(), 36u); // a fresh unique name
    EXPECT_FALSE(record->recordChangeTag());

    record->setObject(String("Mail"), "title");
    record->setObject(std::int64_t(3), "version");
    record->setObject(true, "isArchived");
    record->setObject(2.0, "ratio");
    record->setObject(Date(100), "modified");
    record->setObject(Data::fromString("secret"), "blob");
    record->setObject(CKRecordValue::List {String("a"), String("b")}, "tags");
    record->setObject(String("gone"), "notes");
    record->setObject(std::nullopt, "notes");

    EXPECT_EQ(record->object("title")->as<String>()->utf8(), "Mail");
    EXPECT_EQ(record->object("isArchived")->as<bool>(), true); // a number on the service, read as a Boolean
    EXPECT_EQ(record->object("version")->as<double>(), 3.0);
    EXPECT_EQ(record->object("ratio")->as<std::int64_t>(), 2);
    EXPECT_FALSE(record->object("title")->as<std::int64_t>());
    EXPECT_FALSE(record->object("version")->as<String>());
    EXPECT_EQ(record->object("tags")->list()->size(), 2u);
    EXPECT_FALSE(record->object("notes"));
    EXPECT_EQ(texts(record->allKeys()), (std::vector<std::string> {"blob", "isArchived", "modified", "ratio", "tags", "title", "version"}));
    // A field set and then cleared is still a change: the save must clear it on the server.
    EXPECT_EQ(texts(record->changedKeys()),
              (std::vector<std::string> {"blob", "isArchived", "modified", "notes", "ratio", "tags", "title", "version"}));
}

TEST(CKRecordTests, ArchivesWithFieldsOrSystemFieldsOnly)
{
    auto record = CKRecord::fromServer("Attachment", CKRecord::ID("A1", CKRecordZone::ID("CustomRecordZone")),
                                       {{"name", CKRecordValue(String("photo.jpg"))},
                                        {"file", CKRecordValue(Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath("/tmp/a.jpg")))}},
                                       {String("tag-1"), Date(10), Date(20)});
    record->setObject(String("photo.png"), "name");

    auto copy = Foundation::NSKeyedUnarchiver::unarchivedObject<CKRecord>(Foundation::NSKeyedArchiver::archivedData(record, true));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->recordID(), record->recordID());
    EXPECT_EQ(copy->recordChangeTag()->utf8(), "tag-1");
    EXPECT_EQ(copy->modificationDate(), Date(20));
    EXPECT_EQ(copy->object("name")->as<String>()->utf8(), "photo.png");
    EXPECT_EQ(copy->object("file"), record->object("file"));
    EXPECT_EQ(texts(copy->changedKeys()), std::vector<std::string> {"name"});

    // What a sync engine keeps beside its own copy of the values.
    auto systemOnly = Foundation::NSKeyedUnarchiver::unarchivedObject<CKRecord>(record->archivedSystemFields());
    ASSERT_TRUE(systemOnly);
    EXPECT_EQ(systemOnly->recordType().utf8(), "Attachment");
    EXPECT_TRUE(systemOnly->allKeys().empty());
    EXPECT_TRUE(systemOnly->changedKeys().empty());
    EXPECT_EQ(systemOnly->recordChangeTag()->utf8(), "tag-1");

    EXPECT_FALSE(Foundation::NSKeyedUnarchiver::unarchivedObject<CKServerChangeToken>(Foundation::NSKeyedArchiver::archivedData(record, true)));
}

TEST(CKRecordTests, ChangeTokenIsOpaqueAndCoded)
{
    auto token = CKServerChangeToken::withPayload(Data::fromString("{\"seen\":1}"));
    auto copy = Foundation::NSKeyedUnarchiver::unarchivedObject<CKServerChangeToken>(Foundation::NSKeyedArchiver::archivedData(token, true));
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->isEqual(*token));
    EXPECT_FALSE(copy->isEqual(*CKServerChangeToken::withPayload(Data::fromString("{}"))));
}
