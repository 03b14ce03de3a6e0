#include "Tests/Shared/Stores/RecordStoreTests.hpp"

#include "Shared/Stores/RecordStoreError.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using SharedTests::addEntry;
using SharedTests::RecordStoreTests;
using Filter = Entry::Filter;
using SortMethod = Settings::Items::SortMethod;

TEST_F(RecordStoreTests, ImportsAddInOneSaveAndRestoresReplaceEverything)
{
    auto kept = addEntry(*store, "Kept", "");
    auto gone = addEntry(*store, "Gone", "");
    auto imported = Entry::make(Entry::Category::secureNote, Foundation::Date::now());
    imported.title = "Imported";
    auto duplicate = *store->entry(kept);
    duplicate.title = "Not taken";
    Attachment file {"attachment-1", imported.id, "notes.txt", 5, Foundation::Date::now()};
    EXPECT_EQ(store->existingEntryIDs({kept, imported.id}), std::vector<Foundation::String> {kept});
    store->insertEntries({imported, duplicate}, {file});
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"Gone", "Imported", "Kept"}));
    EXPECT_EQ(store->allAttachments(), std::vector<Attachment> {file});

    // A restore brings its own vault key: the items are sealed under it.
    vault->cryptor->lock();
    vault->cryptor->unlock(Cryptor::Key::random());
    auto restored = duplicate;
    restored.title = "Restored";
    store->replaceAllRecords({restored}, {});
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"Restored"}));
    EXPECT_FALSE(store->entry(gone));
    EXPECT_TRUE(store->allAttachments().empty());
    EXPECT_EQ(store->allEntries().size(), 1u);
}

TEST_F(RecordStoreTests, ImportsInPartsAddInOneSave)
{
    auto key = Cryptor::Key::random();
    vault->cryptor->lock();
    vault->cryptor->unlock(key.copy());
    auto kept = addEntry(*store, "Kept", "");
    auto item = [](const char* title) {
        auto entry = Entry::make(Entry::Category::login, Foundation::Date::now());
        entry.title = title;
        entry.password = "pw";
        return entry;
    };
    auto first = item("First");
    auto second = item("Second");
    auto duplicate = *store->entry(kept);
    duplicate.title = "Not taken";
    Attachment file {"attachment-1", second.id, "notes.txt", 5, Foundation::Date::now()};

    // A part that fails half way: nothing of the import is added.
    auto failed = item("Failed");
    EXPECT_THROW(store->insertEntryBatches([&](Importer::RecordSource::BatchSink& sink) {
        std::vector<Entry> entries {failed};
        std::vector<Attachment> attachments {file};
        sink.add(entries, attachments);
        throw RecordStoreError::vaultLocked();
    }),
                 RecordStoreError);
    EXPECT_FALSE(store->entry(failed.id));
    EXPECT_TRUE(store->allAttachments().empty());

    store->insertEntryBatches([&](Importer::RecordSource::BatchSink& sink) {
        EXPECT_EQ(sink.existingEntryIDs({first.id, kept}), std::vector<Foundation::String> {kept});
        std::vector<Entry> entries {first, duplicate};
        std::vector<Attachment> none;
        sink.add(entries, none);
        entries = {second};
        std::vector<Attachment> attachments {file};
        sink.add(entries, attachments);
    });
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"First", "Kept", "Second"}));
    EXPECT_EQ(store->entry(second.id), second);
    EXPECT_EQ(store->allAttachments(), std::vector<Attachment> {file});
    auto existing = store->existingEntryIDs({first.id, failed.id, second.id});
    std::sort(existing.begin(), existing.end());
    auto expected = std::vector<Foundation::String> {first.id, second.id};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(existing, expected);

    // What was added reads back the same after the vault opens anew.
    vault->cryptor->lock();
    vault->cryptor->unlock(key.copy());
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"First", "Kept", "Second"}));
    EXPECT_EQ(store->entry(first.id), first);
}

TEST_F(RecordStoreTests, ReadingInBatchesFollowsTheListAndLeavesOutTheTrashOnlyWhenAsked)
{
    // More items than a batch; taking some out puts the last ones in their places in the list, out of
    // the store's order.
    std::vector<Entry> entries;
    const auto now = Foundation::Date::now();
    for (int i = 0; i < 2300; ++i) {
        auto entry = Entry::make(Entry::Category::login, now);
        entry.title = Foundation::String("Item " + std::to_string(i));
        if (i % 100 == 7)
            entry.trashedAt = now;
        entries.push_back(std::move(entry));
    }
    store->insertEntries(entries, {});
    store->permanentlyDelete({entries[1].id, entries[5].id, entries[2000].id});
    const auto all = store->allEntries();
    ASSERT_EQ(all.size(), 2297u);
    ASSERT_NE(all[1].id, entries[2].id) << "the list is expected out of the store's order";
    for (bool includingTrashed : {true, false}) {
        std::vector<Entry> expected;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected), [&](const Entry& entry) { return includingTrashed || !entry.isTrashed(); });
        std::vector<Entry> read;
        std::size_t counted = 0;
        store->readEntries(includingTrashed, [&](std::size_t count) { counted = count; },
                           [&](std::vector<Entry>& batch) { std::move(batch.begin(), batch.end(), std::back_inserter(read)); });
        EXPECT_EQ(counted, expected.size());
        EXPECT_TRUE(read == expected) << includingTrashed;
    }
}
