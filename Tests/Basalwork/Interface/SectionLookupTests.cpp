#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/DiffableTableItem.hpp"
#include "Basalwork/Interface/DiffableTableSection.hpp"
#include "Basalwork/Interface/Identifiable.hpp"
#include "Tests/Basalwork/Interface/ListRows.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

using namespace Basalwork;
using Foundation::IndexPath;
using ListRows::Row;
using ListRows::rows;
using ListRows::Section;

namespace {

IndexPath at(std::int64_t section, std::int64_t item)
{
    return IndexPath::withItem(item, section);
}

// A section in the middle with no rows, as a settings list has while a group is hidden.
const std::vector<Section> sections {{"first", rows("AB")}, {"empty", {}}, {"last", rows("CD")}};

std::optional<Foundation::String> idOf(const Row* row)
{
    return row ? std::optional(row->identifier) : std::nullopt;
}

// A row that measures nothing itself and a section without header or footer: the defaults answer.
struct PlainRow : DiffableTableItemDefaults {
    Foundation::String identifier;
    const Foundation::String& id() const { return identifier; }
    static void registerReusableViews(UIKit::UITableView&) {}
    std::shared_ptr<UIKit::UITableViewCell> dequeueUpdatedCell(UIKit::UITableView&, const IndexPath&) const { return nullptr; }
    void updateCell(UIKit::UITableView&, const IndexPath&, bool) const {}
    friend bool operator==(const PlainRow&, const PlainRow&) = default;
};
struct PlainSection : DiffableTableSectionDefaults {
    using Item = PlainRow;
    Foundation::String identifier;
    std::vector<PlainRow> rows;
    const Foundation::String& id() const { return identifier; }
    const std::vector<PlainRow>& items() const { return rows; }
    static void registerReusableViews(UIKit::UITableView&) {}
};
static_assert(DiffableTableSection<PlainSection>);

} // namespace

TEST(SectionLookups, FindRowsByPositionAndIdentifier)
{
    EXPECT_EQ(idOf(item(sections, at(2, 1))), "D");
    EXPECT_EQ(item(sections, at(1, 0)), nullptr);
    EXPECT_EQ(item(sections, at(3, 0)), nullptr);
    EXPECT_EQ(item(sections, at(0, -1)), nullptr);
    EXPECT_EQ(items(sections, {at(2, 0), at(1, 0), at(0, 1)}), (std::vector<Row> {{"C", 0}, {"B", 0}}));

    EXPECT_EQ(indexPathOfItem(sections, "C"), at(2, 0));
    EXPECT_EQ(indexPathOfItem(sections, "c"), std::nullopt);
    EXPECT_FALSE(containsItem(sections, "first"));
    EXPECT_EQ(allItems(sections), rows("ABCD"));
    EXPECT_EQ(indexPathsForItems(sections, [](const IndexPath& path, const Row& row) { return path.item() == 1 || row.identifier == "C"; }),
              (std::vector {at(0, 1), at(2, 0), at(2, 1)}));

    // Text is its own identifier.
    const std::vector<Foundation::String> names {"x", "y", "x"};
    EXPECT_EQ(firstElement(names, "x"), &names[0]);
    EXPECT_EQ(indexOfElement(names, "y"), 1);
    EXPECT_FALSE(containsElement(names, "z"));
}

TEST(SectionLookups, StepAcrossSectionsAndOverEmptyOnes)
{
    EXPECT_EQ(idOf(itemBefore(sections, at(2, 0))), "B");
    EXPECT_EQ(idOf(itemAfter(sections, at(0, 1))), "C");
    EXPECT_EQ(itemBefore(sections, at(0, 0)), nullptr);
    EXPECT_EQ(itemAfter(sections, at(2, 1)), nullptr);
    EXPECT_EQ(itemAfter(sections, at(1, 0)), nullptr); // names no row
    EXPECT_EQ(indexPathBefore(sections, at(2, 0)), at(0, 1));
    EXPECT_EQ(indexPathAfter(sections, at(0, 1)), at(2, 0));

    auto isD = [](const Row& row) { return row.identifier == "D"; };
    EXPECT_EQ(idOf(firstItemAfter(sections, at(0, 0), isD)), "D");
    EXPECT_EQ(firstItemBefore(sections, at(2, 1), isD), nullptr);
}

TEST(SectionLookups, StepByPositionWhenIdentifiersRepeat)
{
    // Stepping through the first "A" again would go round A, B, A, B, ... for ever.
    const std::vector<Section> repeated {{"s", rows("ABA")}, {"t", rows("B")}};
    EXPECT_EQ(indexPathAfter(repeated, at(0, 1)), at(0, 2));
    EXPECT_EQ(indexPathBefore(repeated, at(1, 0)), at(0, 2));
    EXPECT_EQ(firstItemAfter(repeated, at(0, 0), [](const Row& row) { return row.identifier == "C"; }), nullptr);
    EXPECT_EQ(firstItemAfter(repeated, at(0, 1), [](const Row& row) { return row.identifier == "B"; }), &repeated[1].rows[0]);
}

TEST(SectionLookups, ListIndexPathsBetweenTwoRowsInEitherOrder)
{
    const auto forwards = indexPaths(sections, at(0, 1), at(2, 0));
    EXPECT_EQ(forwards, (std::vector {at(0, 1), at(2, 0)}));
    EXPECT_EQ(indexPaths(sections, at(2, 0), at(0, 1)), forwards);
    EXPECT_EQ(indexPaths(sections, at(2, 1), at(2, 1)), std::vector {at(2, 1)});

    // Bounds past the rows are cut back to them instead of reading past the array or counting for ever.
    constexpr auto far = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(indexPaths(sections, at(-1, 5), at(far, far)), indexPathsForAllItems(sections));
    EXPECT_EQ(indexPaths(sections, at(2, 1), at(2, far)), std::vector {at(2, 1)});
}
