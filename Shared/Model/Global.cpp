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

} // namespace Shared
