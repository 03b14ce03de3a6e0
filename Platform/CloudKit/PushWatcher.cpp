#include "Platform/CloudKit/PushWatcher.hpp"

#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace CloudKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("CloudKit", "PushWatcher");
    return logger;
}

constexpr std::uint32_t watchedEvents = IN_MOVED_TO | IN_CLOSE_WRITE;

class HandlerToken : public Foundation::NSObject {
protected:
    friend Foundation::Construct;
    HandlerToken() = default;
};

} // namespace

PushWatcher& PushWatcher::shared()
{
    // Never destroyed: its thread reads until the process ends.
    static auto* watcher = new PushWatcher();
    return *watcher;
}

Foundation::PropertyListValue::Dictionary PushWatcher::payload(const std::string& container)
{
    using Dictionary = Foundation::PropertyListValue::Dictionary;
    Dictionary database {{"scope", std::int64_t(2)}};
    Dictionary ck {{"container", Foundation::String(container)},
                   {"notificationID", Foundation::UUID().uuidString()},
                   {"database", std::move(database)}};
    return {{"aps", Dictionary {{"content-available", std::int64_t(1)}}}, {"ck", std::move(ck)}};
}

void PushWatcher::watch(const std::string& batchesPath, const std::string& container)
{
    std::lock_guard lock(m_mutex);
    if (!m_containerByPath.emplace(batchesPath, container).second || m_descriptor < 0)
        return;
    int watch = ::inotify_add_watch(m_descriptor, batchesPath.c_str(), watchedEvents);
    if (watch >= 0)
        m_pathByWatch[watch] = batchesPath;
    else
        log().error("Cannot watch %{public}@ for changes: %{public}@", batchesPath, std::string(std::strerror(errno)));
}

std::shared_ptr<Foundation::NSObject> PushWatcher::addHandler(Handler handler)
{
    auto token = Foundation::make<HandlerToken>();
    {
        std::lock_guard lock(m_mutex);
        m_handlers.emplace(token.get(), std::make_pair(std::shared_ptr<Foundation::NSObject>(token), std::move(handler)));
    }
    startIfNeeded();
    return token;
}

void PushWatcher::removeHandler(const Foundation::NSObject* token)
{
    std::lock_guard lock(m_mutex);
    m_handlers.erase(token);
}

void PushWatcher::startIfNeeded()
{
    std::lock_guard lock(m_mutex);
    if (m_descriptor >= 0)
        return;
    int descriptor = ::inotify_init1(IN_CLOEXEC);
    if (descriptor < 0) {
        log().error("Cannot watch for pushes: %{public}@", std::string(std::strerror(errno)));
        return;
    }
    m_descriptor = descriptor;
    for (const auto& [path, container] : m_containerByPath) {
        int watch = ::inotify_add_watch(descriptor, path.c_str(), watchedEvents);
        if (watch >= 0)
            m_pathByWatch[watch] = path;
    }
    std::thread([this, descriptor] { run(descriptor); }).detach();
}

void PushWatcher::run(int descriptor)
{
    alignas(inotify_event) char buffer[16384];
    while (true) {
        auto got = Foundation::FileIO::readSome(descriptor, buffer, sizeof buffer);
        if (got < 0) {
            log().error("Stopped watching for pushes: %{public}@", std::string(std::strerror(errno)));
            return;
        }
        for (char* at = buffer; at < buffer + got;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            at += sizeof(inotify_event) + event->len;
            if (event->len == 0)
                continue;
            std::string name(event->name);
            if (name.starts_with(".") || !name.ends_with(".batch"))
                continue;
            std::string directory;
            std::string container;
            {
                std::lock_guard lock(m_mutex);
                auto found = m_pathByWatch.find(event->wd);
                if (found == m_pathByWatch.end())
                    continue;
                directory = found->second;
                container = m_containerByPath[directory];
            }
            announce(directory + "/" + name, container);
        }
    }
}

void PushWatcher::announce(const std::string& path, const std::string& container)
{
    if (!ServiceState::shared().shouldAnnounce(path))
        return;
    auto userInfo = payload(container);
    Foundation::DispatchQueue::main()->async([this, userInfo] {
        std::vector<Handler> handlers;
        {
            std::lock_guard lock(m_mutex);
            for (const auto& [key, entry] : m_handlers)
                handlers.push_back(entry.second);
        }
        for (const auto& handler : handlers)
            handler(userInfo);
    });
}

} // namespace CloudKit
