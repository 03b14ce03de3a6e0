#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/ChangeTokenPayload.hpp"
#include "Tests/Support/Files.hpp"

#include <nlohmann/json.hpp>

namespace SyncwrightTests {

namespace {

using Notes = std::map<std::string, std::string>;

class BadInputTests : public SyncwrightFixture {
protected:
    // A batch another device wrote, put in place as a file-sync tool would.
    void placeBatch(std::int64_t sequence, const std::string& text)
    {
        auto name = std::string(32, 'd') + "-" + std::to_string(sequence) + ".batch";
        TestSupport::writeText(batchesFolder() / ".incoming", text);
        std::filesystem::rename(batchesFolder() / ".incoming", batchesFolder() / name);
    }
    nlohmann::json batch(std::int64_t sequence, nlohmann::json changes, const std::string& container = Installation::containerIdentifier)
    {
        return {{"format", "CloudKit change batch"}, {"version", 1}, {"container", container}, {"account", "_localAccount"},
                {"device", std::string(32, 'd')}, {"sequence", sequence}, {"clock", 1000}, {"date", 0.0}, {"changes", std::move(changes)}};
    }
    nlohmann::json saveNote(const std::string& name, const std::string& type, const std::string& text)
    {
        return {{"change", "saveRecord"}, {"zone", "CustomRecordZone"}, {"owner", CloudKit::CKCurrentUserDefaultName},
                {"incarnation", zoneIncarnation()}, {"name", name}, {"type", type}, {"replacesFields", true},
                {"fields", {{"text", {{"string", text}}}}}};
    }
    // The life of the custom zone, as the batch that made it names it.
    std::string zoneIncarnation()
    {
        for (const auto& entry : std::filesystem::directory_iterator(batchesFolder())) {
            auto json = nlohmann::json::parse(TestSupport::readText(entry.path()), nullptr, false);
            if (json.is_discarded())
                continue;
            const auto& batch = json.contains("batch") ? json["batch"] : json;
            for (const auto& change : batch["changes"]) {
                if (change["change"] == "createZone")
                    return change["incarnation"];
            }
        }
        return {};
    }
    std::vector<std::string> errorTexts(const SyncStatus& status)
    {
        std::vector<std::string> texts;
        const auto* failed = status.as<SyncStatus::Failed>();
        if (!failed || !failed->failure.as<SyncStatus::Failure::Error>())
            return texts;
        auto error = failed->failure.as<SyncStatus::Failure::Error>()->error;
        const auto* general = dynamic_cast<const Basalwork::GeneralError*>(error.get());
        if (general && general->as<Basalwork::GeneralError::Failed>()) {
            for (const auto& each : general->as<Basalwork::GeneralError::Failed>()->withErrors)
                texts.push_back(each->description());
        } else {
            texts.push_back(error->description());
        }
        return texts;
    }
};

TEST_F(BadInputTests, UnusableBatchesAreSkippedWithAnErrorTheStatusShows)
{
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());
    second->add("mine", "Kept");
    ASSERT_TRUE(second->sync().isSuccess());

    placeBatch(1, "not a batch at all");
    placeBatch(2, batch(2, nlohmann::json::array({saveNote("foreign", "Note", "x")}), "iCloud.someone.else").dump());
    auto future = batch(3, nlohmann::json::array({saveNote("future", "Note", "x")}));
    future["version"] = 99;
    placeBatch(3, future.dump());
    placeBatch(4, batch(4, nlohmann::json::array({saveNote("odd", "not a type!", "x"), saveNote("b", "Note", "Bravo")})).dump());

    ASSERT_TRUE(second->sync().isFailure());
    auto texts = errorTexts(second->delegate->lastStatus());
    ASSERT_EQ(texts.size(), 4u) << testing::PrintToString(texts);
    auto mentions = [&](const std::string& part) {
        return std::any_of(texts.begin(), texts.end(), [&](const auto& text) { return text.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("-1.batch is damaged"));
    EXPECT_TRUE(mentions("another container"));
    EXPECT_TRUE(mentions("newer version"));
    EXPECT_TRUE(mentions("unknown type"));
    // Everything else arrived, and nothing local was lost.
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha"}, {"b", "Bravo"}, {"mine", "Kept"}}));

    // The batches are met again until they are repaired or taken away; a record that was read is not.
    ASSERT_TRUE(second->sync().isFailure());
    EXPECT_EQ(errorTexts(second->delegate->lastStatus()).size(), 3u);
    for (int sequence = 1; sequence <= 3; ++sequence)
        std::filesystem::remove(batchesFolder() / (std::string(32, 'd') + "-" + std::to_string(sequence) + ".batch"));
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_TRUE(second->delegate->lastStatus().is<SyncStatus::UpToDate>());
}

TEST_F(BadInputTests, RecordsTheStoreCannotTakeInFailEverySyncUntilTheyAreTakenIn)
{
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());
    {
        std::lock_guard lock(second->delegate->mutex);
        second->delegate->notTakenIn = Basalwork::GeneralError::failedWithMessage(String("The item a cannot be opened")).clone();
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASSERT_TRUE(second->sync().isFailure());
        auto texts = errorTexts(second->delegate->lastStatus());
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_NE(texts.front().find("The item a cannot be opened"), std::string::npos) << texts.front();
    }
    {
        std::lock_guard lock(second->delegate->mutex);
        second->delegate->notTakenIn = nullptr;
    }
    ASSERT_TRUE(second->sync().isSuccess());
    EXPECT_TRUE(second->delegate->lastStatus().is<SyncStatus::UpToDate>());
}

TEST_F(BadInputTests, ATokenOfAnotherContainerIsDroppedAndTheZoneFetchedWhole)
{
    first->add("a", "Alpha");
    ASSERT_TRUE(first->sync().isSuccess());
    second->add("mine", "Kept");
    CloudKit::ChangeTokenPayload foreign {"iCloud.someone.else", "_localAccount", Syncwright::customRecordZoneID(), "life", {}};
    auto token = CloudKit::CKServerChangeToken::withPayload(foreign.encoded());
    second->delegate->setChangeToken(token, Syncwright::CKServerChangeToken::Key::customRecordZone);
    second->delegate->setChangeToken(token, Syncwright::CKServerChangeToken::Key::privateDatabase);

    ASSERT_TRUE(second->sync().isFailure());
    auto texts = errorTexts(second->delegate->lastStatus());
    EXPECT_EQ(texts.size(), 2u) << testing::PrintToString(texts);
    EXPECT_EQ(second->notes(), (Notes {{"a", "Alpha"}, {"mine", "Kept"}}));
    EXPECT_EQ(second->locallyMarked(), 0);

    ASSERT_TRUE(second->sync().isSuccess());
    ASSERT_TRUE(first->sync().isSuccess());
    EXPECT_EQ(first->notes(), second->notes());
}

} // namespace

} // namespace SyncwrightTests
