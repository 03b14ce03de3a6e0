#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"

#include "Platform/UIKit/UIImage.hpp"

#include <cmath>

namespace UIKit {

UIGraphicsImageRenderer::UIGraphicsImageRenderer(CGSize size)
    : m_bounds({0, 0}, size)
{
}

UIGraphicsImageRenderer::UIGraphicsImageRenderer(const CGRect& bounds)
    : m_bounds(bounds.standardized())
{
}

std::shared_ptr<UIImage> UIGraphicsImageRenderer::image(const DrawingActions& actions) const
{
    CGFloat width = std::ceil(m_bounds.size.width);
    CGFloat height = std::ceil(m_bounds.size.height);
    // Compared as doubles first, so that no huge or non-finite size reaches an integer conversion.
    auto limit = static_cast<CGFloat>(UIImage::maximumPixelCount);
    if (!(width >= 1 && height >= 1 && width <= limit && height <= limit && width * height <= limit))
        return Foundation::make<UIImage>();
    auto pixelWidth = static_cast<std::size_t>(width);
    auto pixelHeight = static_cast<std::size_t>(height);
    UIGraphicsImageRendererContext context(m_bounds, pixelWidth, pixelHeight);
    if (actions)
        actions(context);
    return UIImage::fromRGBA(pixelWidth, pixelHeight, context.takePixels());
}

} // namespace UIKit
