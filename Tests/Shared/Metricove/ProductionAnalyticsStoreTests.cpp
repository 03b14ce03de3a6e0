#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Metricove/ProductionAnalyticsStore.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
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
    std::vector<nlohmann::json> events;
    for (std::string line; std::getline(lines, line);)
        events.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["domain"], "Shared.RecordStoreError");
    EXPECT_EQ(events[0]["code"], 0);
    EXPECT_EQ(events[0]["context"], "performActionAndUpdateSelection(entryIDs:action:)");
    EXPECT_EQ(events[1]["text"], "EntriesCoordinator.contextMenu(titleButton:), filter: Trash");
    EXPECT_EQ(events[0]["analyticsID"], store->analyticsIdentifier().uuidString().utf8());

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
