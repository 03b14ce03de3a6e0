#pragma once

#include "Platform/Foundation/NSObject.hpp"

namespace AppKit {

// The controller of a window's content. Only its class matters here: it tells what a window shows.
class NSViewController : public Foundation::NSObject {
protected:
    friend Foundation::Construct;
    NSViewController() = default;
};

} // namespace AppKit
