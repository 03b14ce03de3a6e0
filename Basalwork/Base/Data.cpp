#include "Basalwork/Base/Data.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/GzipError.hpp"
#include "Basalwork/Base/String.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>

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

    std::vector<std::uint8_t> output;
    output.reserve(compressionStep);
    do {
        if (stream.total_out >= output.size())
            output.resize(output.size() + compressionStep);
        std::size_t remaining = data.count() - stream.total_in;
        stream.next_in = const_cast<Bytef*>(data.bytes() + stream.total_in);
        stream.avail_in = piece(remaining);
        stream.next_out = output.data() + stream.total_out;
        stream.avail_out = piece(output.size() - stream.total_out);
        // Finishing is allowed only once zlib holds all the input.
        status = deflate(&stream, stream.avail_in == remaining ? Z_FINISH : Z_NO_FLUSH);
    } while (status == Z_OK);

    const char* message = stream.msg;
    if (guard.end() != Z_OK || status != Z_STREAM_END)
        throw GzipError::withStatus(status, message);
    output.resize(stream.total_out);
    return Data(std::move(output));
}

Data gunzipped(const Data& data)
{
    if (data.isEmpty())
        return {};
    z_stream stream {};
    int status = inflateInit2(&stream, automaticHeaderWindowBits);
    if (status != Z_OK)
        throw GzipError::withStatus(status, stream.msg);
    StreamGuard<inflateEnd> guard {stream};

    // Where the current member starts: a reset for the next gzip member sets zlib's totals back to 0.
    std::size_t inputBase = 0;
    std::size_t outputBase = 0;
    std::size_t step = data.count() / 2;
    std::vector<std::uint8_t> output;
    output.reserve(data.count() * 2);
    while (true) {
        do {
            std::size_t read = inputBase + stream.total_in;
            std::size_t written = outputBase + stream.total_out;
            if (written >= output.size())
                output.resize(output.size() + step);
            stream.next_in = const_cast<Bytef*>(data.bytes() + read);
            stream.avail_in = piece(data.count() - read);
            stream.next_out = output.data() + written;
            stream.avail_out = piece(output.size() - written);
            status = inflate(&stream, Z_SYNC_FLUSH);
        } while (status == Z_OK);

        // A gzip file may hold several members, one after another; stopping at the first would drop the rest.
        std::size_t read = inputBase + stream.total_in;
        bool anotherMember = status == Z_STREAM_END && isGzipped(data) && data.count() - read >= 2 && data[read] == 0x1F
            && data[read + 1] == 0x8B;
        if (!anotherMember)
            break;
        inputBase = read;
        outputBase += stream.total_out;
        status = inflateReset(&stream);
        if (status != Z_OK)
            break;
    }

    std::size_t written = outputBase + stream.total_out;
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
