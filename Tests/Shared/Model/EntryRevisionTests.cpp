#include "Tests/Shared/Model/EntrySamples.hpp"

#include "Shared/Model/EntryProperty.hpp"
#include "Shared/Model/EntryRevision.hpp"

#include "Platform/Foundation/Error.hpp"

#include <algorithm>
#include <gtest/gtest.h>

using namespace Shared;
using Foundation::Date;

namespace {

EntryRevision makeRevision()
{
    auto entry = Entry::make(Entry::Category::login, Date(1000));
    entry.title = "Bank";
    entry.password = "first";
    entry.sections.push_back(Entry::Section::make(Entry::Section::Template::blank));
    entry.appendField(0, Entry::Field::Category::pin);
    return EntryRevision::make(entry);
}

} // namespace

TEST(EntryRevisionTests, AnEditLandsOnTheNewestCopyWithoutUndoingOtherChanges)
{
    auto stored = makeRevision();
    auto original = stored.entry;
    // Meanwhile the store marked the item a favourite.
    stored.change(Date(2000), [](Entry& entry) { entry.isFavorite = true; });
    auto edited = original;
    edited.setText("second", Entry::SystemField::ID::password, Date(3000));

    EXPECT_TRUE(stored.apply(original, edited, Date(3000)));
    EXPECT_TRUE(stored.entry.isFavorite);
    EXPECT_EQ(stored.entry.password, "second");
    ASSERT_EQ(stored.entry.passwordHistory.size(), 1u);
    EXPECT_EQ(stored.entry.passwordHistory[0].text, "first");
    EXPECT_EQ(stored.modifiedAt("password"), Date(3000));
    EXPECT_EQ(stored.modifiedAt("isFavorite"), Date(2000));
    EXPECT_EQ(stored.modifiedAt("title"), Date(1000));
    EXPECT_FALSE(stored.apply(edited, edited, Date(4000)));
}

TEST(EntryRevisionTests, MergingTakesOneSidedChangesAndTheLaterOfTwo)
{
    auto base = makeRevision();
    auto local = base;
    auto remote = base;
    local.change(Date(2000), [](Entry& entry) { entry.title = "Local bank"; });
    local.change(Date(2500), [](Entry& entry) { entry.setText("local", Entry::SystemField::ID::password, Date(2500)); });
    remote.change(Date(2100), [](Entry& entry) { entry.notes = "remote note"; });
    remote.change(Date(3000), [](Entry& entry) { entry.setText("remote", Entry::SystemField::ID::password, Date(3000)); });
    remote.change(Date(3100), [](Entry& entry) { entry.setFieldText({0, 0}, "4321", Date(3100)); });
    local.change(Date(3200), [](Entry& entry) { entry.setFieldText({0, 0}, "1234", Date(3200)); });

    auto merged = EntryRevision::merged(local, remote);
    EXPECT_EQ(merged, EntryRevision::merged(remote, local));
    EXPECT_EQ(merged.entry.title, "Local bank");
    EXPECT_EQ(merged.entry.notes, "remote note");
    // Changed on both sides: the later wins, and the earlier value stays in the field's history.
    EXPECT_EQ(merged.entry.password, "remote");
    std::vector<std::string> history;
    for (const auto& value : merged.entry.passwordHistory)
        history.push_back(value.text.utf8());
    std::sort(history.begin(), history.end());
    EXPECT_EQ(history, (std::vector<std::string> {"first", "local"}));
    EXPECT_EQ(merged.entry.field({0, 0}).text, "1234");
    ASSERT_FALSE(merged.entry.field({0, 0}).history.empty());
    EXPECT_EQ(merged.entry.field({0, 0}).history.front().text, "4321");

    // Merging again changes nothing: the merged-away values keep one identifier everywhere.
    EXPECT_EQ(EntryRevision::merged(merged, EntryRevision::merged(remote, local)), merged);
}

TEST(EntryRevisionTests, EqualDatesStillAgreeOnOneWinner)
{
    auto base = makeRevision();
    auto local = base;
    auto remote = base;
    local.change(Date(2000), [](Entry& entry) { entry.website = "a.example"; });
    remote.change(Date(2000), [](Entry& entry) { entry.website = "b.example"; });
    EXPECT_EQ(EntryRevision::merged(local, remote).entry.website, EntryRevision::merged(remote, local).entry.website);
}

TEST(EntryRevisionTests, RoundTripsThroughItsEncoding)
{
    auto revision = makeRevision();
    revision.change(Date(2000), [](Entry& entry) { entry.tags = {"work"}; });
    EXPECT_EQ(EntryRevision::decoded(revision.encoded()), revision);
    EXPECT_THROW(EntryRevision::decoded(Foundation::Data::fromString("{}")), Foundation::Error);
}

