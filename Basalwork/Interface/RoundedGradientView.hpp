#pragma once

#include "Basalwork/Interface/PassthroughView.hpp"
#include "Basalwork/Interface/RoundedGradientPainting.hpp"

namespace Basalwork {

// A gradient behind content, cut at the rounded corners (`cornerRadius`); touches on its empty areas
// pass through.
class RoundedGradientView : public RoundedGradientPainting<PassthroughView> {
protected:
    friend Foundation::Construct;
    explicit RoundedGradientView(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : RoundedGradientPainting(frame)
    {
    }
};

} // namespace Basalwork
