#pragma once

#include "Platform/CoreData/NSComparisonPredicate.hpp"

#include <string>
#include <string_view>

namespace CoreData {

// How the store compares text, in memory and inside SQLite alike, so that a fetch answers the same
// whichever of the two evaluates it. Texts are valid UTF-8.
struct TextComparison {
    // Canonical order: canonically equivalent texts are equal, others ordered by their NFC scalars.
    static int compare(std::string_view lhs, std::string_view rhs);
    static int compareCaseInsensitive(std::string_view lhs, std::string_view rhs);
    // The form [c] and [d] compare: case folded, and with diacritical marks removed.
    static std::string folded(std::string_view text, NSComparisonPredicate::Options options);
    // Equality, order and the text operators on two texts, with the comparison's options.
    static bool holds(NSComparisonPredicate::Operator type, std::string_view lhs, std::string_view rhs,
                      NSComparisonPredicate::Options options);
};

} // namespace CoreData
