#pragma once

#include "Platform/Foundation/URLSessionTransport.hpp"

#include <memory>
#include <mutex>

namespace Foundation {

class DispatchWorkItem;
class OperationQueue;

// One load of a request. Nothing is sent until `resume()`; the completion then runs exactly once on the
// session's delegate queue, with the transport's answer or, when none comes within the request's
// time-out, with NSURLErrorTimedOut.
class URLSessionDataTask : public NSObject {
public:
    using CompletionHandler = std::function<void(std::optional<Data>, std::shared_ptr<URLResponse>, ErrorPtr)>;

    ~URLSessionDataTask() override;

    const URLRequest& originalRequest() const { return m_request; }
    // Starts the load the first time; later calls do nothing.
    void resume();

protected:
    friend Construct;
    URLSessionDataTask(URLRequest request, std::shared_ptr<URLSessionTransport> transport,
                       std::shared_ptr<OperationQueue> delegateQueue, CompletionHandler completionHandler);

private:
    // The first answer wins; a late answer (after a time-out, or a transport answering twice) is dropped.
    void complete(std::optional<Data> data, std::shared_ptr<URLResponse> response, ErrorPtr error);

    URLRequest m_request;
    std::shared_ptr<URLSessionTransport> m_transport;
    std::shared_ptr<OperationQueue> m_delegateQueue;
    std::mutex m_mutex;
    CompletionHandler m_completionHandler;
    bool m_resumed = false;
    bool m_completed = false;
    std::shared_ptr<DispatchWorkItem> m_timeout;
};

} // namespace Foundation
