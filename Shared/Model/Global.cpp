#include "Shared/Model/Global.hpp"

namespace Shared {

namespace {

Foundation::URL url(const char* text)
{
    return *Foundation::URL::string(text);
}

} // namespace

Foundation::String Global::corvendale()
{
    return "Corvendale";
}

Foundation::String Global::App::appGroupIdentifier()
{
    return "group.example.corvendale";
}

Foundation::String Global::App::ubiquityContainerIdentifier()
{
    return "iCloud.com.example.corvendale";
}

Foundation::URL Global::Website::url()
{
    return Shared::url("https://corvendale.example/");
}

Foundation::URL Global::Help::url()
{
    return Shared::url("https://corvendale.example/help");
}

Foundation::URL Global::TermsOfUse::url()
{
    return Shared::url("https://corvendale.example/terms");
}

Foundation::URL Global::PrivacyPolicy::url()
{
    return Shared::url("https://corvendale.example/privacy");
}

Foundation::String Global::Contact::infoEmailAddress()
{
    return "info@corvendale.example";
}

Foundation::URL Global::AppStore::listing()
{
    return Shared::url("https://corvendale.example/download");
}

Foundation::URL Global::AppStore::review()
{
    return Shared::url("https://corvendale.example/download?action=write-review");
}

Foundation::String Global::AutoFill::name()
{
    return "AutoFill";
}

Foundation::String Global::AutoFill::description()
{
    return "Fill in usernames, passwords and verification codes in your browser and other apps";
}

Foundation::String Global::AutoFill::AutoCopyOTPs::description()
{
    return "After filling in a password, automatically copy the item's one-time password to the clipboard";
}

Foundation::String Global::AutoFill::AutoCopyOTPs::notificationExplanation()
{
    return "A notification tells you when a one-time password has been copied, so you can paste it into the next field.";
}

Foundation::String Global::AutoFill::AutoCopyOTPs::allowNotificationsMessage()
{
    return Foundation::String("Notifications are not allowed for " + Global::corvendale().utf8()
                              + ". Allow them in the system's notification settings to be told when a one-time password has been copied.");
}

Foundation::String Global::ImportItems::name()
{
    return "Import Items";
}

Foundation::String Global::ExportItems::name()
{
    return "Export Items";
}

Foundation::String Global::SafeForInspection::mode()
{
    return "Safe for Inspection";
}

Foundation::String Global::SafeForInspection::description()
{
    return "Set up a second password that opens " + corvendale() + " with only the items you have marked as safe for others to see.";
}

Foundation::String Global::SafeForInspection::title()
{
    return "Safe for Inspection";
}

Foundation::String Global::SafeForInspection::password()
{
    return "Safe for Inspection password";
}

} // namespace Shared
