#include "Basalwork/Base/Data.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/GzipError.hpp"
#include "Basalwork/Base/String.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>
#include <string>

#include <zlib.h>

namespace Basalwork {
namespace {

using Foundation::Data;

// The line terminators are the text ones, so the two lists cannot drift apart.
Data utf8(const Foundation::String& text)
{
    return Data::fromString(text.view());
}

// zlib counts in 32 bits; longer buffers are handed over a piece at a time.
uInt piece(std::size_t remaining)
{
    return static_cast<uInt>(std::min<std::size_t>(remaining, UINT_MAX));
}

constexpr int gzipWindowBits = MAX_WBITS + 16;
constexpr int automaticHeaderWindowBits = MAX_WBITS + 32;
constexpr int memoryLevel = 9;
constexpr std::size_t compressionStep = 16384;

// Ends the stream on the way out of an exception; the normal paths end it themselves to check the status.
template <int (*End)(z_streamp)>
struct StreamGuard {
    z_stream& stream;
    bool ended = false;
    int end()
    {
        ended = true;
        return End(&stream);
    }
    ~StreamGuard()
    {
        if (!ended)
            End(&stream);
    }
};

} // namespace

const Data& DataConstants::lineFeed()
{
    static const Data value = utf8(Strings::lineFeed());
    return value;
}

const Data& DataConstants::lineTabulation()
{
    static const Data value = utf8(Strings::lineTabulation());
    return value;
}

const Data& DataConstants::formFeed()
{
    static const Data value = utf8(Strings::formFeed());
    return value;
}

const Data& DataConstants::carriageReturn()
{
    static const Data value = utf8(Strings::carriageReturn());
    return value;
}

const Data& DataConstants::carriageReturnLineFeed()
{
    static const Data value = utf8(Strings::carriageReturnLineFeed());
    return value;
}

const Data& DataConstants::nextLine()
{
    static const Data value = utf8(Strings::nextLine());
    return value;
}

const Data& DataConstants::lineSeparator()
{
    static const Data value = utf8(Strings::lineSeparator());
    return value;
}

const Data& DataConstants::paragraphSeparator()
{
    static const Data value = utf8(Strings::paragraphSeparator());
    return value;
}

const std::vector<Data>& DataConstants::newlines()
{
    static const std::vector<Data> value = [] {
        std::vector<Data> newlines;
        for (const auto& newline : Strings::newlines())
            newlines.push_back(utf8(newline));
        return newlines;
    }();
    return value;
}

bool isGzipped(const Data& data)
{
    return data.count() >= 2 && data[0] == 0x1F && data[1] == 0x8B;
}

Data gzipped(const Data& data, CompressionLevel level)
{
    if (data.isEmpty())
        return {};
    z_stream stream {};
    int status = deflateInit2(&stream, level.rawValue, Z_DEFLATED, gzipWindowBits, memoryLevel, Z_DEFAULT_STRATEGY);
    if (status != Z_OK)
        throw GzipError::withStatus(status, stream.msg);
    StreamGuard<deflateEnd> guard {stream};

    // Room for the worst case up front, so one call finishes the stream (below 4 GiB of input).
    std::vector<std::uint8_t> output(std::max<std::size_t>(deflateBound(&stream, piece(data.count())), compressionStep));
    std::size_t read = 0;
    std::size_t written = 0;
    do {
        if (written == output.size())
            output.resize(output.size() + std::max(output.size() / 2, compressionStep));
        std::size_t remaining = data.count() - read;
        stream.next_in = const_cast<Bytef*>(data.bytes() + read);
        stream.avail_in = piece(remaining);
        stream.next_out = output.data() + written;
        stream.avail_out = piece(output.size() - written);
        const uInt availableIn = stream.avail_in;
        const uInt availableOut = stream.avail_out;
        // Finishing is allowed only once zlib holds all the input.
        status = deflate(&stream, stream.avail_in == remaining ? Z_FINISH : Z_NO_FLUSH);
        read += availableIn - stream.avail_in;
        written += availableOut - stream.avail_out;
    } while (status == Z_OK);

    const char* message = stream.msg;
    if (guard.end() != Z_OK || status != Z_STREAM_END)
        throw GzipError::withStatus(status, message);
    output.resize(written);
    return Data(std::move(output));
}

namespace {

// What a gzip file's trailer says the contents measure (modulo 4 GiB): the output is made that size at
// once when believable. Deflate cannot grow data more than about 1032 times.
std::size_t expectedSize(const Data& data, std::size_t limit)
{
    std::size_t guess = data.count() * 2;
    if (isGzipped(data) && data.count() >= 18) {
        const std::uint8_t* trailer = data.bytes() + data.count() - 4;
        std::size_t stated = trailer[0] | (trailer[1] << 8) | (trailer[2] << 16) | (std::size_t(trailer[3]) << 24);
        if (stated <= data.count() * 1032)
            guess = stated;
    }
    return std::max<std::size_t>(std::min(guess, limit), 1);
}

} // namespace

Data gunzipped(const Data& data, std::optional<std::size_t> outputLimit)
{
    if (data.isEmpty())
        return {};
    z_stream stream {};
    int status = inflateInit2(&stream, automaticHeaderWindowBits);
    if (status != Z_OK)
        throw GzipError::withStatus(status, stream.msg);
    StreamGuard<inflateEnd> guard {stream};

    // One byte past the limit shows that it was passed, without ever holding more.
    const std::size_t capacityLimit = outputLimit && *outputLimit < std::numeric_limits<std::size_t>::max()
        ? *outputLimit + 1
        : std::numeric_limits<std::size_t>::max();
    std::size_t read = 0;
    std::size_t written = 0;
    std::vector<std::uint8_t> output(expectedSize(data, capacityLimit));
    while (true) {
        do {
            if (written == output.size()) {
                if (output.size() == capacityLimit)
                    break;
                output.resize(std::min(capacityLimit, output.size() + std::max<std::size_t>(output.size(), 1 << 16)));
            }
            stream.next_in = const_cast<Bytef*>(data.bytes() + read);
            stream.avail_in = piece(data.count() - read);
            stream.next_out = output.data() + written;
            stream.avail_out = piece(output.size() - written);
            const uInt availableIn = stream.avail_in;
            const uInt availableOut = stream.avail_out;
            status = inflate(&stream, Z_SYNC_FLUSH);
            read += availableIn - stream.avail_in;
            written += availableOut - stream.avail_out;
        } while (status == Z_OK);
        if (outputLimit && written > *outputLimit) {
            guard.end();
            throw GzipError(GzipError::Kind::buffer(),
                            "The inflated data is larger than the limit of " + std::to_string(*outputLimit) + " bytes");
        }

        // A gzip file may hold several members, one after another; stopping at the first would drop the rest.
        bool anotherMember = status == Z_STREAM_END && isGzipped(data) && data.count() - read >= 2 && data[read] == 0x1F
            && data[read + 1] == 0x8B;
        if (!anotherMember)
            break;
        status = inflateReset(&stream);
        if (status != Z_OK)
            break;
    }

    const char* message = stream.msg;
    if (guard.end() != Z_OK || status != Z_STREAM_END)
        throw GzipError::withStatus(status, message);
    output.resize(written);
    return Data(std::move(output));
}

bool isNewline(const Data& data)
{
    const auto& newlines = DataConstants::newlines();
    return std::find(newlines.begin(), newlines.end(), data) != newlines.end();
}

bool isNotNewline(const Data& data)
{
    return !isNewline(data);
}

Foundation::String base16EncodedString(const Data& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(data.count() * 2);
    for (std::uint8_t byte : data) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return Foundation::String(std::move(text));
}

Foundation::String utf8String(const Data& data)
{
    auto text = Foundation::String::fromUTF8(data.view());
    if (!text)
        throw GeneralError::failedToDecodeUTF8StringFromData(data);
    return *text;
}

std::shared_ptr<Foundation::NSData> nsData(const Data& data)
{
    return Foundation::make<Foundation::NSData>(data);
}

Data data(const Foundation::NSData& nsData)
{
    return Data(nsData.bytes(), nsData.length());
}

Data compressed(const Data& data, Foundation::NSData::CompressionAlgorithm using_)
{
    return Basalwork::data(*nsData(data)->compressed(using_));
}

Data decompressed(const Data& data, Foundation::NSData::CompressionAlgorithm using_)
{
    return Basalwork::data(*nsData(data)->decompressed(using_));
}

} // namespace Basalwork
