#include "Platform/UIKit/UIImage.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace UIKit;
using Foundation::Data;

namespace {

// A gradient with every alpha from opaque to clear, so that a lossless round trip shows any slip.
std::shared_ptr<UIImage> gradient(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> rgba;
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            rgba.push_back(static_cast<std::uint8_t>(x * 255 / (width - 1)));
            rgba.push_back(static_cast<std::uint8_t>(y * 255 / (height - 1)));
            rgba.push_back(0x40);
            rgba.push_back(static_cast<std::uint8_t>(255 - (x + y) % 256));
        }
    }
    return UIImage::fromRGBA(width, height, std::move(rgba));
}

std::shared_ptr<UIImage> solid(std::size_t width, std::size_t height, std::array<std::uint8_t, 4> pixel)
{
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < width * height; ++i)
        rgba.insert(rgba.end(), pixel.begin(), pixel.end());
    return UIImage::fromRGBA(width, height, std::move(rgba));
}

int largestDifference(const std::vector<std::uint8_t>& lhs, const std::vector<std::uint8_t>& rhs)
{
    int largest = 0;
    for (std::size_t i = 0; i < std::min(lhs.size(), rhs.size()); ++i)
        largest = std::max(largest, std::abs(lhs[i] - rhs[i]));
    return largest;
}

} // namespace

TEST(UIImage, PNGRoundTripsEveryPixelWithItsAlpha)
{
    auto image = gradient(17, 9);
    auto png = image->pngData();
    ASSERT_TRUE(png);
    EXPECT_EQ(png->subdata({1, 4}), Data::fromString("PNG"));

    auto decoded = UIImage::fromData(*png);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->size(), (CGSize {17, 9}));
    EXPECT_EQ(decoded->scale(), 1.0);
    EXPECT_EQ(decoded->rgba(), image->rgba());
}

TEST(UIImage, JPEGKeepsTheSizeAndRoughlyTheColours)
{
    auto image = solid(40, 30, {200, 100, 50, 255});
    auto jpeg = image->jpegData(0.9);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ((*jpeg)[0], 0xFF);
    EXPECT_EQ((*jpeg)[1], 0xD8);

    auto decoded = UIImage::fromData(*jpeg);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->size(), (CGSize {40, 30}));
    EXPECT_LE(largestDifference(decoded->rgba(), image->rgba()), 4);
}

TEST(UIImage, JPEGQualityTradesSizeForFidelity)
{
    auto image = gradient(64, 64);
    auto low = image->jpegData(0.1);
    auto high = image->jpegData(1.0);
    ASSERT_TRUE(low && high);
    EXPECT_LT(low->count(), high->count());
    // Out-of-range qualities are clamped rather than refused.
    EXPECT_TRUE(image->jpegData(-3));
    EXPECT_TRUE(image->jpegData(7));
}

TEST(UIImage, JPEGCompositesTransparencyOverBlack)
{
    auto clear = solid(8, 8, {255, 255, 255, 0});
    auto decoded = UIImage::fromData(*clear->jpegData(1.0));
    ASSERT_NE(decoded, nullptr);
    EXPECT_LE(largestDifference(decoded->rgba(), solid(8, 8, {0, 0, 0, 255})->rgba()), 2);
}

TEST(UIImage, TheEmptyImageCannotBeEncoded)
{
    auto empty = Foundation::make<UIImage>();
    EXPECT_EQ(empty->size(), CGSize::zero());
    EXPECT_EQ(empty->jpegData(0.5), std::nullopt);
    EXPECT_EQ(empty->pngData(), std::nullopt);
    EXPECT_EQ(UIImage::fromRGBA(0, 5, {})->jpegData(0.5), std::nullopt);
}

TEST(UIImage, DataThatIsNoImageGivesNothing)
{
    auto png = *gradient(8, 8)->pngData();
    auto jpeg = *gradient(8, 8)->jpegData(0.5);
    EXPECT_EQ(UIImage::fromData(Data()), nullptr);
    EXPECT_EQ(UIImage::fromData(Data::fromString("definitely not an image")), nullptr);
    EXPECT_EQ(UIImage::fromData(png.subdata({0, png.count() / 2})), nullptr);
    EXPECT_EQ(UIImage::fromData(png.subdata({0, 8})), nullptr);
    EXPECT_EQ(UIImage::fromData(jpeg.subdata({0, 3})), nullptr);
    EXPECT_EQ(UIImage::fromData(jpeg.subdata({0, 20})), nullptr);
}

TEST(UIImageDeathTest, PixelsMustMatchTheSize)
{
    EXPECT_DEATH(UIImage::fromRGBA(2, 2, std::vector<std::uint8_t>(15)), "do not match");
}
