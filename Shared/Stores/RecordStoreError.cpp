#include "Shared/Stores/RecordStoreError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Shared {

namespace {

std::string quoted(const Foundation::String& text)
{
    return Foundation::debugQuoted(text.view());
}

struct Describer {
    std::string operator()(const RecordStoreError::EntryNotFound& c) const { return "entryNotFound(id: " + quoted(c.id) + ")"; }
    std::string operator()(const RecordStoreError::FieldNotFound& c) const { return "fieldNotFound(entryID: " + quoted(c.entryID) + ")"; }
    std::string operator()(const RecordStoreError::AttachmentNotFound& c) const { return "attachmentNotFound(id: " + quoted(c.id) + ")"; }
    std::string operator()(const RecordStoreError::SectionNotFound& c) const { return "sectionNotFound(entryID: " + quoted(c.entryID) + ")"; }
    std::string operator()(const RecordStoreError::VaultNotFound& c) const { return "vaultNotFound(id: " + quoted(c.id) + ")"; }
    std::string operator()(const RecordStoreError::UnsupportedStoreVersion& c) const
    {
        return "unsupportedStoreVersion(" + std::to_string(c.version) + ")";
    }
    std::string operator()(const RecordStoreError::RecordNotFound& c) const { return "recordNotFound(recordName: " + quoted(c.recordName) + ")"; }
    std::string operator()(const RecordStoreError::MultipleRecordsUsingTheSameID& c) const
    {
        return "multipleRecordsUsingTheSameID(id: " + quoted(c.id) + ")";
    }
    std::string operator()(const RecordStoreError::VaultLocked&) const { return "vaultLocked"; }
    std::string operator()(const RecordStoreError::StoreNotLoaded&) const { return "storeNotLoaded"; }
    std::string operator()(const RecordStoreError::NoChanges&) const { return "noChanges"; }
};

} // namespace

bool RecordStoreError::isResolvableBySync() const
{
    auto index = code();
    return index == 0 || index == 2 || index == 4 || index == 6 || index == 7;
}

bool RecordStoreError::shouldTrackInAnalytics() const
{
    return !is<VaultLocked>();
}

std::string RecordStoreError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
