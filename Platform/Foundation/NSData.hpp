#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <cstddef>
#include <memory>

namespace Foundation {

// The object form of a byte buffer, immutable. `make<NSData>(data)` copies the bytes in.
class NSData : public NSObject {
public:
    enum class CompressionAlgorithm;

    const void* bytes() const { return m_data.bytes(); }
    std::size_t length() const { return m_data.count(); }

    // compressedDataUsingAlgorithm:error: and decompressedDataUsingAlgorithm:error:. Only zlib (raw
    // deflate, without header or checksum) is available here; the other algorithms fail with
    // featureUnsupported. Failures throw NSError in NSCocoaErrorDomain.
    std::shared_ptr<NSData> compressed(CompressionAlgorithm using_) const;
    std::shared_ptr<NSData> decompressed(CompressionAlgorithm using_) const;

    std::string description() const override { return m_data.description(); }

protected:
    friend Construct;
    explicit NSData(Data data)
        : m_data(std::move(data))
    {
    }

private:
    Data m_data;
};

} // namespace Foundation

#include "Platform/Foundation/NSData.CompressionAlgorithm.hpp"
