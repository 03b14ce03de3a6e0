#pragma once

#include "Shared/Model/Settings.AutoBackup.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

namespace Shared {

// Where backups stand (BackupStore::Status). Cases in declared order: up to date (the last backup's
// date), running, due (the interval and the last backup's date, if any), failed (the error and the last
// backup's date, if any), unknown because the folder could not be read, no folder chosen, and not yet
// looked at.
class BackupStoreStatus : public Foundation::Enumeration<BackupStoreStatus> {
public:
    struct UpToDate {
        Foundation::Date lastBackupAt;
    };
    struct InProgress {
        std::shared_ptr<Foundation::Progress> progress;
    };
    struct BackupDue {
        Settings::AutoBackup::Interval interval;
        std::optional<Foundation::Date> lastBackupAt;
    };
    struct Failed {
        Foundation::ErrorPtr error;
        std::optional<Foundation::Date> lastBackupAt;
    };
    struct FailedToDetermineStatus {
        Foundation::ErrorPtr error;
    };
    struct NoBackupFolder { };
    struct NotDetermined { };
    using Case = std::variant<UpToDate, InProgress, BackupDue, Failed, FailedToDetermineStatus, NoBackupFolder, NotDetermined>;

    template <class C>
        requires std::is_constructible_v<Case, C>
    BackupStoreStatus(C value) // NOLINT: each case stands for the status
        : m_case(std::move(value))
    {
    }

    const Case& value() const { return m_case; }

private:
    Case m_case;
};

// What a restore came to (BackupStore::RestoreOutcome): the items it holds, or why not.
class BackupStoreRestoreOutcome : public Foundation::Enumeration<BackupStoreRestoreOutcome> {
public:
    struct Restored {
        std::int64_t itemCount;
    };
    struct Failed {
        Foundation::ErrorPtr error;
    };
    using Case = std::variant<Restored, Failed>;

    template <class C>
        requires std::is_constructible_v<Case, C>
    BackupStoreRestoreOutcome(C value) // NOLINT: each case stands for the outcome
        : m_case(std::move(value))
    {
    }
    const Case& value() const { return m_case; }

private:
    Case m_case;
};

} // namespace Shared
