#include "Platform/CloudKit/ChangeTokenPayload.hpp"

#include <gtest/gtest.h>

using namespace CloudKit;
using Foundation::Data;

// A token's payload is kept by the sync engine across versions: its text stays.
TEST(ChangeTokenPayloadTests, KeepsItsWrittenFormAndReadsBack)
{
    ChangeTokenPayload payload {"iCloud.test", "_localAccount", CKRecordZoneID("Zone"), "life-1", {}};
    for (const char* name : {"ab-3.batch", "ab-1.batch", "ab-2.batch", "ab-5.batch", "cd-1.batch", "stray.json"})
        payload.seen.insert(name);
    auto bytes = payload.encoded();
    EXPECT_EQ(bytes.view(), R"({"container":"iCloud.test","account":"_localAccount","zone":"Zone","owner":"__defaultOwner__",)"
                            R"("incarnation":"life-1","seen":{"devices":{"ab":[[1,3],[5,5]],"cd":[[1,1]]},"others":["stray.json"]}})");
    auto read = ChangeTokenPayload::decode(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->zoneID.zoneName(), "Zone");
    EXPECT_TRUE(read->seen.contains("ab-2.batch"));
    EXPECT_FALSE(read->seen.contains("ab-4.batch"));
    EXPECT_TRUE(read->seen.contains("stray.json"));
    EXPECT_EQ(read->encoded().view(), bytes.view());
}

TEST(ChangeTokenPayloadTests, WhatIsNoTokensIsRefused)
{
    auto decodes = [](const std::string& seen) {
        return ChangeTokenPayload::decode(Data::fromString(R"({"container":"c","account":"a","zone":"z","owner":"o","incarnation":"i","seen":)" + seen + "}"))
            .has_value();
    };
    EXPECT_TRUE(decodes(R"({"devices":{"ab":[[1,3],[5,5]]},"others":[]})"));
    EXPECT_FALSE(decodes(R"({"devices":{"ab":[[5,5],[1,3]]},"others":[]})"));
    EXPECT_FALSE(decodes(R"({"devices":{"ab":[[1,3],[4,5]]},"others":[]})"));
    EXPECT_FALSE(decodes(R"({"devices":{"ab":[[1.0,3]]},"others":[]})"));
    EXPECT_FALSE(decodes(R"({"devices":{"ab":[[1,18446744073709551615]]},"others":[]})"));
    EXPECT_FALSE(decodes(R"({"devices":{},"others":[1]})"));
    EXPECT_FALSE(decodes(R"({"devices":[]})"));
    EXPECT_FALSE(ChangeTokenPayload::decode(Data::fromString(R"({"container":"c","account":"a","zone":"z","owner":"o","incarnation":7,"seen":{"devices":{},"others":[]}})")));
    EXPECT_FALSE(ChangeTokenPayload::decode(Data::fromString("{\"container\":")));
}
