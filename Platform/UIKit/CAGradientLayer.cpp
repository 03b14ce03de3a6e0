#include "Platform/UIKit/CAGradientLayer.hpp"

#include "Platform/UIKit/CGColor.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"

#include <array>
#include <cmath>

namespace UIKit {
namespace {

using Components = std::array<CGFloat, 4>;

Components components(const std::shared_ptr<CGColor>& color)
{
    if (!color)
        return {0, 0, 0, 0};
    return {color->red(), color->green(), color->blue(), color->alpha()};
}

Components colorAt(double t, const std::vector<Components>& colors, const std::vector<double>& stops)
{
    if (t <= stops.front())
        return colors.front();
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i]) {
            double span = stops[i] - stops[i - 1];
            double f = span > 0 ? (t - stops[i - 1]) / span : 1;
            Components mixed;
            for (std::size_t c = 0; c < 4; ++c)
                mixed[c] = colors[i - 1][c] + (colors[i][c] - colors[i - 1][c]) * f;
            return mixed;
        }
    }
    return colors.back();
}

} // namespace

void CAGradientLayer::render(UIGraphicsImageRendererContext& in) const
{
    CALayer::render(in);
    if (m_colors.empty())
        return;
    std::vector<Components> colors;
    for (const auto& color : m_colors)
        colors.push_back(components(color));
    std::vector<double> stops;
    // Locations that do not name one place per colour are ignored, as if there were none.
    if (m_locations && m_locations->size() == colors.size()) {
        stops = *m_locations;
    } else {
        for (std::size_t i = 0; i < colors.size(); ++i)
            stops.push_back(colors.size() == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(colors.size() - 1));
    }

    CGRect area = bounds();
    CGRect context = in.bounds();
    double pixelWidth = context.size.width / static_cast<double>(in.pixelWidth());
    double pixelHeight = context.size.height / static_cast<double>(in.pixelHeight());
    double dx = m_endPoint.x - m_startPoint.x;
    double dy = m_endPoint.y - m_startPoint.y;
    double length = dx * dx + dy * dy;
    for (std::size_t y = 0; y < in.pixelHeight(); ++y) {
        for (std::size_t x = 0; x < in.pixelWidth(); ++x) {
            CGRect pixel {context.origin.x + static_cast<double>(x) * pixelWidth,
                          context.origin.y + static_cast<double>(y) * pixelHeight, pixelWidth, pixelHeight};
            if (area.isEmpty() || !area.contains(CGPoint {pixel.midX(), pixel.midY()}))
                continue;
            double u = (pixel.midX() - area.minX()) / area.width();
            double v = (pixel.midY() - area.minY()) / area.height();
            double t = length > 0 ? ((u - m_startPoint.x) * dx + (v - m_startPoint.y) * dy) / length : 0;
            Components c = colorAt(t, colors, stops);
            in.setFillColor(*Foundation::make<UIColor>(c[0], c[1], c[2], c[3]));
            in.fill(pixel);
        }
    }
}

} // namespace UIKit
