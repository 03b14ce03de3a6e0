#pragma once

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Items.hpp"

namespace Shared {

// What the list needs of an item without its secrets: enough to filter, sort, search and show a row.
// The record store keeps one beside each sealed item.
struct EntryIndex {
    Foundation::String entryID;
    EntryCategory category = EntryCategory::login;
    Foundation::String title;
    Foundation::String subtitle;
    Foundation::String username;
    std::vector<Foundation::String> websites;
    std::vector<Foundation::String> tags;
    Foundation::String notes;
    bool isFavorite = false;
    bool isArchived = false;
    bool isTrashed = false;
    bool isSafeForInspection = false;
    // The list marks items that hold a file.
    bool hasAttachments = false;
    Foundation::Date createdAt;
    Foundation::Date modifiedAt;
    // When AutoFill last handed the item over, at any of its sites.
    std::optional<Foundation::Date> lastUsedAt;

    static EntryIndex make(const Entry& entry);

    // Whether every word of `text` occurs (case-insensitively) in the fields the setting searches.
    bool matches(const Foundation::String& text, Settings::Items::SearchableFields searchableFields) const;

    void encode(Foundation::Encoder& encoder) const;
    static EntryIndex decode(Foundation::Decoder& decoder);
    friend bool operator==(const EntryIndex&, const EntryIndex&) = default;
};

} // namespace Shared
