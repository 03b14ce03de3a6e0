#pragma once

#include "Shared/Model/Forward.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Platform/Foundation/String.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace Shared {

class EntriesSearchIndex;

// How the item list searches what it holds, without going back to the store: each item's searchable
// texts lowercased once into one haystack, and every typed word must be found in it.
struct EntriesSearch {
    using Index = EntriesSearchIndex;

    // The texts the searchable-fields preference names, lowercased, one per line.
    static std::string haystack(const EntryIndex& index, Settings::Items::SearchableFields fields);
    static void appendHaystack(std::string& haystack, const EntryIndex& index, Settings::Items::SearchableFields fields);
    // The typed text's words, lowercased.
    static std::vector<Foundation::String> words(const Foundation::String& text);
    // Whether every word is in the haystack. Bytes can match inside a character (an accent after a
    // letter), so a haystack that is not ASCII is checked whole as text.
    static bool matches(std::string_view haystack, bool isASCII, const std::vector<Foundation::String>& words);
};

} // namespace Shared
