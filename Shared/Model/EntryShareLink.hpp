#pragma once

#include "Shared/Model/Entry.hpp"

#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Shared {

// An item shared in plain text: a readable text, and a link ("corvendale://share?title=...") from which
// the program makes the item anew. The link carries the system fields, the category and the tags,
// percent-encoded; nothing of it is sealed, which is why sharing asks first.
struct EntryShareLink {
    static constexpr const char* scheme = "corvendale";
    static constexpr const char* host = "share";

    static Foundation::String text(const Entry& entry);
    static Foundation::URL url(const Entry& entry);
    // The shared fields of a link made by `url`; nothing for any other URL.
    static std::optional<Entry> entry(const Foundation::URL& url);
};

} // namespace Shared
