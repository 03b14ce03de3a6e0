#pragma once

#include <string_view>

namespace Shared {

// The public suffix list (Debian's libpsl, with the list the system keeps up to date when there is one):
// the names under which anyone may register one of their own ("com", "co.uk", "github.io"). Sites under
// such a name belong to different people.
struct PublicSuffixList {
    // `host` in lower case, without a trailing dot.
    static bool isPublicSuffix(std::string_view host);
};

} // namespace Shared
