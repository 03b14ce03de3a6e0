#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGRect.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace UIKit {

class UIColor;

// The bitmap an image renderer's drawing actions paint into, in the renderer's coordinates (its bounds).
// It lives only while those actions run, so it is handed to them by reference rather than shared.
class UIGraphicsImageRendererContext {
public:
    UIGraphicsImageRendererContext(const CGRect& bounds, std::size_t pixelWidth, std::size_t pixelHeight);
    UIGraphicsImageRendererContext(const UIGraphicsImageRendererContext&) = delete;
    UIGraphicsImageRendererContext& operator=(const UIGraphicsImageRendererContext&) = delete;
    ~UIGraphicsImageRendererContext();

    // The context of the innermost renderer whose actions are running; null outside them. Drawing that
    // names no context (a view drawing its hierarchy) goes here.
    static UIGraphicsImageRendererContext* current();

    // The renderer's bounds and the bitmap's size in pixels, for drawing that works pixel by pixel.
    CGRect bounds() const { return m_bounds; }
    std::size_t pixelWidth() const { return m_width; }
    std::size_t pixelHeight() const { return m_height; }

    // A dynamic colour paints as it looks with unspecified traits.
    void setFillColor(const UIColor& color);
    // Paints the pixels whose centres lie in the rectangle with the fill colour, over what is there.
    void fill(const CGRect& rect);

private:
    friend class UIGraphicsImageRenderer;
    std::vector<std::uint8_t> takePixels() { return std::move(m_rgba); }

    CGRect m_bounds;
    std::size_t m_width;
    std::size_t m_height;
    std::vector<std::uint8_t> m_rgba;
    std::array<CGFloat, 4> m_fill {0, 0, 0, 1};
    UIGraphicsImageRendererContext* m_previous;
};

} // namespace UIKit
