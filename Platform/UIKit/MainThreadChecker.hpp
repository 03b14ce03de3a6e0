#pragma once

namespace UIKit {

// The view tree, controllers, windows and events belong to the main thread. Debug builds stop the
// program, naming the operation, when one is used from another thread; release builds check nothing.
class MainThreadChecker {
public:
#ifdef NDEBUG
    static void check(const char* /*operation*/) {}
#else
    static void check(const char* operation);
#endif
};

} // namespace UIKit
