#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"

#include "Platform/Foundation/DecodingError.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

using namespace Shared;
using Filter = Entry::Filter;
using SortMethod = Settings::Items::SortMethod;

// Plain ASCII takes a shortcut; it must agree with the general path, which trims every kind of white space.
TEST(RecordStoreIndex, HostOfAWebsite)
{
    using Index = RecordStore::Index;
    EXPECT_EQ(Index::host(Foundation::String(" \t HTTPS://Me@WWW.Bank.Example.COM.:443/login?next=/ \r\n")), "bank.example.com");
    EXPECT_EQ(Index::host(Foundation::String("\x0b\x0cMail.Example.org\x0b")), "mail.example.org");
    // A control character is no part of a host, so such a text names none.
    EXPECT_EQ(Index::host(Foundation::String("\x0b\x0cMail.Example.org\x1f")), "");
    EXPECT_EQ(Index::host(Foundation::String("[::1]:8080")), "[::1]");
    EXPECT_EQ(Index::host(Foundation::String("\u00a0https://WWW.Bücher.Example/\u2028")), "bücher.example");
    EXPECT_EQ(Index::host(Foundation::String("\u3000ÉCOLE.example\u0085")), "école.example");
    EXPECT_EQ(Index::host(Foundation::String(" \n ")), "");
}

TEST(RecordStoreIndex, ASummaryUnpacksAsPackedAndOneOfTheFormatWithoutTheAttachmentMarkIsRefused)
{
    using Index = RecordStore::Index;
    EntryIndex index;
    index.entryID = "item";
    index.title = "Contract";
    index.websites = {"example.com"};
    index.isFavorite = true;
    index.hasAttachments = true;
    auto packed = Index::packed(index);
    EXPECT_EQ(Index::unpacked(packed), index);

    auto bytes = packed.byteVector();
    bytes[0] = 1; // summaries written before the mark: made again from their items
    EXPECT_THROW(Index::unpacked(Foundation::Data(bytes)), Foundation::DecodingError);
}

// Items are found by identifier however short, replaced and removed; those added or replaced after the
// first search (which makes every item's search text and hosts) are searched and matched too.
TEST(RecordStoreIndex, ReplacesRemovesAndSearchesItemsAddedAfterTheFirstSearch)
{
    RecordStore::Index index(Settings::Items::SearchableFields::titleSubtitleUsernameWebsitesTags);
    auto summary = [](const char* id, const char* title, std::vector<Foundation::String> websites = {}) {
        EntryIndex made;
        made.entryID = id;
        made.title = title;
        made.websites = std::move(websites);
        return made;
    };
    auto found = [&](const char* text) {
        std::vector<Foundation::String> ids;
        auto selected = index.select(Filter::allItems(), Foundation::String(text), std::nullopt, false);
        for (const auto& item : RecordStore::Index::sorted(std::move(selected), SortMethod::alphabetical))
            ids.push_back(item->entryID);
        return ids;
    };
    for (const auto* id : {"a", "b", "c"})
        index.insert(summary(id, (std::string("Alpha ") + id).c_str()));
    EXPECT_EQ(found("alpha"), (std::vector<Foundation::String> {"a", "b", "c"}));

    index.insert(summary("d", "Alpine", {"https://www.Example.com/login"}));
    index.insert(summary("a", "Zulu"));
    EXPECT_EQ(found("alp"), (std::vector<Foundation::String> {"b", "c", "d"}));
    EXPECT_EQ(found("example"), (std::vector<Foundation::String> {"d"}));
    EXPECT_TRUE(index.hasEntries("login.example.com", false));
    EXPECT_EQ(index.find("a")->title, "Zulu");

    index.remove("b");
    index.remove("nonesuch");
    EXPECT_EQ(index.size(), 3u);
    EXPECT_EQ(index.find("b"), nullptr);
    EXPECT_EQ(index.find("d")->title, "Alpine") << "the last item took the removed one's place";
    EXPECT_EQ(found("alp"), (std::vector<Foundation::String> {"c", "d"}));
}

// Thousands of items through growth, removals in scattered order (each moving the last item into the gap)
// and replacements: every identifier the index still holds is found with its own summary, and no other.
TEST(RecordStoreIndex, EveryItemStaysFoundThroughGrowthRemovalsAndReplacements)
{
    RecordStore::Index index(Settings::Items::SearchableFields::titleTags);
    std::map<std::string, std::string> expected;
    auto add = [&](const std::string& id, const std::string& title) {
        EntryIndex made;
        made.entryID = Foundation::String(id);
        made.title = Foundation::String(title);
        index.insert(std::move(made));
        expected[id] = title;
    };
    for (int i = 0; i < 3000; ++i)
        add("item-" + std::to_string(i), "first " + std::to_string(i));
    for (int i = 0; i < 3000; i += 1 + i % 3) {
        auto id = "item-" + std::to_string((i * 7919) % 3000);
        index.remove(Foundation::String(id));
        expected.erase(id);
    }
    for (int i = 0; i < 3000; i += 5)
        add("item-" + std::to_string(i), "second " + std::to_string(i));
    for (int i = 3000; i < 4000; ++i)
        add("item-" + std::to_string(i), "third " + std::to_string(i));

    EXPECT_EQ(index.size(), expected.size());
    for (int i = 0; i < 4000; ++i) {
        auto id = "item-" + std::to_string(i);
        const auto* found = index.find(Foundation::String(id));
        auto wanted = expected.find(id);
        if (wanted == expected.end()) {
            EXPECT_EQ(found, nullptr) << id;
        } else {
            ASSERT_NE(found, nullptr) << id;
            EXPECT_EQ(found->title.utf8(), wanted->second) << id;
        }
    }
}

