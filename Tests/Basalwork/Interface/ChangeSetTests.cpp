#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/ChangeSet.hpp"
#include "Basalwork/Interface/Difference.hpp"
#include "Tests/Basalwork/Interface/ListRows.hpp"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace Basalwork;
using ListRows::Row;
using ListRows::rows;
using ListRows::Section;

namespace {

using Differences = std::vector<Difference>;

// Where each row of the new list comes from when a table applies the differences in one batch update:
// removals and move sources leave the old list, insertions and move targets take their places in the new
// one, and the rows left over keep their order in the places that remain. Nothing for an inserted row.
// Fails the test on anything a table would refuse (an index out of range throws).
std::vector<std::optional<std::int64_t>> origins(const Differences& differences, std::size_t oldCount, std::size_t newCount)
{
    std::vector<bool> leaves(oldCount);
    std::vector<bool> placed(newCount);
    std::vector<std::optional<std::int64_t>> result(newCount);
    auto leave = [&](std::int64_t from) {
        EXPECT_FALSE(leaves.at(static_cast<std::size_t>(from))) << "old index " << from << " leaves twice";
        leaves.at(static_cast<std::size_t>(from)) = true;
    };
    auto place = [&](std::int64_t at, std::optional<std::int64_t> from) {
        EXPECT_FALSE(placed.at(static_cast<std::size_t>(at))) << "new index " << at << " filled twice";
        placed.at(static_cast<std::size_t>(at)) = true;
        result.at(static_cast<std::size_t>(at)) = from;
    };
    for (const auto& difference : differences) {
        if (auto removed = difference.as<Difference::Removed>())
            leave(removed->from);
        if (auto inserted = difference.as<Difference::Inserted>())
            place(inserted->at, std::nullopt);
        if (auto moved = difference.as<Difference::Moved>()) {
            leave(moved->from);
            place(moved->to, moved->from);
        }
    }
    std::size_t slot = 0;
    for (std::size_t j = 0; j < oldCount; ++j) {
        while (!leaves[j] && slot < newCount && placed[slot])
            ++slot;
        if (!leaves[j])
            place(static_cast<std::int64_t>(slot), static_cast<std::int64_t>(j));
    }
    EXPECT_TRUE(std::ranges::all_of(placed, [](bool p) { return p; })) << "places left empty";
    return result;
}

// The old rows after a batch update, with every row named by an update reconfigured from the new list.
std::vector<Row> applied(const Differences& differences, const std::vector<Row>& old, const std::vector<Row>& target)
{
    const auto from = origins(differences, old.size(), target.size());
    std::vector<Row> result;
    for (std::size_t i = 0; i < target.size(); ++i)
        result.push_back(from[i] ? old[static_cast<std::size_t>(*from[i])] : target[i]);
    for (const auto& difference : differences) {
        if (auto updated = difference.as<Difference::UpdatedInPlace>()) {
            EXPECT_TRUE(from.at(static_cast<std::size_t>(updated->at))) << "update of an inserted row";
            result[static_cast<std::size_t>(updated->at)] = target[static_cast<std::size_t>(updated->at)];
        }
    }
    return result;
}

std::vector<Section> applied(const ChangeSet& changeSet, const std::vector<Section>& old, const std::vector<Section>& target)
{
    auto animate = changeSet.updateAction().as<ChangeSet::UpdateAction::Animate>();
    EXPECT_NE(animate, nullptr);
    if (!animate)
        return {};
    const auto from = origins(animate->sectionDifferences, old.size(), target.size());
    std::vector<Section> result;
    std::size_t entry = 0;
    const auto& entries = animate->itemDifferencesPerSection;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (!from[i]) {
            result.push_back(target[i]);
            continue;
        }
        // Shown sections get exactly one entry each, in new order, naming the section that stays.
        EXPECT_LT(entry, entries.size());
        if (entry == entries.size())
            return result;
        const auto& differences = entries[entry++];
        EXPECT_EQ(differences.toSectionIndex, static_cast<std::int64_t>(i));
        EXPECT_EQ(differences.fromSectionIndex, *from[i]);
        auto section = old[static_cast<std::size_t>(*from[i])];
        section.rows = applied(differences.differences, section.rows, target[i].rows);
        result.push_back(std::move(section));
    }
    EXPECT_EQ(entry, entries.size());
    return result;
}

