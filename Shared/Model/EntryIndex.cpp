#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Codable.hpp"

namespace Shared {

EntryIndex EntryIndex::make(const Entry& entry)
{
    EntryIndex index;
    index.entryID = entry.id;
    index.category = entry.category;
    index.title = entry.title;
    index.subtitle = entry.subtitle();
    index.username = entry.username;
    if (!entry.website.isEmpty())
        index.websites.push_back(entry.website);
    for (const auto& identifier : entry.serviceIdentifiers) {
        index.websites.push_back(identifier.host);
        if (identifier.lastUsedAt && (!index.lastUsedAt || *identifier.lastUsedAt > *index.lastUsedAt))
            index.lastUsedAt = identifier.lastUsedAt;
    }
    index.tags = entry.tags;
    index.notes = entry.notes;
    index.isFavorite = entry.isFavorite;
    index.isArchived = entry.isArchived;
    index.isTrashed = entry.isTrashed();
    index.isSafeForInspection = entry.isSafeForInspection;
    index.hasAttachments = !entry.attachmentIDs().empty();
    index.createdAt = entry.createdAt;
    index.modifiedAt = entry.modifiedAt;
    return index;
}

bool EntryIndex::matches(const Foundation::String& text, Settings::Items::SearchableFields searchableFields) const
{
    using Fields = Settings::Items::SearchableFields;
    std::vector<Foundation::String> haystack {title.lowercased()};
    for (const auto& tag : tags)
        haystack.push_back(tag.lowercased());
    if (searchableFields != Fields::titleTags)
        haystack.push_back(subtitle.lowercased());
    if (searchableFields == Fields::titleSubtitleUsernameTags || searchableFields == Fields::titleSubtitleUsernameWebsitesTags
        || searchableFields == Fields::titleSubtitleUsernameTagsNotes)
        haystack.push_back(username.lowercased());
    if (searchableFields == Fields::titleSubtitleUsernameWebsitesTags || searchableFields == Fields::titleSubtitleUsernameTagsNotes) {
        for (const auto& website : websites)
            haystack.push_back(website.lowercased());
    }
    if (searchableFields == Fields::titleSubtitleUsernameTagsNotes)
        haystack.push_back(notes.lowercased());

    for (const auto& word : text.lowercased().components(Foundation::CharacterSet::whitespacesAndNewlines())) {
        if (word.isEmpty())
            continue;
        bool found = false;
        for (const auto& candidate : haystack) {
            if (candidate.contains(word)) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

void EntryIndex::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(entryID, "entryID");
    container.encode(category, "category");
    container.encode(title, "title");
    container.encode(subtitle, "subtitle");
    container.encode(username, "username");
    container.encode(websites, "websites");
    container.encode(tags, "tags");
    container.encode(notes, "notes");
    container.encode(isFavorite, "isFavorite");
    container.encode(isArchived, "isArchived");
    container.encode(isTrashed, "isTrashed");
    container.encode(isSafeForInspection, "isSafeForInspection");
    container.encode(hasAttachments, "hasAttachments");
    container.encode(createdAt, "createdAt");
    container.encode(modifiedAt, "modifiedAt");
    container.encodeIfPresent(lastUsedAt, "lastUsedAt");
}

EntryIndex EntryIndex::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    EntryIndex index;
    index.entryID = container.decode<Foundation::String>("entryID");
    index.category = container.decode<EntryCategory>("category");
    index.title = container.decode<Foundation::String>("title");
    index.subtitle = container.decode<Foundation::String>("subtitle");
    index.username = container.decode<Foundation::String>("username");
    index.websites = container.decode<std::vector<Foundation::String>>("websites");
    index.tags = container.decode<std::vector<Foundation::String>>("tags");
    index.notes = container.decode<Foundation::String>("notes");
    index.isFavorite = container.decode<bool>("isFavorite");
    index.isArchived = container.decode<bool>("isArchived");
    index.isTrashed = container.decode<bool>("isTrashed");
    index.isSafeForInspection = container.decode<bool>("isSafeForInspection");
    // Written before items were marked for their files.
    index.hasAttachments = container.decodeIfPresent<bool>("hasAttachments").value_or(false);
    index.createdAt = container.decode<Foundation::Date>("createdAt");
    index.modifiedAt = container.decode<Foundation::Date>("modifiedAt");
    index.lastUsedAt = container.decodeIfPresent<Foundation::Date>("lastUsedAt");
    return index;
}

} // namespace Shared
