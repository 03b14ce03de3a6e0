#pragma once

#include "Platform/Foundation/String.hpp"

#include <memory>
#include <string>
#include <vector>

namespace CloudKit {

class CKModifyRecordsOperation;
class DatabaseFolder;

// Long-lived record saves, kept in the database's "LongLived" folder from the moment they are added
// until they have run, so that one whose process ended first (an extension is stopped as soon as it
// answers) is still written: whichever process next works on the database finds it and runs it. The
// process that owns a journal holds a shared lock on its file; a file nobody holds a lock on is an
// orphan. A resumed operation is written once, because its batch carries the operation's identifier.
class LongLivedJournal {
public:
    // Copies the operation's assets into the database and keeps its request. Throws the file system's
    // error when it cannot.
    static void write(DatabaseFolder& folder, const CKModifyRecordsOperation& operation);
    static void remove(DatabaseFolder& folder, const std::string& operationID);

    static std::vector<Foundation::String> operationIDs(DatabaseFolder& folder);
    // The operation as it was added, ready to be added again; null when none is kept under that name.
    static std::shared_ptr<CKModifyRecordsOperation> load(DatabaseFolder& folder, const std::string& operationID);

    // Runs every orphan and removes its journal. Failures are logged; an unreadable journal is removed.
    static void resumeOrphanedOperations(DatabaseFolder& folder);
};

} // namespace CloudKit
