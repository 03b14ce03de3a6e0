#include "Shared/Model/Entry.Field.Category.hpp"

#include <algorithm>

namespace Shared {

std::vector<EntryFieldCategory> allEntryFieldCategories()
{
    std::vector<EntryFieldCategory> categories;
    for (const auto& [category, raw] : Foundation::RawRepresentation<EntryFieldCategory>::cases)
        categories.push_back(category);
    return categories;
}

bool isSecret(EntryFieldCategory category)
{
    return category == EntryFieldCategory::password || category == EntryFieldCategory::pin || category == EntryFieldCategory::oneTimePassword;
}

Foundation::String titleText(EntryFieldCategory category)
{
    switch (category) {
    case EntryFieldCategory::text:
        return "Text";
    case EntryFieldCategory::multilineText:
        return "Multiline Text";
    case EntryFieldCategory::password:
        return "Password";
    case EntryFieldCategory::oneTimePassword:
        return "One-Time Password";
    case EntryFieldCategory::pin:
        return "PIN";
    case EntryFieldCategory::creditCardNumber:
        return "Credit Card Number";
    case EntryFieldCategory::phone:
        return "Phone";
    case EntryFieldCategory::address:
        return "Address";
    case EntryFieldCategory::email:
        return "Email";
    case EntryFieldCategory::url:
        return "URL";
    case EntryFieldCategory::attachment:
        return "Attachment";
    }
    return {};
}

std::vector<EntryFieldCategoryGroup::Case> EntryFieldCategoryGroup::allCases()
{
    return {Case::text, Case::secrets, Case::contact, Case::files};
}

std::vector<EntryFieldCategory> EntryFieldCategoryGroup::categories(Case group, const AppExecutionContext& availableIn)
{
    switch (group) {
    case Case::text:
        return {EntryFieldCategory::text, EntryFieldCategory::multilineText};
    case Case::secrets:
        return {EntryFieldCategory::password, EntryFieldCategory::oneTimePassword, EntryFieldCategory::pin, EntryFieldCategory::creditCardNumber};
    case Case::contact:
        return {EntryFieldCategory::phone, EntryFieldCategory::address, EntryFieldCategory::email, EntryFieldCategory::url};
    case Case::files:
        if (availableIn.isExtension())
            return {};
        return {EntryFieldCategory::attachment};
    }
    return {};
}

Foundation::String EntryFieldCategoryGroup::titleText(Case group)
{
    switch (group) {
    case Case::text:
        return "Text";
    case Case::secrets:
        return "Secrets";
    case Case::contact:
        return "Contact";
    case Case::files:
        return "Files";
    }
    return {};
}

} // namespace Shared
