#pragma once

#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/DiffableSection.hpp"
#include "Basalwork/Interface/Difference.hpp"
#include "Basalwork/Interface/ListPairing.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <cstdint>
#include <variant>
#include <vector>

namespace Basalwork {

// How a table gets from the sections it shows to new ones: which sections and which rows within them
// were removed, inserted, moved or changed in place.
class ChangeSet {
public:
    // The nested types are defined here rather than in files of their own: a ChangeSet holds an
    // UpdateAction, so both have to be complete before it.

    // The row differences of one section found in both arrays: old row indices count in the old
    // section, new ones in the new section.
    struct ItemDifferences {
        std::int64_t fromSectionIndex;
        std::int64_t toSectionIndex;
        std::vector<Difference> differences;
    };

    class UpdateAction : public Foundation::Enumeration<UpdateAction> {
    public:
        struct Animate {
            std::vector<Difference> sectionDifferences;
            std::vector<ItemDifferences> itemDifferencesPerSection;
        };
        // Throw away what is shown and load everything afresh.
        struct Reload { };
        using Case = std::variant<Animate, Reload>;

        static UpdateAction animate(std::vector<Difference> sectionDifferences,
                                    std::vector<ItemDifferences> itemDifferencesPerSection)
        {
            return UpdateAction(Animate {std::move(sectionDifferences), std::move(itemDifferencesPerSection)});
        }
        static UpdateAction reload() { return UpdateAction(Reload {}); }

        const Case& value() const { return m_case; }

    private:
        explicit UpdateAction(Case value)
            : m_case(std::move(value))
        {
        }
        Case m_case;
    };

    // Always animates. Every section found in both arrays gets an entry, in new-section order, even when
    // its rows did not change. A section is compared with the old section it was paired with, so a
    // repeated section identifier never diffs two new sections against the same old one.
    template <DiffableSection S>
    ChangeSet(const std::vector<S>& from, const std::vector<S>& to)
        : m_updateAction(makeUpdateAction(from, to))
    {
    }

    // A change worked out elsewhere (two selections of one list differ by removals and insertions only).
    explicit ChangeSet(UpdateAction updateAction)
        : m_updateAction(std::move(updateAction))
    {
    }

    const UpdateAction& updateAction() const { return m_updateAction; }

private:
    template <class S>
    static UpdateAction makeUpdateAction(const std::vector<S>& from, const std::vector<S>& to)
    {
        const auto pairing = detail::ListPairing::of(from, to);
        // Paired sections have equal identifiers, and sections have no content of their own to change.
        auto sectionDifferences = pairing.differences({});
        std::vector<ItemDifferences> itemDifferences;
        for (std::size_t i = 0; i < to.size(); ++i) {
            const auto j = pairing.oldIndex(static_cast<std::int64_t>(i));
            if (j == detail::ListPairing::unpaired)
                continue; // its rows arrive with the section's insertion
            itemDifferences.push_back({j, static_cast<std::int64_t>(i),
                                       differences(from[static_cast<std::size_t>(j)].items(), to[i].items())});
        }
        return UpdateAction::animate(std::move(sectionDifferences), std::move(itemDifferences));
    }

    UpdateAction m_updateAction;
};

} // namespace Basalwork
