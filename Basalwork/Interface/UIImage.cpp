#include "Basalwork/Interface/UIImage.hpp"

#include "Platform/UIKit/UIGraphicsImageRenderer.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIImage> UIImages::withColor(const UIKit::UIColor& color, UIKit::CGSize size)
{
    auto renderer = Foundation::make<UIKit::UIGraphicsImageRenderer>(size);
    return renderer->image([&](UIKit::UIGraphicsImageRendererContext& context) {
        context.setFillColor(color);
        context.fill({{0, 0}, size});
    });
}

} // namespace Basalwork
