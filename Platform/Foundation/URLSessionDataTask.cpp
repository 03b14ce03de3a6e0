#include "Platform/Foundation/URLSessionDataTask.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

namespace Foundation {

URLSessionDataTask::URLSessionDataTask(URLRequest request, std::shared_ptr<URLSessionTransport> transport,
                                       std::shared_ptr<OperationQueue> delegateQueue, CompletionHandler completionHandler)
    : m_request(std::move(request))
    , m_transport(std::move(transport))
    , m_delegateQueue(std::move(delegateQueue))
    , m_completionHandler(std::move(completionHandler))
{
}

URLSessionDataTask::~URLSessionDataTask() = default;

void URLSessionDataTask::resume()
{
    std::weak_ptr<URLSessionDataTask> weak = sharedSelf(this);
    // The transport's completion keeps the task alive until it answers; the task lets go of the transport,
    // so a transport that keeps its completions makes no cycle.
    std::shared_ptr<URLSessionTransport> transport;
    {
        std::lock_guard lock(m_mutex);
        if (m_resumed)
            return;
        m_resumed = true;
        transport = std::move(m_transport);
        // Armed before the load starts, so that a transport that never answers still ends the task.
        m_timeout = make<DispatchWorkItem>([weak, description = m_request.description()] {
            if (auto task = weak.lock()) {
                task->complete(std::nullopt, nullptr,
                               std::make_shared<NSError>(NSURLErrorDomain, NSURLErrorTimedOut,
                                                         std::map<std::string, std::string> {
                                                             {NSLocalizedDescriptionKey, "The request timed out."},
                                                             {"NSErrorFailingURLStringKey", description},
                                                         }));
            }
        });
        m_delegateQueue->underlyingQueue()->asyncAfter(DispatchTime::now() + m_request.timeoutInterval(), m_timeout);
    }
    transport->load(m_request, [task = sharedSelf(this)](std::optional<Data> data, std::shared_ptr<URLResponse> response,
                                                            ErrorPtr error) {
        task->complete(std::move(data), std::move(response), std::move(error));
    });
}

void URLSessionDataTask::complete(std::optional<Data> data, std::shared_ptr<URLResponse> response, ErrorPtr error)
{
    CompletionHandler handler;
    {
        std::lock_guard lock(m_mutex);
        if (m_completed)
            return;
        m_completed = true;
        handler = std::move(m_completionHandler);
        if (m_timeout)
            m_timeout->cancel();
    }
    if (!handler)
        return;
    m_delegateQueue->addOperation([handler = std::move(handler), data = std::move(data), response = std::move(response),
                                   error = std::move(error)] { handler(data, response, error); });
}

} // namespace Foundation
