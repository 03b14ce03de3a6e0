#include "Platform/Foundation/NSData.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <algorithm>
#include <climits>
#include <vector>

#include <zlib.h>

namespace Foundation {
namespace {

// A middle level: readers need only the raw format, whatever the ratio.
constexpr int compressionLevel = 5;
constexpr std::size_t chunk = 65536;

// NSCocoaErrorDomain's codes for these failures.
enum Code : std::int64_t {
    featureUnsupported = 3328,
    compressionFailed = 5120,
    decompressionFailed = 5121,
};

NSError unsupported(NSData::CompressionAlgorithm algorithm)
{
    const char* names[] = {"lzfse", "lz4", "lzma", "zlib"};
    return NSError(NSCocoaErrorDomain, featureUnsupported,
                   {{NSDebugDescriptionErrorKey, std::string("Compression algorithm not available: ") + names[static_cast<int>(algorithm)]}});
}

// zlib counts in 32 bits; longer buffers are handed over a piece at a time.
uInt piece(std::size_t remaining)
{
    return static_cast<uInt>(std::min<std::size_t>(remaining, UINT_MAX));
}

// Runs a raw deflate or inflate stream over the whole input. A stream that does not reach its end (corrupt
// or cut-off input) is a failure, never a partial result.
template <class Step, class End>
Data run(z_stream& stream, const Data& input, Step step, End end, bool compressing, Code failure)
{
    struct Ending {
        z_stream& stream;
        End end;
        ~Ending() { end(&stream); }
    } ending {stream, end};

    std::vector<std::uint8_t> output;
    std::size_t produced = 0;
    stream.next_in = const_cast<Bytef*>(input.bytes());
    int status = Z_OK;
    while (status == Z_OK) {
        if (produced == output.size())
            output.resize(output.size() + chunk);
        std::size_t remaining = input.count() - static_cast<std::size_t>(stream.next_in - input.bytes());
        stream.avail_in = piece(remaining);
        uInt room = piece(output.size() - produced);
        stream.next_out = output.data() + produced;
        stream.avail_out = room;
        status = step(&stream, compressing && stream.avail_in == remaining ? Z_FINISH : Z_NO_FLUSH);
        produced += room - stream.avail_out;
    }
    if (status != Z_STREAM_END)
        throw NSError(NSCocoaErrorDomain, failure);
    output.resize(produced);
    return Data(std::move(output));
}

} // namespace

std::shared_ptr<NSData> NSData::compressed(CompressionAlgorithm using_) const
{
    if (using_ != CompressionAlgorithm::zlib)
        throw unsupported(using_);
    z_stream stream {};
    if (deflateInit2(&stream, compressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw NSError(NSCocoaErrorDomain, compressionFailed);
    return make<NSData>(run(stream, m_data, deflate, deflateEnd, true, compressionFailed));
}

std::shared_ptr<NSData> NSData::decompressed(CompressionAlgorithm using_) const
{
    if (using_ != CompressionAlgorithm::zlib)
        throw unsupported(using_);
    z_stream stream {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        throw NSError(NSCocoaErrorDomain, decompressionFailed);
    return make<NSData>(run(stream, m_data, inflate, inflateEnd, false, decompressionFailed));
}

} // namespace Foundation
