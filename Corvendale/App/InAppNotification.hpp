#pragma once

#include "Platform/Foundation/String.hpp"

#include <optional>

namespace Corvendale {

// What a banner says: a title and, below it, an optional subtitle.
struct InAppNotification {
    Foundation::String titleText;
    std::optional<Foundation::String> subtitleText;

    // The title, then the subtitle in parentheses ("nil" without one).
    Foundation::String description() const;

    friend bool operator==(const InAppNotification&, const InAppNotification&) = default;
};

} // namespace Corvendale
