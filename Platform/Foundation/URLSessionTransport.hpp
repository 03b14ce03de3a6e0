#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/URLRequest.hpp"
#include "Platform/Foundation/URLResponse.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace Foundation {

inline constexpr std::int64_t NSURLErrorTimedOut = -1001;
inline constexpr std::int64_t NSURLErrorNotConnectedToInternet = -1009;

// Where a URL session's requests go. Tests and tools put their own in front of a session; a transport
// answers each load once, from any thread, with what it has of the body, the response and the failure.
class URLSessionTransport : public NSObject {
public:
    using Completion = std::function<void(std::optional<Data>, std::shared_ptr<URLResponse>, ErrorPtr)>;

    virtual void load(const URLRequest& request, Completion completion) = 0;

    // The transport of sessions made without one. This build has no network stack of its own, so every
    // load fails at once as a machine without a connection would.
    static std::shared_ptr<URLSessionTransport> offline();

protected:
    URLSessionTransport() = default;
};

} // namespace Foundation
