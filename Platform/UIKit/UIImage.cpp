#include "Platform/UIKit/UIImage.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace UIKit {
namespace {

// libjpeg reports errors by calling a function that must not return; it jumps back to the call that
// started the work. State that must survive the jump lives with the caller, outside the jumping frame.
struct JPEGErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGErrorManager*>(info->err)->jump, 1);
}

void jpegSilence(j_common_ptr) { }

// Warnings about damaged data are dropped: what can be decoded is kept, as the platform does.
jpeg_error_mgr* install(JPEGErrorManager& error)
{
    jpeg_std_error(&error.base);
    error.base.error_exit = jpegErrorExit;
    error.base.output_message = jpegSilence;
    return &error.base;
}

struct Bitmap {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgba;
    std::vector<std::uint8_t> row;
};

bool fits(std::size_t width, std::size_t height)
{
    return width > 0 && height > 0 && width <= UIImage::maximumPixelCount / height;
}

bool decodeJPEG(const Foundation::Data& data, Bitmap& bitmap)
{
    jpeg_decompress_struct info {};
    JPEGErrorManager error {};
    info.err = install(error);
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.bytes(), static_cast<unsigned long>(data.count()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !fits(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Grey and YCbCr come out as RGB; CMYK fails here.
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    bitmap.width = info.output_width;
    bitmap.height = info.output_height;
    bitmap.rgba.assign(bitmap.width * bitmap.height * 4, 0xFF);
    bitmap.row.resize(bitmap.width * 3);
    while (info.output_scanline < info.output_height) {
        std::size_t y = info.output_scanline;
        JSAMPROW row = bitmap.row.data();
        jpeg_read_scanlines(&info, &row, 1);
        std::uint8_t* out = bitmap.rgba.data() + y * bitmap.width * 4;
        for (std::size_t x = 0; x < bitmap.width; ++x)
            std::copy_n(bitmap.row.data() + x * 3, 3, out + x * 4);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct JPEGOutput {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> row;
    ~JPEGOutput() { std::free(buffer); }
};

bool encodeJPEG(std::size_t width, std::size_t height, const std::vector<std::uint8_t>& rgba, int quality, JPEGOutput& output)
{
    jpeg_compress_struct info {};
    JPEGErrorManager error {};
    info.err = install(error);
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &output.buffer, &output.size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    output.row.resize(width * 3);
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* in = rgba.data() + std::size_t {info.next_scanline} * width * 4;
        for (std::size_t x = 0; x < width; ++x) {
            unsigned alpha = in[x * 4 + 3];
            for (std::size_t c = 0; c < 3; ++c)
                output.row[x * 3 + c] = static_cast<std::uint8_t>((in[x * 4 + c] * alpha + 127) / 255);
        }
        JSAMPROW row = output.row.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool decodePNG(const Foundation::Data& data, Bitmap& bitmap)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.bytes(), data.count()))
        return false;
    if (!fits(image.width, image.height)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    bitmap.width = image.width;
    bitmap.height = image.height;
    bitmap.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bitmap.rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

bool startsWith(const Foundation::Data& data, std::initializer_list<std::uint8_t> signature)
{
    return data.count() >= signature.size() && std::equal(signature.begin(), signature.end(), data.begin());
}

} // namespace

UIImage::UIImage(std::size_t width, std::size_t height, std::vector<std::uint8_t> rgba)
    : m_width(width)
    , m_height(height)
    , m_rgba(std::move(rgba))
{
}

std::shared_ptr<UIImage> UIImage::fromData(const Foundation::Data& data)
{
    Bitmap bitmap;
    bool decoded = false;
    if (startsWith(data, {0xFF, 0xD8, 0xFF}))
        decoded = decodeJPEG(data, bitmap);
    else if (startsWith(data, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        decoded = decodePNG(data, bitmap);
    if (!decoded)
        return nullptr;
    return Foundation::make<UIImage>(bitmap.width, bitmap.height, std::move(bitmap.rgba));
}

std::shared_ptr<UIImage> UIImage::systemImage(const Foundation::String& systemName)
{
    if (systemName.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        return nullptr;
    auto image = Foundation::make<UIImage>();
    image->m_systemName = systemName;
    return image;
}

std::shared_ptr<UIImage> UIImage::fromRGBA(std::size_t width, std::size_t height, std::vector<std::uint8_t> rgba)
{
    Foundation::precondition(width == 0 || height <= rgba.size() / 4 / width, "UIImage pixels do not match its size");
    Foundation::precondition(rgba.size() == width * height * 4, "UIImage pixels do not match its size");
    return Foundation::make<UIImage>(width, height, std::move(rgba));
}

std::optional<Foundation::Data> UIImage::jpegData(CGFloat compressionQuality) const
{
    // JPEG's own limit is 65535 pixels a side.
    if (m_width == 0 || m_height == 0 || m_width > 65535 || m_height > 65535)
        return std::nullopt;
    double clamped = std::isnan(compressionQuality) ? 0.0 : std::clamp(compressionQuality, 0.0, 1.0);
    int quality = std::max(1, static_cast<int>(std::lround(clamped * 100)));
    JPEGOutput output;
    if (!encodeJPEG(m_width, m_height, m_rgba, quality, output))
        return std::nullopt;
    return Foundation::Data(output.buffer, output.size);
}

std::optional<Foundation::Data> UIImage::pngData() const
{
    if (m_width == 0 || m_height == 0)
        return std::nullopt;
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(m_width);
    image.height = static_cast<png_uint_32>(m_height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, m_rgba.data(), 0, nullptr))
        return std::nullopt;
    std::vector<std::uint8_t> buffer(size);
    if (!png_image_write_to_memory(&image, buffer.data(), &size, 0, m_rgba.data(), 0, nullptr))
        return std::nullopt;
    buffer.resize(size);
    return Foundation::Data(std::move(buffer));
}

} // namespace UIKit
