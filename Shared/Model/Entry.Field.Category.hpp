#pragma once

#include "Shared/Model/AppExecutionContext.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

// What a custom field holds (Entry::Field::Category), in this order.
enum class EntryFieldCategory { text, multilineText, password, oneTimePassword, pin, creditCardNumber, phone, address, email, url, attachment };

// The field categories as menus group them (Entry::Field::CategoryGroup).
struct EntryFieldCategoryGroup {
    enum class Case { text, secrets, contact, files };

    static std::vector<Case> allCases();
    // The group's categories that can be used where the framework runs: the AutoFill extension cannot
    // take files.
    static std::vector<EntryFieldCategory> categories(Case group, const AppExecutionContext& availableIn);
    static Foundation::String titleText(Case group);
};

Foundation::String titleText(EntryFieldCategory category);
std::vector<EntryFieldCategory> allEntryFieldCategories();
// Secrets are concealed and copied as sensitive.
bool isSecret(EntryFieldCategory category);

} // namespace Shared

template <>
struct Foundation::RawRepresentation<Shared::EntryFieldCategory> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Shared::EntryFieldCategory, const char*> cases[] = {
        {Shared::EntryFieldCategory::text, "text"},
        {Shared::EntryFieldCategory::multilineText, "multilineText"},
        {Shared::EntryFieldCategory::password, "password"},
        {Shared::EntryFieldCategory::oneTimePassword, "oneTimePassword"},
        {Shared::EntryFieldCategory::pin, "pin"},
        {Shared::EntryFieldCategory::creditCardNumber, "creditCardNumber"},
        {Shared::EntryFieldCategory::phone, "phone"},
        {Shared::EntryFieldCategory::address, "address"},
        {Shared::EntryFieldCategory::email, "email"},
        {Shared::EntryFieldCategory::url, "url"},
        {Shared::EntryFieldCategory::attachment, "attachment"},
    };
};
