#pragma once

#include "Basalwork/Base/CompressionLevel.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSData.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Basalwork {

// The UTF-8 bytes of each line terminator, each made once.
struct DataConstants {
    static const Foundation::Data& lineFeed();
    static const Foundation::Data& lineTabulation();
    static const Foundation::Data& formFeed();
    static const Foundation::Data& carriageReturn();
    static const Foundation::Data& carriageReturnLineFeed();
    static const Foundation::Data& nextLine();
    static const Foundation::Data& lineSeparator();
    static const Foundation::Data& paragraphSeparator();
    // The eight above, in that order: a reader trying them in turn finds a lone carriage return before
    // the pair.
    static const std::vector<Foundation::Data>& newlines();
};

// --- gzip ------------------------------------------------------------------------------------------

// Starts with the gzip magic bytes 1F 8B.
bool isGzipped(const Foundation::Data& data);
// A whole gzip stream of the data; empty data stays empty, without even a header. Fails with GzipError.
Foundation::Data gzipped(const Foundation::Data& data, CompressionLevel level);
// The contents of a gzip or zlib stream, whichever the header says; a gzip file of several members gives
// them all, one after another. Empty data stays empty. Corrupt or cut-off input fails with GzipError and
// gives nothing partial. With an output limit, contents larger than the limit fail with GzipError (buffer)
// before more than one byte past it is held, so a small hostile file cannot fill memory.
Foundation::Data gunzipped(const Foundation::Data& data, std::optional<std::size_t> outputLimit = std::nullopt);

// --- Other operations ------------------------------------------------------------------------------

// The whole data is one of DataConstants::newlines().
bool isNewline(const Foundation::Data& data);
bool isNotNewline(const Foundation::Data& data);
// Two lower-case hexadecimal digits per byte, in order, with no separator: 00 AB FF is "00abff".
Foundation::String base16EncodedString(const Foundation::Data& data);
// Strict: bytes that are not UTF-8 fail with GeneralError.failedToDecodeUTF8StringFromData.
Foundation::String utf8String(const Foundation::Data& data);

std::shared_ptr<Foundation::NSData> nsData(const Foundation::Data& data);
Foundation::Data data(const Foundation::NSData& nsData);
// The platform's own compression; its errors pass through.
Foundation::Data compressed(const Foundation::Data& data, Foundation::NSData::CompressionAlgorithm using_);
Foundation::Data decompressed(const Foundation::Data& data, Foundation::NSData::CompressionAlgorithm using_);

} // namespace Basalwork
