#pragma once

#include "Platform/Foundation/URLSessionDataTask.hpp"
#include "Platform/Foundation/URLSessionTransport.hpp"

#include <memory>

namespace Foundation {

class OperationQueue;

// Loads requests through its transport and runs completions on its delegate queue.
class URLSession : public NSObject {
public:
    // Over the offline transport.
    static const std::shared_ptr<URLSession>& shared();

    const std::shared_ptr<OperationQueue>& delegateQueue() const { return m_delegateQueue; }

    // The task is made suspended: nothing is sent until `resume()`.
    std::shared_ptr<URLSessionDataTask> dataTask(const URLRequest& with, URLSessionDataTask::CompletionHandler completionHandler);

protected:
    friend Construct;
    // Without a delegate queue, completions run one at a time on a queue of the session's own.
    explicit URLSession(std::shared_ptr<URLSessionTransport> transport = URLSessionTransport::offline(),
                        std::shared_ptr<OperationQueue> delegateQueue = nullptr);

private:
    std::shared_ptr<URLSessionTransport> m_transport;
    std::shared_ptr<OperationQueue> m_delegateQueue;
};

} // namespace Foundation
