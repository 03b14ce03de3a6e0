#include "Basalwork/Base/Data.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/GzipError.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace Basalwork;
using Foundation::Data;

namespace {

Data bytes(std::vector<std::uint8_t> values)
{
    return Data(std::move(values));
}

// Text that compresses, with enough variety that deflate has real work.
Data sample(std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; text.size() < count; ++i)
        text += "entry " + std::to_string(i * 7919 % 1000) + ";";
    text.resize(count);
    return Data::fromString(text);
}

GzipError gzipFailure(const std::function<void()>& body)
{
    try {
        body();
    } catch (const GzipError& error) {
        return error;
    }
    ADD_FAILURE() << "no GzipError";
    return GzipError::withStatus(0, nullptr);
}

} // namespace

TEST(DataLineTerminators, AreTheUTF8BytesInReadingOrder)
{
    const auto& newlines = DataConstants::newlines();
    ASSERT_EQ(newlines.size(), 8u);
    EXPECT_EQ(newlines[0], bytes({0x0A}));
    EXPECT_EQ(newlines[1], bytes({0x0B}));
    EXPECT_EQ(newlines[2], bytes({0x0C}));
    EXPECT_EQ(newlines[3], bytes({0x0D}));
    EXPECT_EQ(newlines[4], bytes({0x0D, 0x0A}));
    EXPECT_EQ(newlines[5], Data::fromString("\u0085"));
    EXPECT_EQ(newlines[6], Data::fromString("\u2028"));
    EXPECT_EQ(newlines[7], Data::fromString("\u2029"));
    EXPECT_EQ(DataConstants::carriageReturnLineFeed(), newlines[4]);

    EXPECT_TRUE(isNewline(bytes({0x0D, 0x0A})));
    EXPECT_TRUE(isNewline(bytes({0xE2, 0x80, 0xA8})));
    EXPECT_FALSE(isNewline(bytes({0x0A, 0x0A})));
    EXPECT_FALSE(isNewline(Data()));
    EXPECT_TRUE(isNotNewline(bytes({0xE2, 0x80})));
}

TEST(DataText, HexAndStrictUTF8)
{
    EXPECT_EQ(base16EncodedString(bytes({0x00, 0xAB, 0xFF})), "00abff");
    EXPECT_EQ(base16EncodedString(bytes({0x0A})), "0a");
    EXPECT_EQ(base16EncodedString(Data()), "");

    EXPECT_EQ(utf8String(Data::fromString("h\u00e9llo")), "h\u00e9llo");
    EXPECT_EQ(utf8String(Data()), "");
    try {
        utf8String(bytes({0xFF, 0xFE}));
        ADD_FAILURE() << "decoded invalid UTF-8";
    } catch (const GeneralError& error) {
        auto* failure = error.as<GeneralError::FailedToDecodeUTF8StringFromData>();
        ASSERT_NE(failure, nullptr);
        EXPECT_EQ(failure->data, bytes({0xFF, 0xFE}));
    }
}

TEST(Gzip, RecognisesTheMagicBytes)
{
    EXPECT_FALSE(isGzipped(Data()));
    EXPECT_FALSE(isGzipped(bytes({0x1F})));
    EXPECT_FALSE(isGzipped(bytes({0x1F, 0x00})));
    EXPECT_TRUE(isGzipped(bytes({0x1F, 0x8B})));
    EXPECT_TRUE(isGzipped(bytes({0x1F, 0x8B, 0x42})));
}

TEST(Gzip, RoundTripsAtEveryLevel)
{
    Data original = sample(100000); // several output steps at every level
    for (auto level : {CompressionLevel::noCompression(), CompressionLevel::bestSpeed(), CompressionLevel::bestCompression(),
                       CompressionLevel::defaultCompression(), CompressionLevel(4)}) {
        Data packed = gzipped(original, level);
        EXPECT_TRUE(isGzipped(packed)) << level.rawValue;
        EXPECT_EQ(gunzipped(packed), original) << level.rawValue;
    }
    EXPECT_LT(gzipped(original, CompressionLevel::bestCompression()).count(), original.count() / 4);
    EXPECT_GT(gzipped(original, CompressionLevel::noCompression()).count(), original.count());

    Data one = Data::fromString("x");
    EXPECT_EQ(gunzipped(gzipped(one, CompressionLevel::defaultCompression())), one);
    // A thousandfold expansion takes many growth steps.
    Data zeros(std::vector<std::uint8_t>(4'000'000, 0));
    EXPECT_EQ(gunzipped(gzipped(zeros, CompressionLevel::bestCompression())), zeros);
}

TEST(Gzip, EmptyDataStaysEmpty)
{
    EXPECT_EQ(gzipped(Data(), CompressionLevel::defaultCompression()), Data());
    EXPECT_EQ(gunzipped(Data()), Data());
}

TEST(Gzip, InflatesZlibStreamsAndEveryMember)
{
    Data original = sample(5000);
    std::vector<std::uint8_t> wrapped(compressBound(original.count()));
    uLongf length = wrapped.size();
    ASSERT_EQ(compress2(wrapped.data(), &length, original.bytes(), original.count(), 6), Z_OK);
    wrapped.resize(length);
    EXPECT_EQ(gunzipped(Data(wrapped)), original);

    // A gzip file may be several members back to back; each adds its contents.
    Data second = Data::fromString("and the second member");
    Data joined = gzipped(original, CompressionLevel::bestSpeed());
    joined.append(gzipped(second, CompressionLevel::bestSpeed()));
    Data expected = original;
    expected.append(second);
    EXPECT_EQ(gunzipped(joined), expected);
}

