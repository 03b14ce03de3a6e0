#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIGraphicsImageRendererContext.hpp"

#include <functional>
#include <memory>

namespace UIKit {

class UIImage;

// Makes images by running drawing actions on a fresh, transparent bitmap of its size, at scale 1: a
// fractional size is rounded up to whole pixels.
class UIGraphicsImageRenderer : public Foundation::NSObject {
public:
    using DrawingActions = std::function<void(UIGraphicsImageRendererContext&)>;

    CGRect bounds() const { return m_bounds; }
    // An image too large to hold (see `UIImage::maximumPixelCount`), or of no area, comes back as the
    // empty image; the actions do not run for it.
    std::shared_ptr<UIImage> image(const DrawingActions& actions) const;

protected:
    friend Foundation::Construct;
    // init(size:): drawing coordinates start at the top left corner.
    explicit UIGraphicsImageRenderer(CGSize size);
    // init(bounds:): drawing coordinates are those of the bounds, whose origin is the top left corner.
    explicit UIGraphicsImageRenderer(const CGRect& bounds);

private:
    CGRect m_bounds;
};

} // namespace UIKit
