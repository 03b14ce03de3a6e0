#pragma once

#include <cstdint>

namespace Basalwork {

// A zlib compression level: 0 stores, 1 is fastest, 9 is smallest, -1 is zlib's own default.
struct CompressionLevel {
    std::int32_t rawValue;

    // init(rawValue:) and init(_:)
    constexpr explicit CompressionLevel(std::int32_t rawValue)
        : rawValue(rawValue)
    {
    }

    static constexpr CompressionLevel noCompression() { return CompressionLevel(0); }
    static constexpr CompressionLevel bestSpeed() { return CompressionLevel(1); }
    static constexpr CompressionLevel bestCompression() { return CompressionLevel(9); }
    static constexpr CompressionLevel defaultCompression() { return CompressionLevel(-1); }

    friend constexpr bool operator==(CompressionLevel, CompressionLevel) = default;
};

} // namespace Basalwork
