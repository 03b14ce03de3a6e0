#pragma once

#include "Platform/Foundation/String.hpp"

#include <string>

namespace Foundation {

// The name of a text transform, as ICU knows it: "Latin-ASCII; Lower" folds accented Latin letters to
// plain lower-case ASCII.
struct StringTransform {
    std::string rawValue;

    friend bool operator==(const StringTransform&, const StringTransform&) = default;
};

} // namespace Foundation
