#pragma once

#include "Platform/CloudKit/CKAccountStatus.hpp"
#include "Platform/CloudKit/CKRecord.ID.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace CloudKit {

class CKDatabase;
class CKOperation;

// A container of the service: here, a folder named after its identifier in the folder that
// CORVENDALE_CLOUDKIT_FOLDER names (by default "CloudKit" in the user's data directory), holding one
// private database per account. Completion handlers run on a global queue.
class CKContainer : public Foundation::NSObject {
public:
    // The main bundle's first entry under "com.apple.developer.icloud-container-identifiers", else
    // "iCloud." followed by its bundle identifier (or the process's name).
    static std::shared_ptr<CKContainer> default_();
    // init(identifier:)
    static std::shared_ptr<CKContainer> withIdentifier(const Foundation::String& containerIdentifier);

    const Foundation::String& containerIdentifier() const { return m_containerIdentifier; }
    const std::shared_ptr<CKDatabase>& privateCloudDatabase() const { return m_privateCloudDatabase; }

    void accountStatus(std::function<void(CKAccountStatus, Foundation::ErrorPtr)> completionHandler) const;
    // The signed-in account's user record: its name is the account's identifier.
    void fetchUserRecordID(std::function<void(std::optional<CKRecordID>, Foundation::ErrorPtr)> completionHandler) const;

    // The long-lived operations kept and not yet run to their end.
    void fetchAllLongLivedOperationIDs(
        std::function<void(std::optional<std::vector<Foundation::String>>, Foundation::ErrorPtr)> completionHandler) const;
    // The operation as it was added; adding it again runs it (at most once in all) and calls its blocks.
    void fetchLongLivedOperation(const Foundation::String& operationID,
                                 std::function<void(std::shared_ptr<CKOperation>, Foundation::ErrorPtr)> completionHandler) const;

    std::string description() const override;

protected:
    friend Foundation::Construct;
    explicit CKContainer(Foundation::String containerIdentifier);

private:
    Foundation::String m_containerIdentifier;
    std::shared_ptr<CKDatabase> m_privateCloudDatabase;
};

} // namespace CloudKit
