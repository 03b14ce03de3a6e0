#include "Platform/Foundation/URLSession.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

namespace Foundation {

URLSession::URLSession(std::shared_ptr<URLSessionTransport> transport, std::shared_ptr<OperationQueue> delegateQueue)
    : m_transport(std::move(transport))
    , m_delegateQueue(std::move(delegateQueue))
{
    precondition(m_transport != nullptr, "URLSession needs a transport");
    if (!m_delegateQueue) {
        m_delegateQueue = make<OperationQueue>();
        m_delegateQueue->setMaxConcurrentOperationCount(1);
    }
}

const std::shared_ptr<URLSession>& URLSession::shared()
{
    static auto* session = new std::shared_ptr<URLSession>(make<URLSession>());
    return *session;
}

std::shared_ptr<URLSessionDataTask> URLSession::dataTask(const URLRequest& with, URLSessionDataTask::CompletionHandler completionHandler)
{
    return make<URLSessionDataTask>(with, m_transport, m_delegateQueue, std::move(completionHandler));
}

} // namespace Foundation