std::vector<Row> withContent(std::vector<Row> rows, std::size_t at, int content)
{
    rows[at].content = content;
    return rows;
}

} // namespace

TEST(ListDifference, ReportsEachChangeOnce)
{
    EXPECT_EQ(differences(rows("ABC"), rows("ABC")), Differences {});
    EXPECT_EQ(differences(rows(""), rows("AB")), (Differences {Difference::inserted(0), Difference::inserted(1)}));
    EXPECT_EQ(differences(rows("AB"), rows("")), (Differences {Difference::removed(0), Difference::removed(1)}));
    // The rows after a removal shift up without counting as moved.
    EXPECT_EQ(differences(rows("ABC"), rows("AC")), Differences {Difference::removed(1)});
    EXPECT_EQ(differences(rows("AC"), rows("ABC")), Differences {Difference::inserted(1)});
    EXPECT_EQ(differences(rows("ABC"), withContent(rows("ABC"), 2, 1)), Differences {Difference::updatedInPlace(2)});
}

TEST(ListDifference, MovesEveryRowWhosePlaceChanged)
{
    EXPECT_EQ(differences(rows("AB"), rows("BA")), (Differences {Difference::moved(1, 0), Difference::moved(0, 1)}));
    EXPECT_EQ(differences(rows("ABC"), rows("CAB")),
              (Differences {Difference::moved(2, 0), Difference::moved(0, 1), Difference::moved(1, 2)}));
    // A changed row that also moved is updated at its new index, then moved.
    EXPECT_EQ(differences(rows("AB"), withContent(rows("BA"), 0, 1)),
              (Differences {Difference::updatedInPlace(0), Difference::moved(1, 0), Difference::moved(0, 1)}));
}

TEST(ListDifference, PairsRepeatedIdentifiersInOrder)
{
    // The first X stays; the surplus one goes or comes.
    EXPECT_EQ(differences(rows("XX"), rows("X")), Differences {Difference::removed(1)});
    EXPECT_EQ(differences(rows("X"), rows("XX")), Differences {Difference::inserted(1)});
    std::vector<Row> old {{"X", 1}, {"X", 2}};
    std::vector<Row> target {{"X", 2}, {"X", 1}};
    EXPECT_EQ(applied(differences(old, target), old, target), target);
}

TEST(ListDifference, MatchesIdentifiersAsText)
{
    // "é" precomposed and decomposed is one identifier, but case matters.
    std::vector<Row> old {{"caf\xC3\xA9", 0}, {"Tea", 0}};
    std::vector<Row> target {{"cafe\xCC\x81", 0}, {"tea", 0}};
    EXPECT_EQ(differences(old, target), (Differences {Difference::removed(1), Difference::inserted(1)}));
}

TEST(ListDifference, DescribesItsSteps)
{
    EXPECT_EQ(Difference::removed(3).description(), ".removed(from: 3)");
    EXPECT_EQ(Difference::inserted(0).description(), ".inserted(at: 0)");
    EXPECT_EQ(Difference::moved(12, 4).description(), ".moved(from: 12, to: 4)");
    EXPECT_EQ(Difference::updatedInPlace(7).description(), ".updatedInPlace(at: 7)");
}

