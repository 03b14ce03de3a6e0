#include "Platform/Foundation/Thread.hpp"

#include <sys/syscall.h>
#include <unistd.h>

namespace Foundation {

bool Thread::isMainThread()
{
    static thread_local const bool isMain = syscall(SYS_gettid) == getpid();
    return isMain;
}

} // namespace Foundation
