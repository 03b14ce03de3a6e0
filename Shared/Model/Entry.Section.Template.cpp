#include "Shared/Model/Entry.Section.Template.hpp"

namespace Shared {

std::vector<EntrySectionTemplateGroup::Case> EntrySectionTemplateGroup::allCases()
{
    return {Case::basic, Case::personal, Case::financial, Case::technical};
}

std::vector<EntrySectionTemplate> EntrySectionTemplateGroup::userSelectableTemplates(Case group, bool includingLogin)
{
    switch (group) {
    case Case::basic:
        if (includingLogin)
            return {EntrySectionTemplate::blank, EntrySectionTemplate::login};
        return {EntrySectionTemplate::blank};
    case Case::personal:
        return {EntrySectionTemplate::address, EntrySectionTemplate::contactInfo, EntrySectionTemplate::identityDocument};
    case Case::financial:
        return {EntrySectionTemplate::paymentCard, EntrySectionTemplate::bankAccount};
    case Case::technical:
        return {EntrySectionTemplate::wirelessNetwork, EntrySectionTemplate::server, EntrySectionTemplate::softwareLicense};
    }
    return {};
}

Foundation::String EntrySectionTemplateGroup::titleText(Case group)
{
    switch (group) {
    case Case::basic:
        return "Basic";
    case Case::personal:
        return "Personal";
    case Case::financial:
        return "Financial";
    case Case::technical:
        return "Technical";
    }
    return {};
}

Foundation::String titleText(EntrySectionTemplate sectionTemplate)
{
    switch (sectionTemplate) {
    case EntrySectionTemplate::login:
        return "Login";
    case EntrySectionTemplate::blank:
        return "Blank Section";
    case EntrySectionTemplate::address:
        return "Address";
    case EntrySectionTemplate::contactInfo:
        return "Contact Info";
    case EntrySectionTemplate::paymentCard:
        return "Payment Card";
    case EntrySectionTemplate::bankAccount:
        return "Bank Account";
    case EntrySectionTemplate::identityDocument:
        return "Identity Document";
    case EntrySectionTemplate::wirelessNetwork:
        return "Wireless Network";
    case EntrySectionTemplate::server:
        return "Server";
    case EntrySectionTemplate::softwareLicense:
        return "Software License";
    }
    return {};
}

std::vector<EntrySectionTemplateField> templateFields(EntrySectionTemplate sectionTemplate)
{
    using C = EntryFieldCategory;
    switch (sectionTemplate) {
    case EntrySectionTemplate::login:
        return {{"Username", C::text}, {"Password", C::password}, {"Website", C::url}};
    case EntrySectionTemplate::blank:
        return {{"", C::text}};
    case EntrySectionTemplate::address:
        return {{"Address", C::address}};
    case EntrySectionTemplate::contactInfo:
        return {{"Phone", C::phone}, {"Email", C::email}};
    case EntrySectionTemplate::paymentCard:
        return {{"Cardholder Name", C::text}, {"Card Number", C::creditCardNumber}, {"Expiry Date", C::text},
                {"Security Code", C::pin}, {"PIN", C::pin}};
    case EntrySectionTemplate::bankAccount:
        return {{"Account Holder", C::text}, {"IBAN", C::text}, {"BIC", C::text}, {"PIN", C::pin}};
    case EntrySectionTemplate::identityDocument:
        return {{"Full Name", C::text}, {"Number", C::text}, {"Issued On", C::text}, {"Expires On", C::text}};
    case EntrySectionTemplate::wirelessNetwork:
        return {{"Network Name", C::text}, {"Password", C::password}};
    case EntrySectionTemplate::server:
        return {{"Address", C::url}, {"Username", C::text}, {"Password", C::password}};
    case EntrySectionTemplate::softwareLicense:
        return {{"License Key", C::multilineText}, {"Licensed To", C::text}};
    }
    return {};
}

} // namespace Shared
