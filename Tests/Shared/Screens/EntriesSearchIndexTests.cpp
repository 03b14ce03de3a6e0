#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Screens/EntriesSearch.Index.hpp"
#include "Shared/Screens/EntriesSearch.hpp"
#include "Shared/Screens/EntriesVC.Worker.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace Shared;
using Basalwork::Difference;
using Fields = Settings::Items::SearchableFields;
using Foundation::String;

namespace {

// Pieces of text whose case, composition or neighbours change how they read: a final sigma, a dotted
// capital I, a sharp s, a letter with a combining accent beside its composed form, a script without
// case, a family of emoji, white space that is not a space.
const char* const pieces[] = {"a", "b", "ab", "ba", "Ba", "AB", "n", "k", " ", "  ", "\u00a0", "\t", "-", "1", "42", "x",
                              "\u03a3", "\u03c3", "\u03c2", "\u039f\u0394\u039f\u03a3", "\u0130", "i", "I", "\u00df", "SS", "ss",
                              "e\u0301", "\u00e9", "\u00c9", "E", "\u05e9", "\u05dc", "\u4e2d", "\u6587",
                              "\U0001F468\u200D\U0001F469\u200D\U0001F467", "\U0001F468", "bank", "Bank", "mail", ".", "@"};

std::string randomText(std::mt19937& random, int maxPieces)
{
    std::string text;
    auto count = std::uniform_int_distribution<int>(0, maxPieces)(random);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

EntryIndex randomItem(std::mt19937& random, int number)
{
    EntryIndex index;
    index.entryID = String("item-" + std::to_string(number));
    index.title = String(randomText(random, 6));
    index.subtitle = String(randomText(random, 4));
    index.username = String(randomText(random, 3));
    if (random() % 2)
        index.websites = {String(randomText(random, 3))};
    if (random() % 3 == 0)
        index.tags = {String(randomText(random, 2)), String(randomText(random, 2))};
    index.notes = String(randomText(random, 8));
    return index;
}

// The reference: every item's haystack searched whole.
std::vector<std::string> searchedWhole(const std::vector<std::shared_ptr<const EntryIndex>>& items, Fields fields, const String& text)
{
    auto words = EntriesSearch::words(text);
    std::vector<std::string> ids;
    for (const auto& item : items) {
        auto haystack = EntriesSearch::haystack(*item, fields);
        bool isASCII = std::ranges::all_of(haystack, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (words.empty() || EntriesSearch::matches(haystack, isASCII, words))
            ids.push_back(item->entryID.utf8());
    }
    return ids;
}

std::vector<std::string> shownIDs(const EntriesVCRows& rows)
{
    std::vector<std::string> ids;
    for (std::size_t row = 0; row < rows.shownCount(); ++row)
        ids.push_back(rows.shownItem(row).entryID.utf8());
    return ids;
}

// What a table shows after a batch: the old rows without the removed and moved ones, then the inserted
// and moved ones at their new places.
std::vector<std::string> applied(const std::vector<std::string>& before, const Basalwork::ChangeSet& changes, const std::vector<std::string>& after)
{
    const auto* animate = changes.updateAction().as<Basalwork::ChangeSet::UpdateAction::Animate>();
    if (!animate)
        return after; // reloaded
    std::vector<bool> leaving(before.size());
    std::vector<std::pair<std::int64_t, std::string>> arriving;
    for (const auto& section : animate->itemDifferencesPerSection) {
        for (const auto& difference : section.differences) {
            if (auto removed = difference.as<Difference::Removed>()) {
                leaving[static_cast<std::size_t>(removed->from)] = true;
            } else if (auto inserted = difference.as<Difference::Inserted>()) {
                arriving.emplace_back(inserted->at, after[static_cast<std::size_t>(inserted->at)]);
            } else if (auto moved = difference.as<Difference::Moved>()) {
                leaving[static_cast<std::size_t>(moved->from)] = true;
                arriving.emplace_back(moved->to, before[static_cast<std::size_t>(moved->from)]);
            }
        }
    }
    std::vector<std::string> result;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!leaving[i])
            result.push_back(before[i]);
    std::sort(arriving.begin(), arriving.end());
    for (const auto& [at, id] : arriving)
        result.insert(result.begin() + at, id);
    return result;
}

// The reference for a step that brings items: the list difference over every row, paired by identifier.
struct ReferenceRow {
    const EntryIndex* index;
    const String& id() const { return index->entryID; }
    friend bool operator==(const ReferenceRow& a, const ReferenceRow& b) { return *a.index == *b.index; }
};

std::vector<Difference> referenceDifferences(const EntriesVCRows& from, const EntriesVCRows& to)
{
    auto rowsOf = [](const EntriesVCRows& rows) {
        std::vector<ReferenceRow> result;
        for (std::size_t row = 0; row < rows.shownCount(); ++row)
            result.push_back({&rows.shownItem(row)});
        return result;
    };
    return Basalwork::differences(rowsOf(from), rowsOf(to));
}

} // namespace

namespace {

// The ids the index's slots stand for, sorted, beside those searching each item whole finds.
void expectSameAnswers(const EntriesSearchIndex& index, const std::vector<EntryIndex>& items, const std::vector<EntriesSearchIndex::Slot>& slots,
                       Fields fields, std::mt19937& random, int queries = 150)
{
    std::vector<std::pair<std::string, bool>> haystacks;
    for (const auto& item : items) {
        auto haystack = EntriesSearch::haystack(item, fields);
        bool isASCII = std::ranges::all_of(haystack, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        haystacks.emplace_back(std::move(haystack), isASCII);
    }
    for (int query = 0; query < queries; ++query) {
        String text(randomText(random, 3));
        auto words = EntriesSearch::words(text);
        if (words.empty())
            continue;
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (EntriesSearch::matches(haystacks[i].first, haystacks[i].second, words))
                expected.push_back(items[i].entryID.utf8());
        std::vector<std::string> found;
        for (auto slot : index.matches(words))
            found.push_back(items[static_cast<std::size_t>(std::ranges::find(slots, slot) - slots.begin())].entryID.utf8());
        std::sort(expected.begin(), expected.end());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, expected) << text.utf8();
    }
}

} // namespace

// Built at once or item by item, with items changing and going, the index answers exactly what searching
// every item's text whole answers, for random text full of letters whose case or composition changes how
// they read.
TEST(EntriesSearchIndex, FindsExactlyWhatSearchingEveryTextWholeFinds)
{
    std::mt19937 random(20260101);
    for (auto fields : {Fields::titleTags, Fields::titleSubtitleTags, Fields::titleSubtitleUsernameTagsNotes}) {
        SCOPED_TRACE(static_cast<int>(fields));
        std::vector<EntryIndex> items;
        for (int i = 0; i < 400; ++i)
            items.push_back(randomItem(random, i));
        std::vector<const EntryIndex*> pointers;
        std::vector<EntriesSearchIndex::Slot> slots;
        for (const auto& item : items) {
            slots.push_back(static_cast<EntriesSearchIndex::Slot>(pointers.size()));
            pointers.push_back(&item);
        }
        EntriesSearchIndex built;
        built.assign(pointers, fields);
        EXPECT_TRUE(built.hasTrigramLists());
        expectSameAnswers(built, items, slots, fields, random);

        // Before its trigram lists are made, and when their making gives way half done.
        EntriesSearchIndex textsOnly;
        textsOnly.assignTexts(pointers, fields);
        EXPECT_FALSE(textsOnly.hasTrigramLists());
        expectSameAnswers(textsOnly, items, slots, fields, random, 40);
        std::atomic<int> asked {0};
        EXPECT_FALSE(textsOnly.makeTrigramLists([&] { return ++asked > 1; }));
        EXPECT_FALSE(textsOnly.hasTrigramLists());
        expectSameAnswers(textsOnly, items, slots, fields, random, 40);

        // Item by item into an empty index, and into one made at once, then changed, removed, and slots
        // taken again: the same slots in both.
        EntriesSearchIndex grown(fields);
        for (std::size_t i = 0; i < items.size(); ++i)
            slots[i] = grown.insert(items[i]);
        auto change = [&](int count) {
            for (int i = 0; i < count; ++i) {
                auto at = random() % items.size();
                if (random() % 3 == 0) {
                    grown.remove(slots[at]);
                    built.remove(slots[at]);
                    items[at] = randomItem(random, 1000 + i);
                    slots[at] = grown.insert(items[at]);
                    EXPECT_EQ(built.insert(items[at]), slots[at]);
                } else {
                    auto changed = randomItem(random, 0);
                    changed.entryID = items[at].entryID;
                    items[at] = changed;
                    grown.update(slots[at], items[at]);
                    built.update(slots[at], items[at]);
                }
            }
        };
        change(150);
        EXPECT_TRUE(built.hasTrigramLists()) << "a few changes go beside the lists";
        expectSameAnswers(grown, items, slots, fields, random);
        expectSameAnswers(built, items, slots, fields, random);
        // So many that the lists are made again when next wanted.
        change(5000);
        EXPECT_FALSE(built.hasTrigramLists());
        expectSameAnswers(built, items, slots, fields, random, 40);
        EXPECT_TRUE(built.makeTrigramLists());
        expectSameAnswers(built, items, slots, fields, random, 40);
    }
}

// Items not indexed yet, or whose index gave way half made, are searched one by one with the same
// answers, narrowed to earlier answers when given; an index that gave way holds nothing and is made
// whole by the next call.
TEST(EntriesSearchIndex, ItemsNotYetIndexedAnswerAsTheIndexDoes)
{
    std::mt19937 random(4471);
    auto fields = Fields::titleSubtitleUsernameTagsNotes;
    std::vector<EntryIndex> items;
    std::vector<std::shared_ptr<const EntryIndex>> shared;
    std::vector<const EntryIndex*> pointers;
    for (int i = 0; i < 9000; ++i)
        items.push_back(randomItem(random, i));
    for (const auto& item : items) {
        shared.push_back(std::make_shared<const EntryIndex>(item));
        pointers.push_back(&item);
    }
    EntriesSearchIndex index;
    std::atomic<int> asked {0};
    EXPECT_FALSE(index.assignTexts(pointers, fields, [&] { return ++asked > 1; }));
    EXPECT_TRUE(index.matches({String("a")}).empty()) << "half made, it holds no item";
    ASSERT_TRUE(index.assignTexts(pointers, fields, [] { return false; }));
    std::vector<std::uint32_t> every(items.size());
    for (std::uint32_t i = 0; i < every.size(); ++i)
        every[i] = i;
    for (int query = 0; query < 60; ++query) {
        String text(randomText(random, 3));
        auto words = EntriesSearch::words(text);
        if (words.empty())
            continue;
        auto expected = index.matches(words);
        EXPECT_EQ(EntriesSearchIndex::scan(shared, fields, words), expected) << text.utf8();
        std::vector<std::uint32_t> half;
        for (auto position : every)
            if (random() % 2)
                half.push_back(position);
        std::vector<std::uint32_t> narrowed;
        std::ranges::set_intersection(half, expected, std::back_inserter(narrowed));
        EXPECT_EQ(EntriesSearchIndex::scan(shared, fields, words, &half), narrowed) << text.utf8();
    }
}

// A person typing on while the index is made: its texts give way to the first keystroke only, so that
// keystrokes coming faster than they are made do not each read every item.
TEST(EntriesSearchIndex, TheListsTextsGiveWayOnceToTypingThenGetMade)
{
    std::mt19937 random(8);
    std::vector<std::shared_ptr<const EntryIndex>> items;
    for (int i = 0; i < 9000; ++i)
        items.push_back(std::make_shared<const EntryIndex>(randomItem(random, i)));
    auto fields = Fields::titleSubtitleUsernameTagsNotes;
    EntriesVCWorker worker;
    worker.run({EntriesVCItems::shared(items), fields, String()});
    auto typing = [] { return true; };
    worker.indexItems(typing);
    EXPECT_FALSE(worker.isIndexCurrent());
    auto answer = worker.run({std::nullopt, fields, String("b")});
    EXPECT_EQ(shownIDs(*answer.rows), searchedWhole(items, fields, String("b")));
    worker.indexItems(typing);
    EXPECT_TRUE(worker.isIndexCurrent());
    answer = worker.run({std::nullopt, fields, String("ba")});
    EXPECT_EQ(shownIDs(*answer.rows), searchedWhole(items, fields, String("ba")));
    // Other items (another filter) give way once again; a few changed ones are followed at once.
    std::vector<std::shared_ptr<const EntryIndex>> others;
    for (int i = 0; i < 5000; ++i)
        others.push_back(std::make_shared<const EntryIndex>(randomItem(random, 20000 + i)));
    worker.run({EntriesVCItems::shared(others), fields, String()});
    worker.indexItems(typing);
    EXPECT_FALSE(worker.isIndexCurrent());
    worker.indexItems(typing);
    others.pop_back();
    worker.run({EntriesVCItems::shared(others), fields, String()});
    worker.indexItems(typing);
    EXPECT_TRUE(worker.isIndexCurrent());
}

// A list typed into, widened, emptied and given changed items (with a search, or without one, which leaves
// the index to catch up later) shows exactly what searching every item whole shows, and each step's batch
// turns the rows shown before into those shown after.
TEST(EntriesSearchIndex, TheListsStepsShowWhatASearchOfEverythingShowsAndTheirBatchesGetThere)
{
    std::mt19937 random(31);
    auto fields = Fields::titleSubtitleUsernameTagsNotes;
    std::vector<std::shared_ptr<const EntryIndex>> items;
    for (int i = 0; i < 300; ++i)
        items.push_back(std::make_shared<const EntryIndex>(randomItem(random, i)));
    EntryIndex endsInSigma;
    endsInSigma.entryID = "sigma-end";
    endsInSigma.title = "\u039f\u0394\u039f\u03a3 bank";
    EntryIndex sigmaInside = endsInSigma;
    sigmaInside.entryID = "sigma-inside";
    sigmaInside.title = "\u039f\u0394\u039f\u03a3Bank";
    items.push_back(std::make_shared<const EntryIndex>(endsInSigma));
    items.push_back(std::make_shared<const EntryIndex>(sigmaInside));
    EntriesVCWorker worker;
    std::vector<std::string> shown;
    std::shared_ptr<const EntriesVCRows> rows;
    auto step = [&](std::optional<EntriesVCItems> given, const String& text) {
        auto result = worker.run({std::move(given), fields, text});
        auto now = shownIDs(*result.rows);
        EXPECT_EQ(now, searchedWhole(result.rows->items()->summaries(), fields, text)) << text.utf8();
        EXPECT_EQ(applied(shown, result.changes, now), now) << text.utf8();
        // Items that arrive change the rows exactly as the whole list difference would.
        if (const auto* animate = result.changes.updateAction().as<Basalwork::ChangeSet::UpdateAction::Animate>();
            animate && rows && result.itemsArrived) {
            ASSERT_EQ(animate->itemDifferencesPerSection.size(), 1u);
            EXPECT_EQ(animate->itemDifferencesPerSection[0].differences, referenceDifferences(*rows, *result.rows)) << text.utf8();
        }
        // The same items in the same rows: only the changed rows are updated in place.
        if (const auto* animate = result.changes.updateAction().as<Basalwork::ChangeSet::UpdateAction::Animate>(); animate && rows && now == shown) {
            std::vector<std::int64_t> expected;
            for (std::size_t row = 0; row < now.size(); ++row)
                if (!(rows->shownItem(row) == result.rows->shownItem(row)))
                    expected.push_back(static_cast<std::int64_t>(row));
            std::vector<std::int64_t> updated;
            for (const auto& section : animate->itemDifferencesPerSection)
                for (const auto& difference : section.differences)
                    if (auto inPlace = difference.as<Difference::UpdatedInPlace>())
                        updated.push_back(inPlace->at);
            EXPECT_EQ(updated, expected) << text.utf8();
        }
        shown = now;
        rows = result.rows;
    };
    step(EntriesVCItems::shared(items), String());
    // A capital sigma reads as a final sigma at the end of a word and as another letter once more
    // follows: typing on must not narrow to what the shorter text found.
    String typed;
    for (const char* letter : {"\u039f", "\u0394", "\u039f", "\u03a3", "B"}) {
        typed = String(typed.utf8() + letter);
        step(std::nullopt, typed);
    }
    EXPECT_NE(std::ranges::find(shown, "sigma-inside"), shown.end());
    for (int round = 0; round < 200; ++round) {
        auto choice = random() % 6;
        if (choice < 3) {
            typed = String(typed.utf8() + pieces[random() % std::size(pieces)]);
        } else if (choice == 3 && !typed.isEmpty()) {
            auto characters = typed.characters();
            characters.pop_back();
            std::string shorter;
            for (const auto& character : characters)
                shorter += String(character).utf8();
            typed = String(shorter);
        } else if (choice == 4) {
            typed = String(randomText(random, 2));
        } else {
            // Some items change, some go, some come, in a new order.
            auto changed = items;
            for (int i = 0; i < 10; ++i) {
                auto at = random() % changed.size();
                auto item = randomItem(random, 0);
                item.entryID = changed[at]->entryID;
                changed[at] = std::make_shared<const EntryIndex>(item);
            }
            // Or only changed, in their places, as a sync's change to a few items leaves them.
            if (random() % 3) {
                changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(random() % changed.size()));
                changed.push_back(std::make_shared<const EntryIndex>(randomItem(random, 5000 + round)));
                std::rotate(changed.begin(), changed.begin() + 3, changed.end());
            }
            // One item renamed into another place, others in between shifting by one.
            if (random() % 2) {
                auto from = random() % changed.size();
                auto item = changed[from];
                changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(from));
                changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(random() % (changed.size() + 1)), item);
            }
            items = changed;
            if (random() % 2) {
                step(EntriesVCItems::shared(items), typed);
                continue;
            }
            // Shown before they are searchable; sometimes the index catches up before the next keystroke,
            // sometimes under other searchable fields.
            typed = String();
            step(EntriesVCItems::shared(items), typed);
            if (random() % 4 == 0) {
                fields = fields == Fields::titleSubtitleUsernameTagsNotes ? Fields::titleTags : Fields::titleSubtitleUsernameTagsNotes;
                step(std::nullopt, typed);
            }
            // The trigram lists may give way to the next keystroke half made.
            if (random() % 2) {
                std::atomic<int> asked {0};
                const int allowed = static_cast<int>(random() % 4);
                worker.indexItems([&] { return asked++ >= allowed; });
            }
            continue;
        }
        step(std::nullopt, typed);
    }
}
