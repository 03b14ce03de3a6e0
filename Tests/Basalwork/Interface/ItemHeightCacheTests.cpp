#include "Basalwork/Interface/ItemHeightCache.hpp"
#include "Tests/Basalwork/Interface/ListRows.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIContentSizeCategory.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using Foundation::NotificationCenter;
using ListRows::Row;
using ListRows::Section;
using UIKit::UIContentSizeCategory;

namespace {

class ItemHeights : public testing::Test {
protected:
    std::shared_ptr<NotificationCenter> center = make<NotificationCenter>();
    std::shared_ptr<ItemHeightCache<Section>> cache = make<ItemHeightCache<Section>>(center);
    const Row login {"login", 0};
    const Row card {"card", 0};
};

using Ids = std::optional<std::vector<Foundation::String>>;

} // namespace

TEST_F(ItemHeights, AnswerTheHeightMeasuredForTheSameRowAtTheSameWidth)
{
    cache->set(44, login, 320);
    EXPECT_EQ(cache->height(login, 320), 44);
    EXPECT_EQ(cache->height(login, 320), 44);
    EXPECT_EQ(cache->height(card, 320), std::nullopt);
    // Another width is another layout, however close; asking does not forget the one measured.
    EXPECT_EQ(cache->height(login, 320.0000001), std::nullopt);
    EXPECT_EQ(cache->height(login, 320), 44);

    cache->set(0.5, login, 0.0);
    EXPECT_EQ(cache->height(login, -0.0), 0.5);
    cache->set(60, login, 320);
    EXPECT_EQ(cache->height(login, 320), 60);
}

TEST_F(ItemHeights, ForgetEveryWidthOfARowWhoseContentChanged)
{
    cache->set(44, login, 320);
    cache->set(88, login, 160);
    cache->set(44, card, 320);
    EXPECT_EQ(cache->height(Row {"login", 1}, 320), std::nullopt);
    EXPECT_EQ(cache->height(login, 160), std::nullopt);
    EXPECT_EQ(cache->height(card, 320), 44);
}

TEST_F(ItemHeights, ClearOnlyWhatIsNamed)
{
    cache->set(44, login, 320);
    cache->set(44, card, 320);
    cache->clear(Ids(std::vector<Foundation::String> {}));
    cache->clear(std::unordered_set<Foundation::String> {});
    EXPECT_EQ(cache->height(login, 320), 44);

    cache->clear(std::unordered_set<Foundation::String> {"card"});
    EXPECT_EQ(cache->height(card, 320), std::nullopt);
    EXPECT_EQ(cache->height(login, 320), 44);

    cache->clear(Ids());
    EXPECT_EQ(cache->height(login, 320), std::nullopt);
}

TEST_F(ItemHeights, ForgetEverythingWhenTheTextSizeChanges)
{
    cache->set(44, login, 320);
    cache->set(44, card, 160);
    center->post(UIContentSizeCategory::didChangeNotification());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(cache->height(login, 320), std::nullopt);
    EXPECT_EQ(cache->height(card, 160), std::nullopt);

    // The observer outlives the cache and must then do nothing.
    cache.reset();
    center->post(UIContentSizeCategory::didChangeNotification());
    TestSupport::runMainLoopUntilIdle();
}
