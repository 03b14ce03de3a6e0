#include "Shared/Syncwright/CloudKitRemoteError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Syncwright {

namespace {

std::string quoted(const Foundation::String& text)
{
    return Foundation::debugQuoted(text.view());
}

struct Describer {
    std::string operator()(const CloudKitRemoteError::MultipleRecordsUsingTheSameID& c) const
    {
        return "multipleRecordsUsingTheSameID(recordName: " + quoted(c.recordName) + ")";
    }
    std::string operator()(const CloudKitRemoteError::ICloudAccountChanged& c) const
    {
        return "iCloudAccountChanged(accountIDOfCurrentRecords: " + quoted(c.accountIDOfCurrentRecords)
            + ", currentAccountID: " + quoted(c.currentAccountID) + ")";
    }
    std::string operator()(const CloudKitRemoteError::CustomRecordZoneDeletedByUser&) const { return "customRecordZoneDeletedByUser"; }
    std::string operator()(const CloudKitRemoteError::CustomRecordZoneNotFound&) const { return "customRecordZoneNotFound"; }
    std::string operator()(const CloudKitRemoteError::CustomRecordZoneDeleted&) const { return "customRecordZoneDeleted"; }
};

} // namespace

std::string CloudKitRemoteError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Syncwright
