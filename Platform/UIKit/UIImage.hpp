#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGSize.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

// A bitmap held as RGBA, 8 bits a channel, not premultiplied, row by row from the top; scale 1.
// JPEG through libjpeg, PNG through libpng. `make<UIImage>()` is the empty image of size zero.
class UIImage : public Foundation::NSObject {
public:
    // UIImage(data:): null when the data is no JPEG or PNG image we can read, or one of more than
    // `maximumPixelCount` pixels.
    static std::shared_ptr<UIImage> fromData(const Foundation::Data& data);
    // An image of the given pixels, as drawing into a bitmap context would give; `rgba` holds
    // width * height * 4 bytes.
    static std::shared_ptr<UIImage> fromRGBA(std::size_t width, std::size_t height, std::vector<std::uint8_t> rgba);

    // UIImage(systemName:): a symbol of the system's set, known by its name. Nothing here draws symbols,
    // so it holds no pixels and what shows it names it. Nothing for a blank name.
    static std::shared_ptr<UIImage> systemImage(const Foundation::String& systemName);

    static constexpr std::size_t maximumPixelCount = 100'000'000;

    CGSize size() const { return {static_cast<CGFloat>(m_width), static_cast<CGFloat>(m_height)}; }
    CGFloat scale() const { return 1.0; }
    const std::vector<std::uint8_t>& rgba() const { return m_rgba; }
    // The symbol's name; nothing for a bitmap.
    const std::optional<Foundation::String>& systemName() const { return m_systemName; }

    // jpegData(compressionQuality:), quality from 0 to 1. JPEG has no alpha: pixels are composited over
    // black. Nothing for an image that cannot be encoded, such as the empty image.
    std::optional<Foundation::Data> jpegData(CGFloat compressionQuality) const;
    // Nothing for an image that cannot be encoded, such as the empty image.
    std::optional<Foundation::Data> pngData() const;

protected:
    friend Foundation::Construct;
    UIImage() = default;
    UIImage(std::size_t width, std::size_t height, std::vector<std::uint8_t> rgba);

private:
    std::size_t m_width = 0;
    std::size_t m_height = 0;
    std::vector<std::uint8_t> m_rgba;
    std::optional<Foundation::String> m_systemName;
};

} // namespace UIKit
