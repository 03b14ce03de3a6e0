#pragma once

#include "Platform/Foundation/CodingKey.hpp"
#include "Platform/Foundation/Error.hpp"

#include <string>

namespace Foundation {

// Where coding failed and why: DecodingError.Context and EncodingError.Context, which are alike.
struct CodingErrorContext {
    CodingPath codingPath;
    std::string debugDescription;
    ErrorPtr underlyingError;

    // `Context(codingPath: [...], debugDescription: "...", underlyingError: nil)`
    std::string description() const;
};

} // namespace Foundation
