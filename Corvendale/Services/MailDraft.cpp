#include "Corvendale/Services/MailDraft.hpp"

#include "Platform/UIKit/UIApplication.hpp"

#include "Platform/Foundation/PercentEncoding.hpp"

namespace Corvendale {

std::optional<Foundation::URL> MailDraft::url() const
{
    return Foundation::URL::string(Foundation::String("mailto:" + recipient.utf8() + "?subject=" + Foundation::percentEncodedQueryValue(subject.utf8())
                                                      + "&body=" + Foundation::percentEncodedQueryValue(body.utf8())));
}

bool MailDraft::open() const
{
    auto draft = url();
    const auto& application = UIKit::UIApplication::shared();
    if (!draft || !application->canOpenURL(*draft))
        return false;
    application->open(*draft);
    return true;
}

} // namespace Corvendale
