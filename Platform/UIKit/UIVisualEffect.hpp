#pragma once

#include "Platform/Foundation/NSObject.hpp"

namespace UIKit {

// What a visual-effect view lays over the content behind it. Nothing is drawn: an effect is its recorded
// kind and style.
class UIVisualEffect : public Foundation::NSObject {
protected:
    friend Foundation::Construct;
    UIVisualEffect() = default;
};

} // namespace UIKit
