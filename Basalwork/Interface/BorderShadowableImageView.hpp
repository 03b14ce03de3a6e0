#pragma once

#include "Basalwork/Interface/BorderShadowable.hpp"

#include "Platform/UIKit/UIImage.hpp"
#include "Platform/UIKit/UIImageView.hpp"

#include <memory>

namespace Basalwork {

// An image view with a border and shadow.
class BorderShadowableImageView : public BorderShadowable<UIKit::UIImageView> {
protected:
    friend Foundation::Construct;
    BorderShadowableImageView() = default;
    explicit BorderShadowableImageView(const UIKit::CGRect& frame)
        : BorderShadowable(frame)
    {
    }
    // init(image:)
    explicit BorderShadowableImageView(std::shared_ptr<UIKit::UIImage> image)
        : BorderShadowable(std::move(image))
    {
    }
    explicit BorderShadowableImageView(Foundation::NSCoder& coder)
        : BorderShadowable(coder)
    {
    }
};

} // namespace Basalwork
