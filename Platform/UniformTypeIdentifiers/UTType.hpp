#pragma once

#include "Platform/Foundation/String.hpp"

namespace UniformTypeIdentifiers {

// A kind of content, named by its uniform type identifier.
struct UTType {
    Foundation::String identifier;

    static const UTType& data();
    static const UTType& folder();
    static const UTType& image();

    friend bool operator==(const UTType&, const UTType&) = default;
};

} // namespace UniformTypeIdentifiers
