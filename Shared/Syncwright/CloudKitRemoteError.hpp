#pragma once

#include "Shared/Metricove/TrackableError.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <string>
#include <variant>

namespace Syncwright {

// What ended a sync besides the service's and the delegate's own errors. Cases in declared order,
// payload cases first, so a case's position is its bridged code.
class CloudKitRemoteError : public Foundation::ErrorOf<CloudKitRemoteError, Metricove::TrackableError>,
                            public Foundation::Enumeration<CloudKitRemoteError> {
public:
    struct MultipleRecordsUsingTheSameID {
        Foundation::String recordName;
    };
    struct ICloudAccountChanged {
        Foundation::String accountIDOfCurrentRecords;
        Foundation::String currentAccountID;
    };
    struct CustomRecordZoneDeletedByUser { };
    struct CustomRecordZoneNotFound { };
    struct CustomRecordZoneDeleted { };
    using Case = std::variant<MultipleRecordsUsingTheSameID, ICloudAccountChanged, CustomRecordZoneDeletedByUser,
                              CustomRecordZoneNotFound, CustomRecordZoneDeleted>;

    template <class C>
        requires std::constructible_from<Case, C>
    explicit CloudKitRemoteError(C value)
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Syncwright.CloudKitRemoteError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;
    // Records that share an identifier are a fault; a changed account or a reset in iCloud is the
    // user's doing.
    bool shouldTrackInAnalytics() const override { return is<MultipleRecordsUsingTheSameID>(); }

private:
    Case m_case;
};

} // namespace Syncwright
