#pragma once

#include "Basalwork/Interface/PassthroughView.hpp"
#include "Basalwork/Interface/RoundedGradientPainting.hpp"
#include "Platform/Foundation/FatalError.hpp"

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
    // Built in code only.
    explicit RoundedGradientView(Foundation::NSCoder& coder)
        : RoundedGradientPainting(coder)
    {
        Foundation::fatalError();
    }
};

} // namespace Basalwork
