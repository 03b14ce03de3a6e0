#pragma once

namespace UIKit {

// Core Graphics measures in double precision on every platform we build for.
using CGFloat = double;

} // namespace UIKit
