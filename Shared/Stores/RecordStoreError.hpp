#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Failures of the record store. The cases at positions 0, 2, 4, 6 and 7 mean that the records here are
// not (yet) what the account holds; a sync can mend them, and the program offers one.
struct RecordStoreErrorCases {
    struct EntryNotFound {
        Foundation::String id;
    };
    struct FieldNotFound {
        Foundation::String entryID;
    };
    struct AttachmentNotFound {
        Foundation::String id;
    };
    struct SectionNotFound {
        Foundation::String entryID;
    };
    struct VaultNotFound {
        Foundation::String id;
    };
    struct UnsupportedStoreVersion {
        std::int64_t version;
    };
    struct RecordNotFound {
        Foundation::String recordName;
    };
    struct MultipleRecordsUsingTheSameID {
        Foundation::String id;
    };
    struct VaultLocked { };
    struct StoreNotLoaded { };
    struct NoChanges { };
};

class RecordStoreError : public ErrorEnumeration<RecordStoreError, RecordStoreErrorCases::EntryNotFound,
                                                 RecordStoreErrorCases::FieldNotFound, RecordStoreErrorCases::AttachmentNotFound,
                                                 RecordStoreErrorCases::SectionNotFound, RecordStoreErrorCases::VaultNotFound,
                                                 RecordStoreErrorCases::UnsupportedStoreVersion, RecordStoreErrorCases::RecordNotFound,
                                                 RecordStoreErrorCases::MultipleRecordsUsingTheSameID,
                                                 RecordStoreErrorCases::VaultLocked, RecordStoreErrorCases::StoreNotLoaded,
                                                 RecordStoreErrorCases::NoChanges>,
                         public RecordStoreErrorCases {
public:
    static RecordStoreError entryNotFound(Foundation::String id) { return RecordStoreError(EntryNotFound {std::move(id)}); }
    static RecordStoreError fieldNotFound(Foundation::String entryID) { return RecordStoreError(FieldNotFound {std::move(entryID)}); }
    static RecordStoreError attachmentNotFound(Foundation::String id) { return RecordStoreError(AttachmentNotFound {std::move(id)}); }
    static RecordStoreError sectionNotFound(Foundation::String entryID) { return RecordStoreError(SectionNotFound {std::move(entryID)}); }
    static RecordStoreError vaultNotFound(Foundation::String id) { return RecordStoreError(VaultNotFound {std::move(id)}); }
    static RecordStoreError unsupportedStoreVersion(std::int64_t version) { return RecordStoreError(UnsupportedStoreVersion {version}); }
    static RecordStoreError recordNotFound(Foundation::String recordName) { return RecordStoreError(RecordNotFound {std::move(recordName)}); }
    static RecordStoreError multipleRecordsUsingTheSameID(Foundation::String id)
    {
        return RecordStoreError(MultipleRecordsUsingTheSameID {std::move(id)});
    }
    static RecordStoreError vaultLocked() { return RecordStoreError(VaultLocked {}); }
    static RecordStoreError storeNotLoaded() { return RecordStoreError(StoreNotLoaded {}); }
    static RecordStoreError noChanges() { return RecordStoreError(NoChanges {}); }

    // Whether a sync may mend what the error reports.
    bool isResolvableBySync() const;
    // A locked vault is the user's choice, not a fault.
    bool shouldTrackInAnalytics() const override;

    std::string domain() const override { return "Shared.RecordStoreError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
