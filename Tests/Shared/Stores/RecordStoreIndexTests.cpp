#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"

#include "Platform/Foundation/DecodingError.hpp"

#include <gtest/gtest.h>

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
