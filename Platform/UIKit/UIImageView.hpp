#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {

class UIImage;

// Shows an image, fitted into its bounds by the content mode.
class UIImageView : public UIView {
public:
    const std::shared_ptr<UIImage>& image() const { return m_image; }
    void setImage(std::shared_ptr<UIImage> image)
    {
        m_image = std::move(image);
        invalidateIntrinsicContentSize();
    }
    // The image's size; none without an image.
    CGSize intrinsicContentSize() const override;

protected:
    friend Foundation::Construct;
    UIImageView() = default;
    explicit UIImageView(const CGRect& frame)
        : UIView(frame)
    {
    }
    explicit UIImageView(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }
    // init(image:)
    explicit UIImageView(std::shared_ptr<UIImage> image)
        : m_image(std::move(image))
    {
    }

private:
    std::shared_ptr<UIImage> m_image;
};

} // namespace UIKit
