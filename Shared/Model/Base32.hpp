#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"

namespace Shared {

// RFC 4648 Base32 (the A-Z, 2-7 alphabet) as one-time-password secrets are written: letters of either
// case, spaces and hyphens between groups ignored, padding optional but only at the end.
struct Base32 {
    // Throws TOTPError.invalidSecretKey, naming what is wrong but not the text.
    static Foundation::Data decode(const Foundation::String& text);
    // Upper case, without padding.
    static Foundation::String encode(const Foundation::Data& data);
};

} // namespace Shared
