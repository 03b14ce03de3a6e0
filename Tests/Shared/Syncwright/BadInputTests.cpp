#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/ChangeTokenPayload.hpp"
#include "Tests/Support/Files.hpp"

#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

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
    struct SavedNote {
        std::string name;
        std::string type;
        std::string text;
    };
    // A batch of the oldest format, which has no checksum, saving the notes.
    std::string batch(std::int64_t sequence, const std::vector<SavedNote>& notes, const std::string& container = Installation::containerIdentifier,
                      std::int64_t version = 1)
    {
        Foundation::JSONStreamWriter writer;
        writer.beginObject()
            .key("format").string("CloudKit change batch")
            .key("version").integer(version)
            .key("container").string(container)
            .key("account").string("_localAccount")
            .key("device").string(std::string(32, 'd'))
            .key("sequence").integer(sequence)
            .key("clock").integer(1000)
            .key("date").real(0.0)
            .key("changes").beginArray();
        for (const auto& note : notes) {
            writer.beginObject()
                .key("change").string("saveRecord")
                .key("zone").string("CustomRecordZone")
                .key("owner").string(CloudKit::CKCurrentUserDefaultName)
                .key("incarnation").string(zoneIncarnation())
                .key("name").string(note.name)
                .key("type").string(note.type)
                .key("replacesFields").boolean(true)
                .key("fields").beginObject().key("text").beginObject().key("string").string(note.text).endObject().endObject()
                .endObject();
        }
        return writer.endArray().endObject().take();
    }
    // The life of the custom zone, as the batch that made it names it.
    std::string zoneIncarnation()
    {
        for (const auto& entry : std::filesystem::directory_iterator(batchesFolder())) {
            auto text = TestSupport::readText(entry.path());
            auto document = Foundation::JSONDocument::tryParse(text);
            if (!document)
                continue;
            Foundation::JSONView json(*document);
            auto batch = json.find("batch").value_or(json);
            auto changes = batch.find("changes");
            if (!changes)
                continue;
            for (auto change : changes->elements()) {
                if (auto kind = change.find("change"); kind && kind->string() == "createZone")
                    return std::string(change.find("incarnation")->string().value());
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
    placeBatch(2, batch(2, {{"foreign", "Note", "x"}}, "iCloud.someone.else"));
    placeBatch(3, batch(3, {{"future", "Note", "x"}}, Installation::containerIdentifier, 99));
    placeBatch(4, batch(4, {{"odd", "not a type!", "x"}, {"b", "Note", "Bravo"}}));

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
