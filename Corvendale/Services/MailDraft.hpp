#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>

namespace Corvendale {

// A message for the system's mail program, handed over as a "mailto:" URL.
struct MailDraft {
    Foundation::String recipient;
    Foundation::String subject;
    Foundation::String body;

    // "mailto:" + the recipient, with the subject and the body as percent-encoded query items; nothing
    // when that is no URL.
    std::optional<Foundation::URL> url() const;
    // Hands the draft to the mail program when one takes it; false when none does (or it is no URL).
    bool open() const;
};

} // namespace Corvendale
