// Preloaded after libfaketime into a program whose clock an end-to-end script moves forward. libfaketime
// shifts what the clocks read, but passes a condition variable's deadline on the monotonic clock
// (std::condition_variable's waits) to the kernel unchanged: read on the shifted clock, it lies decades
// ahead of the real one, and every timed wait of the program would sleep until it is woken. Here the
// deadline is turned back into the same wait on the real clock.
#include <dlfcn.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr long long nanosecondsPerSecond = 1'000'000'000LL;

long long nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * nanosecondsPerSecond + time.tv_nsec;
}

} // namespace

extern "C" int pthread_cond_clockwait(pthread_cond_t* condition, pthread_mutex_t* mutex, clockid_t clock,
                                      const timespec* deadline)
{
    using Wait = int (*)(pthread_cond_t*, pthread_mutex_t*, clockid_t, const timespec*);
    static const auto next = reinterpret_cast<Wait>(dlsym(RTLD_NEXT, "pthread_cond_clockwait"));
    timespec shifted {};
    timespec real {};
    clock_gettime(clock, &shifted);            // through libfaketime
    syscall(SYS_clock_gettime, clock, &real);  // past it
    long long left = nanoseconds(*deadline) - nanoseconds(shifted);
    if (left < 0)
        left = 0;
    const long long until = nanoseconds(real) + left;
    const timespec translated {static_cast<time_t>(until / nanosecondsPerSecond), static_cast<long>(until % nanosecondsPerSecond)};
    return next(condition, mutex, clock, &translated);
}
