#pragma once

#include <optional>
#include <string>

namespace Terminal {

// What a terminal's description (terminfo) says about showing the display on it.
struct TerminalCapabilities {
    // Why a terminal of that type cannot show the display (unset, unknown, or unable to move its
    // cursor, as TERM=dumb), as the line a person reads; none when it can. `type` is TERM's value, null
    // when unset.
    static std::optional<std::string> whyDisplayCannotShow(const char* type);
};

} // namespace Terminal