// Whatever loses a merge with a change made elsewhere is kept: texts without a history of their own, a
// custom field added on one side while the sections changed on the other, attachments added on both.
TEST(EntryRevisionTests, ConcurrentChangesKeepEveryLosingValue)
{
    auto base = makeRevision();
    auto local = base;
    auto remote = base;
    local.change(Date(2000), [](Entry& entry) {
        entry.title = "Local title";
        entry.notes = "local notes";
        entry.website = "local.example";
        entry.tags = {"a", "b"};
        entry.setFieldText(entry.appendField(0, Entry::Field::Category::text), "added here", Date(2000));
        entry.setFieldText(entry.appendField(0, Entry::Field::Category::attachment), "ATTACHMENT-LOCAL", Date(2000));
    });
    remote.change(Date(3000), [](Entry& entry) {
        entry.title = "Remote title";
        entry.notes = "remote notes";
        entry.website = "remote.example";
        entry.tags = {"c"};
        entry.setFieldText({0, 0}, "9999", Date(3000));
        entry.setFieldText(entry.appendField(0, Entry::Field::Category::attachment), "ATTACHMENT-REMOTE", Date(3000));
    });

    auto merged = EntryRevision::merged(local, remote);
    EXPECT_EQ(merged, EntryRevision::merged(remote, local));
    EXPECT_EQ(merged.entry.title, "Remote title");
    auto kept = [&](const std::string& field) {
        std::vector<std::string> texts;
        auto found = merged.entry.mergedAwayValues.find(field);
        if (found != merged.entry.mergedAwayValues.end()) {
            for (const auto& value : found->second)
                texts.push_back(value.text.utf8());
        }
        return texts;
    };
    EXPECT_EQ(kept("title"), std::vector<std::string> {"Local title"});
    EXPECT_EQ(kept("notes"), std::vector<std::string> {"local notes"});
    EXPECT_EQ(kept("website"), std::vector<std::string> {"local.example"});
    EXPECT_EQ(kept("tags"), std::vector<std::string> {"a, b"});
    EXPECT_EQ(kept("sections"), std::vector<std::string> {"added here"});
    EXPECT_EQ(kept("attachments"), std::vector<std::string> {"ATTACHMENT-LOCAL"});

    // Kept values survive later merges and the item's encoding.
    auto later = merged;
    later.change(Date(4000), [](Entry& entry) { entry.isFavorite = true; });
    EXPECT_EQ(EntryRevision::merged(later, remote).entry.mergedAwayValues, merged.entry.mergedAwayValues);
    EXPECT_EQ(EntryRevision::decoded(merged.encoded()), merged);
}

TEST(EntryRevisionTests, AnEditOfAnyPropertyIsKeptAndSurvivesAMergeWithAnUnchangedCopy)
{
    // Every property but the item's identifier and dates, so that one added to the item's list alone is
    // covered: an edit the revision did not carry over would be lost on saving.
    const Date now(900'000'000);
    forEachEntryProperty([&]<std::size_t index>() {
        constexpr const auto& property = entryProperty<index>;
        if constexpr (property.merge != EntryPropertyMerge::ofTheItem) {
            const auto unchanged = makeRevision();
            auto stored = unchanged;
            auto edited = stored.entry;
            SharedTests::setSample(edited.*property.member, property.key);
            EXPECT_TRUE(stored.apply(unchanged.entry, edited, now)) << property.key;
            EXPECT_TRUE(stored.entry.*property.member == edited.*property.member) << property.key;
            if constexpr (property.merge == EntryPropertyMerge::byDate) {
                EXPECT_EQ(stored.modifiedAt(property.key), now) << property.key;
            }
            auto merged = EntryRevision::merged(stored, unchanged);
            EXPECT_EQ(merged, EntryRevision::merged(unchanged, stored)) << property.key;
            EXPECT_TRUE(merged.entry.*property.member == edited.*property.member) << property.key;
        }
    });
}

// Telling a later copy of ours from one saved apart from it decides whether the account's copy may
// simply replace ours: dates alone cannot, as the copy saved apart may well be the later one.
TEST(EntryRevisionTests, ACopySupersedesOursOnlyWhenItWasMadeFromIt)
{
    auto base = makeRevision();
    auto ours = base;
    ours.change(Date(2000), [](Entry& entry) { entry.title = "Our bank"; });
    auto later = ours;
    later.change(Date(3000), [](Entry& entry) { entry.title = "Later bank"; });
    later.change(Date(3100), [](Entry& entry) { entry.isFavorite = true; });
    EXPECT_TRUE(later.supersedes(ours));
    EXPECT_TRUE(later.supersedes(base));
    EXPECT_FALSE(ours.supersedes(later));

    auto apart = base;
    apart.change(Date(3000), [](Entry& entry) { entry.title = "Their bank"; });
    EXPECT_FALSE(apart.supersedes(ours));
    // Merged, it is made from both: each side takes it as it is.
    auto merged = EntryRevision::merged(ours, apart);
    EXPECT_TRUE(merged.supersedes(ours));
    EXPECT_TRUE(merged.supersedes(apart));
    EXPECT_EQ(merged.entry.mergedAwayValues["title"].at(0).text, "Our bank");

    // A copy written before the replaced dates were kept is never taken for a later one.
    auto unknown = later;
    unknown.fieldReplacedAt.clear();
    EXPECT_FALSE(unknown.supersedes(ours));
}
