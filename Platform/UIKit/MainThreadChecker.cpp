#include "Platform/UIKit/MainThreadChecker.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Thread.hpp"

#include <string>

namespace UIKit {

#ifndef NDEBUG
void MainThreadChecker::check(const char* operation)
{
    if (!Foundation::Thread::isMainThread())
        Foundation::fatalError(std::string("UIKit: ") + operation + " must be used from the main thread only");
}
#endif

} // namespace UIKit
