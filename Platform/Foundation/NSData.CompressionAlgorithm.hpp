#pragma once

#include "Platform/Foundation/NSData.hpp"

namespace Foundation {

// The platform's algorithms, in its order.
enum class NSData::CompressionAlgorithm {
    lzfse,
    lz4,
    lzma,
    zlib,
};

} // namespace Foundation
