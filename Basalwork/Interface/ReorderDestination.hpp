#pragma once

#include "Platform/Foundation/IndexPath.hpp"

#include <optional>
#include <variant>
#include <vector>

namespace Basalwork {

// Where a dragged row lands, told by its neighbour rather than by an index that the move itself shifts.
template <class SectionID, class ItemID>
class ReorderDestination {
public:
    struct BeginningOfSection {
        SectionID sectionID;
        friend bool operator==(const BeginningOfSection&, const BeginningOfSection&) = default;
    };
    struct Preceeding {
        ItemID itemID;
        friend bool operator==(const Preceeding&, const Preceeding&) = default;
    };
    struct Following {
        ItemID itemID;
        friend bool operator==(const Following&, const Following&) = default;
    };
    using Case = std::variant<BeginningOfSection, Preceeding, Following>;

    static ReorderDestination beginningOfSection(SectionID sectionID) { return ReorderDestination(BeginningOfSection {std::move(sectionID)}); }
    static ReorderDestination preceeding(ItemID itemID) { return ReorderDestination(Preceeding {std::move(itemID)}); }
    static ReorderDestination following(ItemID itemID) { return ReorderDestination(Following {std::move(itemID)}); }

    // From a table move. `destinationItemID` is the row at the destination before the move; none when
    // the row was dropped past the section's last row. Nothing when the row did not move.
    static std::optional<ReorderDestination> from(const Foundation::IndexPath& sourceIndexPath,
                                                  const Foundation::IndexPath& destinationIndexPath,
                                                  const SectionID& destinationSectionID,
                                                  const std::optional<ItemID>& destinationItemID,
                                                  const std::vector<ItemID>& destinationSectionItemIDs)
    {
        if (sourceIndexPath == destinationIndexPath)
            return std::nullopt;
        if (destinationItemID) {
            // Moving up lands before the neighbour, moving down after it; from elsewhere, before it.
            if (sourceIndexPath.section() != destinationIndexPath.section() || sourceIndexPath > destinationIndexPath)
                return preceeding(*destinationItemID);
            return following(*destinationItemID);
        }
        if (destinationSectionItemIDs.empty())
            return beginningOfSection(destinationSectionID);
        return following(destinationSectionItemIDs.back());
    }

    const Case& value() const { return m_case; }
    friend bool operator==(const ReorderDestination&, const ReorderDestination&) = default;

private:
    explicit ReorderDestination(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
