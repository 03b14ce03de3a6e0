#pragma once

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/CGPoint.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

// A layer that paints a gradient through its colours, top to bottom unless its end points say otherwise.
// Points are in the unit square of the bounds.
class CAGradientLayer : public CALayer {
public:
    enum class GradientType : std::int64_t {
        axial = 0,
        radial = 1,
        conic = 2,
    };

    const std::vector<std::shared_ptr<CGColor>>& colors() const { return m_colors; }
    void setColors(std::vector<std::shared_ptr<CGColor>> colors) { m_colors = std::move(colors); }
    // Where each colour sits along the gradient, from 0 to 1; none spaces the colours evenly.
    const std::optional<std::vector<double>>& locations() const { return m_locations; }
    void setLocations(std::optional<std::vector<double>> locations) { m_locations = std::move(locations); }
    CGPoint startPoint() const { return m_startPoint; }
    void setStartPoint(CGPoint point) { m_startPoint = point; }
    CGPoint endPoint() const { return m_endPoint; }
    void setEndPoint(CGPoint point) { m_endPoint = point; }
    // Recorded; every type paints as an axial gradient.
    GradientType type() const { return m_type; }
    void setType(GradientType type) { m_type = type; }

    // Each pixel takes the colour of its centre's place along the line from start to end point; before
    // the first stop the first colour, after the last the last.
    void render(UIGraphicsImageRendererContext& in) const override;

protected:
    friend Foundation::Construct;
    CAGradientLayer() = default;

private:
    std::vector<std::shared_ptr<CGColor>> m_colors;
    std::optional<std::vector<double>> m_locations;
    CGPoint m_startPoint {0.5, 0};
    CGPoint m_endPoint {0.5, 1};
    GradientType m_type = GradientType::axial;
};

} // namespace UIKit
