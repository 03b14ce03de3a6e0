#pragma once

#include "Shared/Model/Entry.Field.Category.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"

#include <vector>

namespace Shared {

// What a new section starts with (Entry::Section::Template).
enum class EntrySectionTemplate { login, blank, address, contactInfo, paymentCard, bankAccount, identityDocument, wirelessNetwork, server, softwareLicense };

// The templates as menus group them (Entry::Section::TemplateGroup).
struct EntrySectionTemplateGroup {
    enum class Case { basic, personal, financial, technical };

    static std::vector<Case> allCases();
    // The templates a user may add; the login template only when asked for.
    static std::vector<EntrySectionTemplate> userSelectableTemplates(Case group, bool includingLogin);
    static Foundation::String titleText(Case group);
};

Foundation::String titleText(EntrySectionTemplate sectionTemplate);
// The titles and categories of the fields a section of this template starts with.
struct EntrySectionTemplateField {
    const char* title;
    EntryFieldCategory category;
};
std::vector<EntrySectionTemplateField> templateFields(EntrySectionTemplate sectionTemplate);

} // namespace Shared

template <>
struct Foundation::RawRepresentation<Shared::EntrySectionTemplate> {
    using RawValue = Foundation::String;
    using T = Shared::EntrySectionTemplate;
    static constexpr std::pair<T, const char*> cases[] = {
        {T::login, "login"},
        {T::blank, "blank"},
        {T::address, "address"},
        {T::contactInfo, "contactInfo"},
        {T::paymentCard, "paymentCard"},
        {T::bankAccount, "bankAccount"},
        {T::identityDocument, "identityDocument"},
        {T::wirelessNetwork, "wirelessNetwork"},
        {T::server, "server"},
        {T::softwareLicense, "softwareLicense"},
    };
};
