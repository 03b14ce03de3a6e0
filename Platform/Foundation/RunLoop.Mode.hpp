#pragma once

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/String.hpp"

namespace Foundation {

struct RunLoop::Mode {
    String rawValue;

    static Mode default_() { return {"kCFRunLoopDefaultMode"}; }
    static Mode common() { return {"kCFRunLoopCommonModes"}; }

    friend bool operator==(const Mode&, const Mode&) = default;
};

} // namespace Foundation
