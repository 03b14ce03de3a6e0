#pragma once

#include "Shared/Model/Entry.Category.hpp"

#include "Platform/Foundation/CodingTraits.hpp"
#include "Platform/Foundation/Enumeration.hpp"

#include <variant>

namespace Shared {

class Entry;
struct EntryIndex;

// Which items the list shows (Entry::Filter). The cases with a value come first; `allItems` is the
// case at position 3, the one the AutoFill list and a safe-for-inspection reset fall back to.
class EntryFilter : public Foundation::Enumeration<EntryFilter> {
public:
    struct Category {
        EntryCategory category;
        friend bool operator==(const Category&, const Category&) = default;
    };
    struct CategoryGroup {
        EntryCategoryGroup::Case group;
        friend bool operator==(const CategoryGroup&, const CategoryGroup&) = default;
    };
    struct Tag {
        Foundation::String tag;
        friend bool operator==(const Tag&, const Tag&) = default;
    };
    struct AllItems {
        friend bool operator==(const AllItems&, const AllItems&) = default;
    };
    struct Favorites {
        friend bool operator==(const Favorites&, const Favorites&) = default;
    };
    struct SafeForInspection {
        friend bool operator==(const SafeForInspection&, const SafeForInspection&) = default;
    };
    struct Archived {
        friend bool operator==(const Archived&, const Archived&) = default;
    };
    struct Trash {
        friend bool operator==(const Trash&, const Trash&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Category, CategoryGroup, Tag, AllItems, Favorites, SafeForInspection, Archived, Trash>;

    static EntryFilter category(EntryCategory category) { return EntryFilter(Category {category}); }
    static EntryFilter categoryGroup(EntryCategoryGroup::Case group) { return EntryFilter(CategoryGroup {group}); }
    static EntryFilter tag(Foundation::String tag) { return EntryFilter(Tag {std::move(tag)}); }
    static EntryFilter allItems() { return EntryFilter(AllItems {}); }
    static EntryFilter favorites() { return EntryFilter(Favorites {}); }
    static EntryFilter safeForInspection() { return EntryFilter(SafeForInspection {}); }
    static EntryFilter archived() { return EntryFilter(Archived {}); }
    static EntryFilter trash() { return EntryFilter(Trash {}); }
    static EntryFilter default_() { return allItems(); }

    const Case& value() const { return m_case; }

    // The text a menu shows.
    Foundation::String titleText() const;
    // Archived items show only under `archived`, trashed ones only under `trash`.
    bool matches(const Entry& entry) const;
    bool matches(const EntryIndex& index) const;

    // {"case": "<name>"} with "value" beside it for the cases that carry one.
    void encode(Foundation::Encoder& encoder) const;
    static EntryFilter decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryFilter&, const EntryFilter&) = default;

private:
    template <class Item>
    bool matches(const Item& item, bool isTrashed) const;
    explicit EntryFilter(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Shared