TEST(Gzip, DamagedInputFailsWithZlibsStatusAndMessage)
{
    Data packed = gzipped(sample(5000), CompressionLevel::defaultCompression());

    Data cut = packed.subdata({0, packed.count() - 4});
    GzipError truncated = gzipFailure([&] { gunzipped(cut); });
    EXPECT_EQ(truncated.kind(), GzipError::Kind::buffer());

    Data flipped = packed;
    flipped.replaceSubrange({2, 3}, bytes({0x07})); // no such compression method
    GzipError corrupt = gzipFailure([&] { gunzipped(flipped); });
    EXPECT_EQ(corrupt.kind(), GzipError::Kind::data());
    EXPECT_EQ(corrupt.message(), "unknown compression method");
    EXPECT_EQ(corrupt.localizedDescription(), "unknown compression method");

    EXPECT_EQ(gzipFailure([&] { gunzipped(Data::fromString("plain text, no header")); }).message(), "incorrect header check");
    // A single byte leaves the output no room to grow into.
    EXPECT_EQ(gzipFailure([&] { gunzipped(bytes({0x1F})); }).kind(), GzipError::Kind::buffer());
    EXPECT_EQ(gzipFailure([&] { gzipped(packed, CompressionLevel(42)); }).kind(), GzipError::Kind::stream());
}

TEST(Gzip, AnOutputLimitStopsContentsLargerThanIt)
{
    // 100 MB of zeros pack into about 100 kB; the trailer's stated size is not believed either.
    Data zeros(std::vector<std::uint8_t>(100'000'000, 0));
    Data bomb = gzipped(zeros, CompressionLevel::bestCompression());
    GzipError tooLarge = gzipFailure([&] { gunzipped(bomb, 1'000'000); });
    EXPECT_EQ(tooLarge.kind(), GzipError::Kind::buffer());
    EXPECT_EQ(tooLarge.message(), "The inflated data is larger than the limit of 1000000 bytes");

    Data original = sample(5000);
    Data packed = gzipped(original, CompressionLevel::defaultCompression());
    EXPECT_EQ(gunzipped(packed, original.count()), original);
    EXPECT_EQ(gzipFailure([&] { gunzipped(packed, original.count() - 1); }).kind(), GzipError::Kind::buffer());
    // Every member counts towards the limit.
    Data twice = packed;
    twice.append(packed);
    EXPECT_EQ(gzipFailure([&] { gunzipped(twice, original.count() + 1); }).kind(), GzipError::Kind::buffer());
    EXPECT_EQ(gunzipped(twice, 2 * original.count()).count(), 2 * original.count());
}

TEST(GzipError, MapsZlibStatusesAndMessages)
{
    EXPECT_EQ(GzipError::withStatus(Z_STREAM_ERROR, nullptr).kind(), GzipError::Kind::stream());
    EXPECT_EQ(GzipError::withStatus(Z_DATA_ERROR, nullptr).kind(), GzipError::Kind::data());
    EXPECT_EQ(GzipError::withStatus(Z_MEM_ERROR, nullptr).kind(), GzipError::Kind::memory());
    EXPECT_EQ(GzipError::withStatus(Z_BUF_ERROR, nullptr).kind(), GzipError::Kind::buffer());
    EXPECT_EQ(GzipError::withStatus(Z_VERSION_ERROR, nullptr).kind(), GzipError::Kind::version());
    EXPECT_EQ(GzipError::withStatus(Z_NEED_DICT, nullptr).kind(), GzipError::Kind::unknown(Z_NEED_DICT));
    EXPECT_NE(GzipError::Kind::unknown(2), GzipError::Kind::unknown(3));

    EXPECT_EQ(GzipError::withStatus(Z_NEED_DICT, nullptr).message(), "Unknown gzip error");
    EXPECT_EQ(GzipError::withStatus(Z_DATA_ERROR, "\xFF\xFE").message(), "Unknown gzip error");
    EXPECT_EQ(GzipError::withStatus(Z_DATA_ERROR, "invalid block type").message(), "invalid block type");

    GzipError error = GzipError::withStatus(Z_NEED_DICT, "need dictionary");
    EXPECT_EQ(error.domain(), "Basalwork.GzipError");
    EXPECT_EQ(error.code(), 1);
    EXPECT_EQ(error.description(), R"(GzipError(kind: Basalwork.GzipError.Kind.unknown(code: 2), message: "need dictionary"))");
}

TEST(DataBridging, PassesThroughToThePlatform)
{
    Data original = sample(3000);
    EXPECT_EQ(data(*nsData(original)), original);
    Data packed = compressed(original, Foundation::NSData::CompressionAlgorithm::zlib);
    EXPECT_FALSE(isGzipped(packed));
    EXPECT_EQ(decompressed(packed, Foundation::NSData::CompressionAlgorithm::zlib), original);
    EXPECT_THROW(decompressed(original, Foundation::NSData::CompressionAlgorithm::zlib), Foundation::NSError);
}
