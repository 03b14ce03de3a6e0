#include "Shared/Stores/FolderWatcher.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace Shared {

namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "FolderWatcher");
    return logger;
}

} // namespace

FolderWatcher::FolderWatcher(const std::string& path, std::function<void()> changed)
{
    Foundation::FileIO::makeDirectories(path);
    m_descriptor = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (m_descriptor < 0 || ::inotify_add_watch(m_descriptor, path.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0 || ::pipe2(m_wake, O_CLOEXEC) != 0) {
        log().error("Cannot watch %{public}s for changes: %{public}s", path.c_str(), std::strerror(errno));
        return;
    }
    m_thread = std::thread([descriptor = m_descriptor, wake = m_wake[0], changed = std::move(changed)] {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            pollfd watched[2] = {{descriptor, POLLIN, 0}, {wake, POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (watched[1].revents != 0)
                return;
            bool any = false;
            while (::read(descriptor, buffer, sizeof buffer) > 0)
                any = true;
            if (any)
                Foundation::DispatchQueue::main()->async(changed);
        }
    });
}

FolderWatcher::~FolderWatcher()
{
    if (m_thread.joinable()) {
        char stop = 0;
        (void)!::write(m_wake[1], &stop, 1);
        m_thread.join();
    }
    for (int descriptor : {m_descriptor, m_wake[0], m_wake[1]})
        if (descriptor >= 0)
            ::close(descriptor);
}

} // namespace Shared
