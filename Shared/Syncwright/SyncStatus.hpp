#pragma once

#include "Shared/Syncwright/SyncStatus.Failure.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Enumeration.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace Syncwright {

// What a sync is doing while it runs; one byte.
enum class SyncStatusActivity : std::uint8_t { fetching = 0, settingUp = 1, pushing = 2 };

// Where syncing stands, as the remote reports it to its delegate. The cases' positions are fixed:
// callers tell them by index.
class SyncStatus : public Foundation::Enumeration<SyncStatus> {
public:
    using Failure = SyncStatusFailure;
    using Activity = SyncStatusActivity;

    // 0: a sync is running.
    struct Syncing {
        Activity activity = Activity::fetching;
        friend bool operator==(const Syncing&, const Syncing&) = default;
    };
    // 1: everything was synced at this date.
    struct UpToDate {
        Foundation::Date date;
        friend bool operator==(const UpToDate&, const UpToDate&) = default;
    };
    // 2: no sync runs (one was cancelled or stopped); the date of the last successful one, if any.
    struct Idle {
        std::optional<Foundation::Date> lastSuccessfulSyncDate;
        friend bool operator==(const Idle&, const Idle&) = default;
    };
    // 3: the last sync failed; the date of the last successful one, if any.
    struct Failed {
        Failure failure;
        std::optional<Foundation::Date> lastSuccessfulSyncDate;
        friend bool operator==(const Failed&, const Failed&) = default;
    };
    // 4: nobody is signed in to iCloud, so nothing syncs.
    struct Disabled {
        friend bool operator==(const Disabled&, const Disabled&) = default;
    };
    // 5: no sync has been known to succeed yet.
    struct Unknown {
        friend bool operator==(const Unknown&, const Unknown&) = default;
    };

    using Case = std::variant<Syncing, UpToDate, Idle, Failed, Disabled, Unknown>;

    template <class C>
        requires std::constructible_from<Case, C>
    SyncStatus(C value) // NOLINT(google-explicit-constructor): a case is a status
        : m_case(std::move(value))
    {
    }

    static SyncStatus syncing(Activity activity) { return Syncing {activity}; }
    static SyncStatus upToDate(Foundation::Date date) { return UpToDate {date}; }
    static SyncStatus idle(std::optional<Foundation::Date> lastSuccessfulSyncDate) { return Idle {lastSuccessfulSyncDate}; }
    static SyncStatus failed(Failure failure, std::optional<Foundation::Date> lastSuccessfulSyncDate)
    {
        return Failed {std::move(failure), lastSuccessfulSyncDate};
    }
    static SyncStatus disabled() { return Disabled {}; }
    static SyncStatus unknown() { return Unknown {}; }

    const Case& value() const { return m_case; }

    std::string description() const;

    friend bool operator==(const SyncStatus&, const SyncStatus&) = default;

private:
    Case m_case;
};

} // namespace Syncwright
