#pragma once

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/Foundation/URLRequest.hpp"
#include "Platform/Foundation/URLSession.hpp"

#include <memory>

namespace Basalwork {

// Loads that answer with the body or an error: a transport failure as it came, then a response that is
// not HTTP, a status outside 200...299 or a missing body as GeneralError.failedWithMessage. The task is
// returned suspended; nothing is sent, and the handler never runs, until it is resumed.
std::shared_ptr<Foundation::URLSessionDataTask> dataTask(Foundation::URLSession& session, const Foundation::URL& with,
                                                         ResultHandler<Foundation::Result<Foundation::Data>> resultHandler);
std::shared_ptr<Foundation::URLSessionDataTask> dataTask(Foundation::URLSession& session, const Foundation::URLRequest& with,
                                                         ResultHandler<Foundation::Result<Foundation::Data>> resultHandler);
// Starts the load and blocks until it has ended; throws its failure. Must not be called from the
// session's delegate queue when that is serial (the main queue included): the answer could never arrive.
Foundation::Data performDataTaskSynchronously(Foundation::URLSession& session, const Foundation::URLRequest& with);

} // namespace Basalwork
