#include "Platform/UIKit/UIImageView.hpp"

#include "Platform/UIKit/UIImage.hpp"

namespace UIKit {

CGSize UIImageView::intrinsicContentSize() const
{
    if (!m_image)
        return {noIntrinsicMetric, noIntrinsicMetric};
    return m_image->size();
}

} // namespace UIKit
