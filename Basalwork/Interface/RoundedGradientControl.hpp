#pragma once

#include "Basalwork/Interface/BorderShadowableControl.hpp"
#include "Basalwork/Interface/RoundedGradientPainting.hpp"
#include "Platform/Foundation/FatalError.hpp"

namespace Basalwork {

// A control with a gradient behind its content, cut at its rounded corners (`cornerRadius`).
class RoundedGradientControl : public RoundedGradientPainting<BorderShadowableControl> {
protected:
    friend Foundation::Construct;
    explicit RoundedGradientControl(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : RoundedGradientPainting(frame)
    {
    }
    // Built in code only.
    explicit RoundedGradientControl(Foundation::NSCoder& coder)
        : RoundedGradientPainting(coder)
    {
        Foundation::fatalError();
    }
};

} // namespace Basalwork
