#pragma once

namespace Foundation {

class Thread {
public:
    // True on the process's initial thread, which runs the main run loop.
    static bool isMainThread();
};

} // namespace Foundation
