#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace CloudKit {

// Turns batches that appear in the folders this process has opened into pushes: one inotify
// descriptor, read on a thread of its own (started with the first handler); each push payload goes to
// the handlers on the main queue.
class PushWatcher {
public:
    using Handler = std::function<void(const Foundation::PropertyListValue::Dictionary& userInfo)>;

    static PushWatcher& shared();

    void watch(const std::string& batchesPath, const std::string& container);
    std::shared_ptr<Foundation::NSObject> addHandler(Handler handler);
    void removeHandler(const Foundation::NSObject* token);

    // The payload a push of a change in this container carries.
    static Foundation::PropertyListValue::Dictionary payload(const std::string& container);

private:
    PushWatcher() = default;
    void startIfNeeded();
    void run(int descriptor);
    void announce(const std::string& path, const std::string& container);

    std::mutex m_mutex;
    int m_descriptor = -1;
    std::map<std::string, std::string> m_containerByPath;
    std::map<int, std::string> m_pathByWatch;
    std::map<const Foundation::NSObject*, std::pair<std::shared_ptr<Foundation::NSObject>, Handler>> m_handlers;
};

} // namespace CloudKit
