#include "Tests/Shared/Stores/RecordStoreTests.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>
#include <map>

using namespace Shared;
using SharedTests::addEntry;
using Filter = Entry::Filter;
using SortMethod = Settings::Items::SortMethod;
using SharedTests::RecordStoreTests;

namespace {

// The summaries the list gets, by identifier.
std::map<std::string, std::shared_ptr<const EntryIndex>> summaries(const RecordStore& store)
{
    std::map<std::string, std::shared_ptr<const EntryIndex>> result;
    for (auto& summary : store.sharedEntryIndices(Filter::allItems(), SortMethod::alphabetical))
        result.emplace(summary->entryID.utf8(), std::move(summary));
    return result;
}

// A sync's end (or the program becoming active) as the store hears of it, and what it posts.
int finishSync(RecordStore& store, Foundation::NotificationCenter& center)
{
    int updates = 0;
    auto token = center.addObserver(RecordStore::recordStoreDidUpdateRecords(), nullptr, nullptr, [&](const Foundation::Notification&) { ++updates; });
    store.didSynchronize();
    store.managedObjectContext()->performAndWait([] { });
    TestSupport::runMainLoopUntilIdle();
    center.removeObserver(token);
    return updates;
}

} // namespace

// The extension (its own connection to the file) changes, adds and deletes items: the program's index
// takes in just those, so every other item's summary is the one it had, and the list it shows is the
// one a fresh reading gives.
TEST_F(RecordStoreTests, WhatAnotherProcessSavedReachesTheIndexAsThoseItemsAlone)
{
    std::vector<Foundation::String> ids;
    for (int i = 0; i < 30; ++i)
        ids.push_back(addEntry(*store, Foundation::String("Item " + std::to_string(i))));
    auto before = summaries(*store);

    auto extension = SharedTests::openRecordStore(*vault);
    auto context = extension->makeEditingContext();
    context->setText("Renamed", Entry::SystemField::ID::title, ids[3]);
    context->save();
    extension->setTrashed({ids[4]}, true);
    extension->permanentlyDelete({ids[5]});
    auto added = addEntry(*extension, "Added elsewhere");

    EXPECT_EQ(finishSync(*store, *vault->notificationCenter), 1);
    auto after = summaries(*store);
    EXPECT_EQ(after.size(), 29u) << "one deleted, one in the trash, one added";
    EXPECT_EQ(after.count(ids[5].utf8()), 0u);
    ASSERT_EQ(after.count(added.utf8()), 1u);
    EXPECT_EQ(after[added.utf8()]->title, "Added elsewhere");
    EXPECT_EQ(after[ids[3].utf8()]->title, "Renamed");
    EXPECT_EQ(store->count(Filter::trash()), 1);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i < 3 || i > 5) {
            ASSERT_EQ(after.count(ids[i].utf8()), 1u);
            EXPECT_EQ(after[ids[i].utf8()], before[ids[i].utf8()]) << "item " << i << " was read again";
        }
    }
    auto fresh = SharedTests::openRecordStore(*vault);
    auto titlesOf = [](const std::vector<EntryIndex>& indices) {
        std::vector<std::string> titles;
        for (const auto& index : indices)
            titles.push_back(index.title.utf8() + (index.isTrashed ? " (trashed)" : ""));
        return titles;
    };
    EXPECT_EQ(titlesOf(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)),
              titlesOf(fresh->entryIndices(Filter::allItems(), SortMethod::alphabetical)));
    EXPECT_EQ(finishSync(*store, *vault->notificationCenter), 0) << "nothing twice";
}

