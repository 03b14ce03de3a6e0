#include "Corvendale/Screens/Items/EntriesCoordinator.SelectionCache.hpp"

#include "Tests/Corvendale/Screens/Items/ItemListFixture.hpp"

#include "Shared/Stores/RecordStoreError.hpp"

#include <gtest/gtest.h>

using Corvendale::EntriesCoordinatorSelectionCache;
using Foundation::String;

namespace {

class SelectionCache : public CorvendaleTests::ItemListFixture {
protected:
    void SetUp() override
    {
        ItemListFixture::SetUp();
        store = recordStore;
        cache = Foundation::make<EntriesCoordinatorSelectionCache>(store);
    }

    std::vector<String> indexTitles() const
    {
        std::vector<String> titles;
        for (const auto& index : cache->selectedEntryIndicies())
            titles.push_back(index.title);
        return titles;
    }

    std::shared_ptr<Shared::RecordStore> store;
    std::shared_ptr<EntriesCoordinatorSelectionCache> cache;
};

} // namespace

TEST_F(SelectionCache, KeepsTheSelectionItsSummariesAndItsFirstItem)
{
    auto bank = SharedTests::addEntry(*store, "Bank");
    auto mail = SharedTests::addEntry(*store, "Mail");
    EXPECT_TRUE(cache->selectedEntryIDs().empty());
    EXPECT_FALSE(cache->firstSelectedEntry());

    cache->update({mail, bank});
    EXPECT_EQ(cache->selectedEntryIDs(), (std::vector<String> {mail, bank}));
    EXPECT_EQ(cache->firstSelectedEntryID(), mail);
    EXPECT_EQ(indexTitles(), (std::vector<String> {"Mail", "Bank"}));
    ASSERT_TRUE(cache->firstSelectedEntry());
    EXPECT_EQ(cache->firstSelectedEntry()->id, mail);

    // An identifier without an item is kept, but has neither summary nor item.
    cache->update({"gone", bank});
    EXPECT_EQ(cache->firstSelectedEntryID(), String("gone"));
    EXPECT_EQ(indexTitles(), (std::vector<String> {"Bank"}));
    EXPECT_FALSE(cache->firstSelectedEntry());

    cache->update({});
    EXPECT_EQ(cache->firstSelectedEntryID(), std::nullopt);
    EXPECT_TRUE(cache->selectedEntryIndicies().empty());
    EXPECT_FALSE(cache->firstSelectedEntry());
}

TEST_F(SelectionCache, AFailedReadKeepsTheOldSelectionWholeAndTheNextUpdateTriesAgain)
{
    auto bank = SharedTests::addEntry(*store, "Bank");
    auto mail = SharedTests::addEntry(*store, "Mail");
    cache->update({bank});

    vault->cryptor->lock();
    EXPECT_THROW(cache->update({mail}), Shared::RecordStoreError);
    EXPECT_EQ(cache->selectedEntryIDs(), (std::vector<String> {bank})) << "no new identifiers beside the old item";
    EXPECT_EQ(cache->firstSelectedEntryID(), bank);
    EXPECT_EQ(indexTitles(), (std::vector<String> {"Bank"}));
    ASSERT_TRUE(cache->firstSelectedEntry());
    EXPECT_EQ(cache->firstSelectedEntry()->id, bank);

    vault->cryptor->unlock(key.copy());
    cache->update({mail});
    EXPECT_EQ(cache->firstSelectedEntryID(), mail);
    ASSERT_TRUE(cache->firstSelectedEntry());
    EXPECT_EQ(cache->firstSelectedEntry()->id, mail);
}
