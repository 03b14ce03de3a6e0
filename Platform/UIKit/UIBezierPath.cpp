#include "Platform/UIKit/UIBezierPath.hpp"

#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"
#include "Platform/UIKit/ViewDrawing.hpp"

namespace UIKit {

void UIBezierPath::fill() const
{
    if (auto* drawing = ViewDrawing::current())
        drawing->fill(m_bounds, m_cornerRadius);
    else if (auto* context = UIGraphicsImageRendererContext::current())
        context->fill(m_bounds);
}

} // namespace UIKit
