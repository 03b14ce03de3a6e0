#include "Shared/Syncwright/SyncStatus.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Syncwright {

namespace {

std::string describeDate(const std::optional<Foundation::Date>& date)
{
    return date ? Foundation::describe(*date) : std::string("nil");
}

struct Describer {
    std::string operator()(const SyncStatus::Syncing& c) const
    {
        switch (c.activity) {
        case SyncStatus::Activity::fetching:
            return "syncing(fetching)";
        case SyncStatus::Activity::settingUp:
            return "syncing(settingUp)";
        case SyncStatus::Activity::pushing:
            return "syncing(pushing)";
        }
        return "syncing(" + std::to_string(static_cast<int>(c.activity)) + ")";
    }
    std::string operator()(const SyncStatus::UpToDate& c) const { return "upToDate(" + Foundation::describe(c.date) + ")"; }
    std::string operator()(const SyncStatus::Idle& c) const { return "idle(" + describeDate(c.lastSuccessfulSyncDate) + ")"; }
    std::string operator()(const SyncStatus::Failed& c) const
    {
        return "failed(" + c.failure.description() + ", " + describeDate(c.lastSuccessfulSyncDate) + ")";
    }
    std::string operator()(const SyncStatus::Disabled&) const { return "disabled"; }
    std::string operator()(const SyncStatus::Unknown&) const { return "unknown"; }
};

} // namespace

std::string SyncStatus::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Syncwright
