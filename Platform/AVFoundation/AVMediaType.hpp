#pragma once

#include "Platform/Foundation/String.hpp"

namespace AVFoundation {

// A kind of media a capture device records, named by its raw text.
struct AVMediaType {
    Foundation::String rawValue;

    static AVMediaType video() { return {"vide"}; }
    static AVMediaType audio() { return {"soun"}; }

    friend bool operator==(const AVMediaType&, const AVMediaType&) = default;
};

} // namespace AVFoundation
