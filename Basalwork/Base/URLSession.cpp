#include "Basalwork/Base/URLSession.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/Foundation/HTTPURLResponse.hpp"

#include <optional>
#include <string>

namespace Basalwork {
namespace {

Foundation::Result<Foundation::Data> resultOfLoad(const std::optional<Foundation::Data>& data,
                                                  const std::shared_ptr<Foundation::URLResponse>& response,
                                                  const Foundation::ErrorPtr& error)
{
    using Outcome = Foundation::Result<Foundation::Data>;
    if (error)
        return Outcome::failure(error);
    auto httpResponse = std::dynamic_pointer_cast<Foundation::HTTPURLResponse>(response);
    if (!httpResponse)
        return Outcome::failure(GeneralError::failedWithMessage("Failed to access response as httpResponse"));
    if (httpResponse->statusCode() < 200 || httpResponse->statusCode() > 299)
        return Outcome::failure(
            GeneralError::failedWithMessage("Non-200 http status code received: " + std::to_string(httpResponse->statusCode())));
    if (!data)
        return Outcome::failure(GeneralError::failedWithMessage("Failed to access data in response."));
    return Outcome::success(*data);
}

} // namespace

std::shared_ptr<Foundation::URLSessionDataTask> dataTask(Foundation::URLSession& session, const Foundation::URL& with,
                                                         ResultHandler<Foundation::Result<Foundation::Data>> resultHandler)
{
    return dataTask(session, Foundation::URLRequest(with, Foundation::URLRequest::CachePolicy::useProtocolCachePolicy, 60.0),
                    std::move(resultHandler));
}

std::shared_ptr<Foundation::URLSessionDataTask> dataTask(Foundation::URLSession& session, const Foundation::URLRequest& with,
                                                         ResultHandler<Foundation::Result<Foundation::Data>> resultHandler)
{
    return session.dataTask(with, [resultHandler = std::move(resultHandler)](std::optional<Foundation::Data> data,
                                                                             std::shared_ptr<Foundation::URLResponse> response,
                                                                             Foundation::ErrorPtr error) {
        resultHandler.invokeAsynchronously(resultOfLoad(data, response, error));
    });
}

Foundation::Data performDataTaskSynchronously(Foundation::URLSession& session, const Foundation::URLRequest& with)
{
    auto semaphore = Foundation::make<Foundation::DispatchSemaphore>(0);
    // Written before the signal and read after the wait, so the semaphore orders the two.
    auto outcome = std::make_shared<std::optional<Foundation::Result<Foundation::Data>>>();
    auto store = [semaphore, outcome](Foundation::Result<Foundation::Data> result) {
        outcome->emplace(std::move(result));
        semaphore->signal();
    };
    auto task = dataTask(session, with, ResultHandler<Foundation::Result<Foundation::Data>>(Foundation::DispatchQueue::global(), store));
    task->resume();
    semaphore->wait();
    if (!*outcome)
        throw GeneralError::failedWithMessage("Failed to perfom dataTask synchronously with request: " + with.description());
    return outcome->value().get();
}

} // namespace Basalwork
