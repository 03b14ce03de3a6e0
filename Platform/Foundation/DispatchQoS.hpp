#pragma once

namespace Foundation {

struct DispatchQoS {
    // `default` is a C++ keyword; the case keeps its name with a trailing underscore.
    enum class QoSClass { background, utility, default_, userInitiated, userInteractive, unspecified };
};

} // namespace Foundation
