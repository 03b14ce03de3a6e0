#pragma once

#include "Platform/Foundation/NSError.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace CoreData {

// The domain of the SQLite error a store error carries as its underlying error; the code is SQLite's.
inline constexpr const char* NSSQLiteErrorDomain = "NSSQLiteErrorDomain";

// The codes of the object store's failures, in NSCocoaErrorDomain as the platform reports them. Each error
// carries a sentence saying what failed (NSLocalizedDescriptionKey), the store's path where one is
// involved (NSFilePathErrorKey) and, for a failure of SQLite, SQLite's own error as the underlying error.
struct CoreDataError {
    enum Code : std::int64_t {
        fileReadCorruptFile = 259,
        managedObjectValidation = 1550,
        validationMissingMandatoryProperty = 1570,
        validationRelationshipDeniedDelete = 1600,
        managedObjectReferentialIntegrity = 133000,
        managedObjectMerge = 133020,
        persistentStoreInvalidType = 134000,
        persistentStoreIncompatibleSchema = 134020,
        persistentStoreSave = 134030,
        persistentStoreOperation = 134070,
        persistentStoreOpen = 134080,
        persistentStoreTimeout = 134090,
        persistentStoreIncompatibleVersionHash = 134100,
        sqlite = 134180,
        persistentHistoryTokenExpired = 134301,
    };

    static Foundation::NSError make(Code code, const std::string& description, const std::optional<std::string>& path = std::nullopt,
                                    Foundation::ErrorPtr underlyingError = nullptr);
};

} // namespace CoreData
