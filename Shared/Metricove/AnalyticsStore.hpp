#pragma once

#include "Shared/Metricove/AnalyticsEvent.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace Metricove {

// Where the program's analytics events go.
class AnalyticsStore : public Foundation::NSObject {
public:
    // Records the event; never fails towards the caller.
    virtual void track(const AnalyticsEvent& event) = 0;
    // This installation's identifier, the same for every process of the application group.
    virtual Foundation::UUID analyticsIdentifier() const = 0;
};

} // namespace Metricove
