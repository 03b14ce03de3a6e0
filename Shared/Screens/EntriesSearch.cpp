#include "Shared/Screens/EntriesSearch.hpp"

#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

namespace Shared {

std::string EntriesSearch::haystack(const EntryIndex& index, Settings::Items::SearchableFields fields)
{
    using Fields = Settings::Items::SearchableFields;
    std::string haystack = index.title.lowercased().utf8();
    auto add = [&](const Foundation::String& text) {
        haystack += '\n';
        haystack += text.lowercased().utf8();
    };
    for (const auto& tag : index.tags)
        add(tag);
    if (fields != Fields::titleTags)
        add(index.subtitle);
    if (fields == Fields::titleSubtitleUsernameTags || fields == Fields::titleSubtitleUsernameWebsitesTags || fields == Fields::titleSubtitleUsernameTagsNotes)
        add(index.username);
    if (fields == Fields::titleSubtitleUsernameWebsitesTags || fields == Fields::titleSubtitleUsernameTagsNotes) {
        for (const auto& website : index.websites)
            add(website);
    }
    if (fields == Fields::titleSubtitleUsernameTagsNotes)
        add(index.notes);
    return haystack;
}

std::vector<Foundation::String> EntriesSearch::words(const Foundation::String& text)
{
    std::vector<Foundation::String> words;
    for (auto& word : text.lowercased().components(Foundation::CharacterSet::whitespacesAndNewlines()))
        if (!word.isEmpty())
            words.push_back(std::move(word));
    return words;
}

bool EntriesSearch::matches(const std::string& haystack, bool isASCII, const std::vector<Foundation::String>& words)
{
    for (const auto& word : words) {
        if (haystack.find(word.utf8()) == std::string::npos)
            return false;
        if (!isASCII && !Foundation::String(haystack).contains(word))
            return false;
    }
    return true;
}

} // namespace Shared
