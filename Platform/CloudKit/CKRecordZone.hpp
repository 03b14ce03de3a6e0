#pragma once

#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace CloudKit {

// A zone of the private database: a set of records that can be fetched by change token, saved
// atomically, and deleted (with all its records) as a whole.
class CKRecordZone : public Foundation::NSObject {
public:
    using ID = CKRecordZoneID;

    struct Capabilities : Foundation::OptionSet<Capabilities> {
        static constexpr Capabilities fetchChanges() { return {1u << 0}; }
        static constexpr Capabilities atomic() { return {1u << 1}; }
    };

    static std::shared_ptr<CKRecordZone> default_();

    const ID& zoneID() const { return m_zoneID; }
    // Custom zones fetch changes and save atomically; the default zone does neither.
    Capabilities capabilities() const;

    std::string description() const override;

protected:
    friend Foundation::Construct;
    // init(zoneName:): a zone of the current user.
    explicit CKRecordZone(Foundation::String zoneName);
    explicit CKRecordZone(ID zoneID);

private:
    ID m_zoneID;
};

} // namespace CloudKit
