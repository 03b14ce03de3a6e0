#include "Platform/Foundation/NSData.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>

using namespace Foundation;
using Algorithm = NSData::CompressionAlgorithm;

namespace {

std::shared_ptr<NSData> nsData(std::vector<std::uint8_t> bytes)
{
    return make<NSData>(Data(std::move(bytes)));
}

Data contents(const NSData& data)
{
    return Data(data.bytes(), data.length());
}

std::int64_t codeOfFailure(const std::function<void()>& body)
{
    try {
        body();
    } catch (const NSError& error) {
        EXPECT_EQ(error.domain(), NSCocoaErrorDomain);
        return error.code();
    }
    ADD_FAILURE() << "no error";
    return 0;
}

} // namespace

TEST(NSData, CompressesWithRawDeflate)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 200000; ++i)
        bytes.push_back(static_cast<std::uint8_t>((i * 7919) % 251));
    auto original = nsData(bytes);
    auto packed = original->compressed(Algorithm::zlib);
    EXPECT_LT(packed->length(), original->length());
    EXPECT_EQ(contents(*packed->decompressed(Algorithm::zlib)), contents(*original));

    // The fixed-code deflate block for "a", with no zlib header or checksum around it.
    EXPECT_EQ(contents(*nsData({0x4B, 0x04, 0x00})->decompressed(Algorithm::zlib)), Data::fromString("a"));
}

TEST(NSData, CorruptOrCutOffInputFails)
{
    auto packed = make<NSData>(Data::fromString(std::string(5000, 'x')))->compressed(Algorithm::zlib);
    Data cut = contents(*packed).subdata({0, packed->length() - 1});
    EXPECT_EQ(codeOfFailure([&] { make<NSData>(cut)->decompressed(Algorithm::zlib); }), 5121);
    EXPECT_EQ(codeOfFailure([&] { nsData({0xFF, 0xFF, 0xFF})->decompressed(Algorithm::zlib); }), 5121);
}

TEST(NSData, OtherAlgorithmsAreNotAvailable)
{
    auto data = nsData({1, 2, 3});
    for (Algorithm algorithm : {Algorithm::lzfse, Algorithm::lz4, Algorithm::lzma}) {
        EXPECT_EQ(codeOfFailure([&] { data->compressed(algorithm); }), 3328);
        EXPECT_EQ(codeOfFailure([&] { data->decompressed(algorithm); }), 3328);
    }
}