// Whether any item passes stops at the first that does: it must still leave out what the count leaves out.
TEST(RecordStoreIndex, WhetherAnyItemPassesAFilterAgreesWithTheCount)
{
    RecordStore::Index index(Settings::Items::SearchableFields::titleTags);
    auto add = [&](const char* id, bool favorite, bool trashed, bool safe) {
        EntryIndex made;
        made.entryID = id;
        made.title = id;
        made.isFavorite = favorite;
        made.isTrashed = trashed;
        made.isSafeForInspection = safe;
        index.insert(std::move(made));
    };
    add("plain", false, false, true);
    add("favorite", true, false, false);
    add("trashed", false, true, true);
    for (const auto& filter : {Filter::allItems(), Filter::favorites(), Filter::trash(), Filter::archived(), Filter::tag("none")}) {
        for (bool safeOnly : {false, true})
            EXPECT_EQ(index.hasEntries(filter, safeOnly), index.count(filter, safeOnly) > 0) << safeOnly;
    }
    EXPECT_TRUE(index.hasEntries(Filter::favorites(), false));
    EXPECT_FALSE(index.hasEntries(Filter::favorites(), true));
    EXPECT_TRUE(index.hasEntries(Filter::trash(), true));
}

// The sort compares the first bytes of its keys and only then the texts: every sort must still give the
// order of the whole keys, with ties (titles alike past their first letters, equal dates) in identifier
// order, reversed along with the titles for the descending title order.
TEST(RecordStoreIndex, SortsAsTheWholeKeysOrderWhateverTheirFirstBytesShare)
{
    RecordStore::Index index(Settings::Items::SearchableFields::titleTags);
    std::vector<std::shared_ptr<const RecordStore::Index::Summary>> summaries;
    const char* titles[] = {"Bank", "Bank account at the corner 1", "Bank account at the corner 2", "bank", "Bänk", "", "a", "Bank account at the corner 10"};
    const double dates[] = {0, -0.0, -5, 3.5, 3.5, 1e9, -1e9};
    for (int i = 0; i < 120; ++i) {
        EntryIndex made;
        // Identifiers alike in their first eight bytes, and some not.
        made.entryID = Foundation::String((i % 3 ? "ABCDEFGH-" : "X-") + std::to_string((i * 37) % 120));
        made.title = titles[i % 8];
        made.createdAt = Foundation::Date(dates[i % 7]);
        made.modifiedAt = Foundation::Date(dates[(i / 7) % 7]);
        summaries.push_back(index.prepare(std::move(made)).summary);
    }
    using Summary = std::shared_ptr<const RecordStore::Index::Summary>;
    auto byID = [](const Summary& a, const Summary& b) { return a->index.entryID.utf8() < b->index.entryID.utf8(); };
    auto byTitle = [&](const Summary& a, const Summary& b) {
        if (int order = a->sortKey.compare(b->sortKey); order != 0)
            return order < 0;
        return byID(a, b);
    };
    auto byDate = [&](Foundation::Date EntryIndex::*date, bool descending) {
        return [=](const Summary& a, const Summary& b) {
            auto left = a->index.*date;
            auto right = b->index.*date;
            if (left != right)
                return descending ? left > right : left < right;
            return byID(a, b);
        };
    };
    auto check = [&](SortMethod method, const std::function<bool(const Summary&, const Summary&)>& order) {
        auto expected = summaries;
        std::stable_sort(expected.begin(), expected.end(), order);
        auto sorted = RecordStore::Index::sorted(summaries, method);
        ASSERT_EQ(sorted.size(), expected.size());
        for (std::size_t i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i].get(), &expected[i]->index) << "method " << static_cast<int>(method) << ", place " << i;
    };
    check(SortMethod::alphabetical, byTitle);
    check(SortMethod::alphabeticalDesc, [&](const Summary& a, const Summary& b) { return byTitle(b, a); });
    check(SortMethod::modifiedAtDesc, byDate(&EntryIndex::modifiedAt, true));
    check(SortMethod::modifiedAt, byDate(&EntryIndex::modifiedAt, false));
    check(SortMethod::createdAtDesc, byDate(&EntryIndex::createdAt, true));
    check(SortMethod::createdAt, byDate(&EntryIndex::createdAt, false));
    check(SortMethod::unsorted, byDate(&EntryIndex::createdAt, false));
}
