#include "Corvendale/App/MailDraft.hpp"

#include "Platform/UIKit/UIApplication.hpp"

#include <cstdio>

namespace Corvendale {
namespace {

// Everything but the unreserved characters, so a value never ends the query early.
std::string percentEncoded(const std::string& text)
{
    std::string encoded;
    for (unsigned char character : text) {
        if (std::isalnum(character) || character == '-' || character == '.' || character == '_' || character == '~') {
            encoded += static_cast<char>(character);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", character);
            encoded += escape;
        }
    }
    return encoded;
}

} // namespace

std::optional<Foundation::URL> MailDraft::url() const
{
    return Foundation::URL::string(Foundation::String("mailto:" + recipient.utf8() + "?subject=" + percentEncoded(subject.utf8())
                                                      + "&body=" + percentEncoded(body.utf8())));
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
