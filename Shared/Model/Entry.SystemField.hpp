#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

namespace Shared {

// The fixed fields every item has (Entry::SystemField), in the order the details screen lists them.
struct EntrySystemField {
    enum class ID {
        title,
        subtitle,
        username,
        password,
        totpSecretKey,
        website,
        notes,
        serviceIdentifiers,
        category,
        tags,
        safeForInspection,
    };

    static Foundation::String titleText(ID id);
};

} // namespace Shared

template <>
struct Foundation::RawRepresentation<Shared::EntrySystemField::ID> {
    using RawValue = Foundation::String;
    using ID = Shared::EntrySystemField::ID;
    static constexpr std::pair<ID, const char*> cases[] = {
        {ID::title, "title"},
        {ID::subtitle, "subtitle"},
        {ID::username, "username"},
        {ID::password, "password"},
        {ID::totpSecretKey, "totpSecretKey"},
        {ID::website, "website"},
        {ID::notes, "notes"},
        {ID::serviceIdentifiers, "serviceIdentifiers"},
        {ID::category, "category"},
        {ID::tags, "tags"},
        {ID::safeForInspection, "safeForInspection"},
    };
};