TEST(ChangeSet, DiffsTheRowsOfEverySectionShownBefore)
{
    const std::vector<Section> old {{"logins", rows("AB")}, {"cards", rows("C")}, {"notes", rows("D")}};
    const std::vector<Section> target {{"cards", rows("C")}, {"new", rows("E")}, {"logins", rows("BA")}};
    const ChangeSet changeSet(old, target);
    const auto animate = changeSet.updateAction().as<ChangeSet::UpdateAction::Animate>();
    ASSERT_NE(animate, nullptr);
    EXPECT_EQ(animate->sectionDifferences,
              (Differences {Difference::removed(2), Difference::moved(1, 0), Difference::inserted(1), Difference::moved(0, 2)}));
    const auto& entries = animate->itemDifferencesPerSection;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fromSectionIndex, 1);
    EXPECT_EQ(entries[0].toSectionIndex, 0);
    EXPECT_EQ(entries[0].differences, Differences {}); // unchanged, but still reported
    EXPECT_EQ(entries[1].fromSectionIndex, 0);
    EXPECT_EQ(entries[1].toSectionIndex, 2);
    EXPECT_EQ(entries[1].differences, (Differences {Difference::moved(1, 0), Difference::moved(0, 1)}));
}

TEST(ChangeSet, DiffsRepeatedSectionsAgainstTheSectionTheyPairedWith)
{
    // Diffing both against the first old "s" would remove its rows twice and leave the second's in place.
    const std::vector<Section> old {{"s", rows("AB")}, {"s", rows("C")}};
    const std::vector<Section> target {{"s", rows("AB")}, {"s", rows("CD")}};
    const ChangeSet changeSet(old, target);
    const auto& entries = changeSet.updateAction().as<ChangeSet::UpdateAction::Animate>()->itemDifferencesPerSection;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].fromSectionIndex, 1);
    EXPECT_EQ(entries[1].differences, Differences {Difference::inserted(1)});
    EXPECT_EQ(applied(changeSet, old, target), target);
}

// Random edits of random sections, with identifiers drawn from small pools so that sections and rows
// repeat, move, vanish and return: whatever the change, a table that applies the change set shows
// exactly the new sections.
TEST(ChangeSet, AppliedToTheOldSectionsGivesTheNewOnes)
{
    std::mt19937_64 random(20240611);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); };
    auto randomRows = [&](int pool) {
        std::vector<Row> result(static_cast<std::size_t>(below(7)));
        for (auto& row : result)
            row = {std::string(1, static_cast<char>('a' + below(pool))), below(3)};
        return result;
    };
    auto edited = [&](std::vector<Row> rows, int pool) {
        for (int edits = below(5); edits > 0; --edits) {
            const auto at = rows.empty() ? 0 : static_cast<std::size_t>(below(static_cast<int>(rows.size())));
            switch (below(rows.empty() ? 1 : 4)) {
            case 0:
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), {std::string(1, static_cast<char>('a' + below(pool))), below(3)});
                break;
            case 1:
                rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case 2:
                rows[at].content = below(3);
                break;
            default:
                std::rotate(rows.begin() + static_cast<std::ptrdiff_t>(at), rows.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                            rows.end());
            }
        }
        return rows;
    };
    for (int trial = 0; trial < 3000; ++trial) {
        // A wide pool of row identifiers in most trials, as screens keep them unique; a narrow one in
        // the rest, so that they repeat.
        const int pool = trial % 4 == 0 ? 4 : 26;
        std::vector<Section> old;
        for (int count = below(5); count > 0; --count)
            old.push_back({std::string(1, static_cast<char>('A' + below(trial % 3 == 0 ? 3 : 6))), randomRows(pool)});
        std::vector<Section> target;
        for (const auto& section : old) {
            if (below(5) > 0)
                target.push_back({section.identifier, edited(section.rows, pool)});
        }
        if (below(2) == 0)
            target.push_back({std::string(1, static_cast<char>('A' + below(6))), randomRows(pool)});
        std::shuffle(target.begin(), target.end(), random);

        EXPECT_EQ(applied(ChangeSet(old, target), old, target), target) << "trial " << trial;
        if (HasFailure())
            break;
    }
}