// This process's own saves pile up in the history until a check finds no one else saved; then it is
// forgotten. One behind forgotten history, or with an item whose fetched record waits, reads its index
// whole and still shows every change.
TEST_F(RecordStoreTests, HistoryIsForgottenOnceNeededByNoneAndAnIndexBehindItIsReadWhole)
{
    std::vector<Foundation::String> ids;
    for (int i = 0; i < 1100; ++i)
        ids.push_back(Foundation::String("item-" + std::to_string(i)));
    {
        std::vector<Entry> entries;
        for (const auto& id : ids) {
            auto entry = Entry::make(Entry::Category::login, Foundation::Date::now());
            entry.id = id;
            entry.title = id;
            entries.push_back(std::move(entry));
        }
        store->insertEntries(entries, {});
    }
    EXPECT_EQ(store->count(Filter::allItems()), 1100);
    auto& context = *store->managedObjectContext();
    auto historyAfter = [&](std::int64_t stamp) {
        return context.performAndWait([&] {
            return context.execute(CoreData::NSPersistentHistoryChangeRequest::fetchHistory(CoreData::NSPersistentHistoryToken(stamp))).changes.size();
        });
    };
    ASSERT_GE(historyAfter(0), 1100u);
    EXPECT_EQ(finishSync(*store, *vault->notificationCenter), 0);
    EXPECT_THROW(historyAfter(0), Foundation::Error) << "forgotten: nobody needs it";

    // The extension, behind what is forgotten, saves; so does this process, and its history is
    // forgotten before it hears of the extension's save.
    auto extension = SharedTests::openRecordStore(*vault);
    auto renaming = extension->makeEditingContext();
    renaming->setText("Renamed", Entry::SystemField::ID::title, ids[7]);
    renaming->save();
    auto& extensionContext = *extension->managedObjectContext();
    extensionContext.performAndWait([&] {
        extensionContext.execute(CoreData::NSPersistentHistoryChangeRequest::deleteHistory(extensionContext.currentPersistentHistoryToken()));
    });
    EXPECT_EQ(finishSync(*store, *vault->notificationCenter), 1);
    EXPECT_EQ(summaries(*store)[ids[7].utf8()]->title, "Renamed");
}

// While the key is derived the store reads the sealed summaries ahead; the unlock's first list takes
// them only if nothing was saved since. Here the extension, unlocked on its own, renames and adds an
// item in between: the list shows both, as a store that read nothing ahead would.
TEST_F(RecordStoreTests, SummariesReadWhileTheKeyIsDerivedGiveWayToSavesMadeMeanwhile)
{
    auto key = Cryptor::Key::random();
    vault->cryptor->unlock(key.copy());
    std::vector<Foundation::String> ids;
    for (int i = 0; i < 3; ++i)
        ids.push_back(addEntry(*store, Foundation::String("Item " + std::to_string(i))));
    auto titlesNow = [&] {
        std::vector<std::string> titles;
        for (const auto& summary : store->sharedEntryIndices(Filter::allItems(), SortMethod::alphabetical))
            titles.push_back(summary->title.utf8());
        return titles;
    };
    auto tryPassword = [&] {
        store->willTryPassword();
        store->managedObjectContext()->performAndWait([] { });
    };
    vault->cryptor->lock();
    tryPassword();
    vault->cryptor->unlock(key.copy());
    EXPECT_EQ(titlesNow(), (std::vector<std::string> {"Item 0", "Item 1", "Item 2"})) << "nothing saved meanwhile";

    vault->cryptor->lock();
    tryPassword();
    auto extensionCryptor = Foundation::make<Cryptor>(vault->notificationCenter);
    extensionCryptor->unlock(key.copy());
    auto extension = Foundation::make<RecordStore>(vault->notificationCenter, extensionCryptor, vault->attachmentDataStore, vault->preferenceStore,
                                                   SharedTests::productionStoreType());
    auto renaming = extension->makeEditingContext();
    renaming->setText("Renamed", Entry::SystemField::ID::title, ids[1]);
    renaming->save();
    addEntry(*extension, "Added elsewhere");
    // A wrong password first: the next try reads ahead again.
    store->unlockFailed();
    tryPassword();
    addEntry(*extension, "Added after the wrong password");
    vault->cryptor->unlock(key.copy());
    EXPECT_EQ(titlesNow(), (std::vector<std::string> {"Added after the wrong password", "Added elsewhere", "Item 0", "Item 2", "Renamed"}));
}
