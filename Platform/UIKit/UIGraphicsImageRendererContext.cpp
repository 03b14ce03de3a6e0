#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"

#include "Platform/UIKit/UIColor.hpp"

#include <algorithm>
#include <cmath>

namespace UIKit {
namespace {

// Drawing belongs to the main thread, but a renderer on another thread must not see its contexts.
thread_local UIGraphicsImageRendererContext* currentContext = nullptr;

// The pixel index where an edge at `coordinate` falls: pixels whose centres lie beyond it are inside.
std::size_t pixelEdge(CGFloat coordinate, std::size_t limit)
{
    if (!(coordinate > 0))
        return 0;
    CGFloat edge = std::round(coordinate);
    return edge >= static_cast<CGFloat>(limit) ? limit : static_cast<std::size_t>(edge);
}

std::uint8_t channel(CGFloat value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

} // namespace

UIGraphicsImageRendererContext::UIGraphicsImageRendererContext(const CGRect& bounds, std::size_t pixelWidth,
                                                               std::size_t pixelHeight)
    : m_bounds(bounds)
    , m_width(pixelWidth)
    , m_height(pixelHeight)
    , m_rgba(pixelWidth * pixelHeight * 4, 0)
    , m_previous(currentContext)
{
    currentContext = this;
}

UIGraphicsImageRendererContext::~UIGraphicsImageRendererContext()
{
    currentContext = m_previous;
}

UIGraphicsImageRendererContext* UIGraphicsImageRendererContext::current()
{
    return currentContext;
}

void UIGraphicsImageRendererContext::setFillColor(const UIColor& color)
{
    m_fill = {color.red(), color.green(), color.blue(), color.alpha()};
}

void UIGraphicsImageRendererContext::fill(const CGRect& rect)
{
    if (rect.isNull())
        return;
    CGRect area = rect.standardized().offsetBy(-m_bounds.origin.x, -m_bounds.origin.y);
    std::size_t left = pixelEdge(area.minX(), m_width);
    std::size_t right = pixelEdge(area.maxX(), m_width);
    std::size_t top = pixelEdge(area.minY(), m_height);
    std::size_t bottom = pixelEdge(area.maxY(), m_height);
    CGFloat sourceAlpha = std::clamp(m_fill[3], 0.0, 1.0);
    for (std::size_t y = top; y < bottom; ++y) {
        for (std::size_t x = left; x < right; ++x) {
            std::uint8_t* pixel = &m_rgba[(y * m_width + x) * 4];
            // Source over, on colours that are not premultiplied.
            CGFloat destinationAlpha = pixel[3] / 255.0 * (1 - sourceAlpha);
            CGFloat alpha = sourceAlpha + destinationAlpha;
            for (int c = 0; c < 3; ++c) {
                CGFloat blended = alpha > 0 ? (m_fill[c] * sourceAlpha + pixel[c] / 255.0 * destinationAlpha) / alpha : 0;
                pixel[c] = channel(blended);
            }
            pixel[3] = channel(alpha);
        }
    }
}

} // namespace UIKit
