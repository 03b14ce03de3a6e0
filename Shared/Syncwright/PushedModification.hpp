#pragma once

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"

#include <memory>
#include <variant>

namespace Syncwright {

// What became of one record a push sent to be saved. The remote hands these to its delegate after each
// round, so that the local object can take the server's system fields and clear its "locally modified"
// mark, or merge what another device saved first. Deletions are not reported here: once pushed, the
// remote hands their IDs to the delegate as records deleted remotely.
class PushedModification : public Foundation::Enumeration<PushedModification> {
public:
    // Saved: the server's copy, with the system fields later saves must carry.
    struct Saved {
        std::shared_ptr<CloudKit::CKRecord> serverRecord;
    };
    // Nothing was saved: another device changed the record since this installation last saw it. The
    // local object merges the server's copy and stays marked, so the merge goes out with the next push.
    struct Conflicted {
        std::shared_ptr<CloudKit::CKRecord> serverRecord;
        std::shared_ptr<CloudKit::CKRecord> clientRecord;
    };
    // Nothing was saved, for this record alone (it no longer exists on the server, it is too large,
    // ...); the local object stays marked.
    struct Failed {
        std::shared_ptr<CloudKit::CKRecord> clientRecord;
        Foundation::ErrorPtr error;
    };
    using Case = std::variant<Saved, Conflicted, Failed>;

    static PushedModification saved(std::shared_ptr<CloudKit::CKRecord> serverRecord)
    {
        return PushedModification(Saved {std::move(serverRecord)});
    }
    static PushedModification conflicted(std::shared_ptr<CloudKit::CKRecord> serverRecord, std::shared_ptr<CloudKit::CKRecord> clientRecord)
    {
        return PushedModification(Conflicted {std::move(serverRecord), std::move(clientRecord)});
    }
    static PushedModification failed(std::shared_ptr<CloudKit::CKRecord> clientRecord, Foundation::ErrorPtr error)
    {
        return PushedModification(Failed {std::move(clientRecord), std::move(error)});
    }

    const Case& value() const { return m_case; }

    // The modified record: the server's copy when there is one, else the one that was sent. Its type
    // tells which entity the modification belongs to.
    const std::shared_ptr<CloudKit::CKRecord>& ckRecord() const;
    const CloudKit::CKRecordID& recordID() const { return ckRecord()->recordID(); }

private:
    explicit PushedModification(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Syncwright
