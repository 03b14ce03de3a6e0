#pragma once

#include <memory>
#include <optional>

namespace Foundation {

class DispatchQueue;
class DispatchWorkItem;

// Holds work submitted for later until its deadline, then hands it to its queue. On the real clock a
// thread of its own waits for deadlines; on the manual clock the main run loop fires what is due.
class DispatchScheduler {
public:
    static void schedule(double deadlineUptime, std::shared_ptr<DispatchQueue> queue,
                         std::shared_ptr<DispatchWorkItem> item);
    // Submits everything whose deadline has come; true when anything was submitted.
    static bool fireDue();
    static std::optional<double> nextDeadline();
};

} // namespace Foundation
