#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Metricove/ProductionAnalyticsStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

using namespace Metricove;

TEST(ProductionAnalyticsStoreTests, EventsAreAppendedLocallyAsJSONLines)
{
    SharedTests::removeApplicationGroup();
    auto location = Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Analytics"));
    auto store = Foundation::make<ProductionAnalyticsStore>(*Foundation::URL::string("https://corvendale.example/analytics"),
                                                            ProductionAnalyticsStore::EventUploadSchedulePolicy::automatic, location);
    store->track(AnalyticsEvent::error(Shared::RecordStoreError::entryNotFound("E-1"), "performActionAndUpdateSelection(entryIDs:action:)"));
    store->track(AnalyticsEvent::message("EntriesCoordinator.contextMenu(titleButton:), filter: Trash"));

    std::istringstream lines(TestSupport::readText(store->eventsFileURL().path().utf8()));
    std::vector<std::string> texts;
    for (std::string line; std::getline(lines, line);)
        texts.push_back(line);
    std::vector<std::unique_ptr<Foundation::JSONDocument>> events;
    for (const auto& text : texts)
        events.push_back(std::make_unique<Foundation::JSONDocument>(text));
    auto member = [&](std::size_t event, const char* key) { return Foundation::JSONView(*events[event]).find(key); };
    auto text = [&](std::size_t event, const char* key) { return std::string(member(event, key).value().string().value_or("<no text>")); };
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(text(0, "domain"), "Shared.RecordStoreError");
    EXPECT_EQ(member(0, "code").value().int64(), 0);
    EXPECT_EQ(text(0, "context"), "performActionAndUpdateSelection(entryIDs:action:)");
    EXPECT_EQ(text(1, "text"), "EntriesCoordinator.contextMenu(titleButton:), filter: Trash");
    EXPECT_EQ(text(0, "analyticsID"), store->analyticsIdentifier().uuidString().utf8());

    // Another process of the group reads the same identifier.
    auto other = Foundation::make<ProductionAnalyticsStore>(*Foundation::URL::string("https://corvendale.example/analytics"),
                                                            ProductionAnalyticsStore::EventUploadSchedulePolicy::manual, location);
    EXPECT_EQ(other->analyticsIdentifier(), store->analyticsIdentifier());
}

TEST(ProductionAnalyticsStoreTests, OnlyErrorsThatAreFaultsAreTracked)
{
    EXPECT_TRUE(shouldTrackInAnalytics(Shared::RecordStoreError::entryNotFound("E-1")));
    EXPECT_FALSE(shouldTrackInAnalytics(Shared::RecordStoreError::vaultLocked()));
    EXPECT_FALSE(shouldTrackInAnalytics(Basalwork::GeneralError::userDidCancel()));
    EXPECT_TRUE(shouldTrackInAnalytics(Basalwork::GeneralError::failedWithMessage("x")));
    EXPECT_FALSE(shouldTrackInAnalytics(Foundation::NSError(Foundation::NSURLErrorDomain, -1009)));
    EXPECT_TRUE(shouldTrackInAnalytics(Foundation::NSError(Foundation::NSCocoaErrorDomain, 4)));
}
