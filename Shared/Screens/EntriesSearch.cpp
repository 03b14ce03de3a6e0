#include "Shared/Screens/EntriesSearch.hpp"

#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

#include <algorithm>

namespace Shared {

std::string EntriesSearch::haystack(const EntryIndex& index, Settings::Items::SearchableFields fields)
{
    std::string haystack;
    appendHaystack(haystack, index, fields);
    return haystack;
}

void EntriesSearch::appendHaystack(std::string& haystack, const EntryIndex& index, Settings::Items::SearchableFields fields)
{
    using Fields = Settings::Items::SearchableFields;
    // Nearly every text is ASCII, whose lowercase needs no case tables and no copy of its own.
    auto lower = [&](const Foundation::String& text) {
        const auto& bytes = text.utf8();
        if (!std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            haystack += text.lowercased().utf8();
            return;
        }
        auto at = haystack.size();
        haystack += bytes;
        for (auto i = at; i < haystack.size(); ++i)
            if (haystack[i] >= 'A' && haystack[i] <= 'Z')
                haystack[i] = static_cast<char>(haystack[i] + ('a' - 'A'));
    };
    lower(index.title);
    auto add = [&](const Foundation::String& text) {
        haystack += '\n';
        lower(text);
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
}

std::vector<Foundation::String> EntriesSearch::words(const Foundation::String& text)
{
    std::vector<Foundation::String> words;
    for (auto& word : text.lowercased().components(Foundation::CharacterSet::whitespacesAndNewlines()))
        if (!word.isEmpty())
            words.push_back(std::move(word));
    return words;
}

bool EntriesSearch::matches(std::string_view haystack, bool isASCII, const std::vector<Foundation::String>& words)
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
