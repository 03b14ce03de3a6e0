#pragma once

#include "Platform/Foundation/Error.hpp"

namespace Metricove {

// Base of the framework's own errors: each decides whether analytics records it.
class TrackableError : public Foundation::Error {
public:
    virtual bool shouldTrackInAnalytics() const { return true; }
};

// Whether an unexpected error is worth an analytics event. Our own errors answer for themselves; a user's
// cancellation and an unreachable network are no fault of the program and are left out; every other
// error is recorded.
bool shouldTrackInAnalytics(const Foundation::Error& error);

} // namespace Metricove
