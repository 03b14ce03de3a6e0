#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIViewController;
}

namespace Corvendale {

// Writes an e-mail on the user's behalf: with a file attached through the system's mail composer, else
// as a "mailto:" link handed to the system. Whatever cannot be sent ends in the unable-to-send-mail alert
// named by the caller's context.
class MailCoordinator : public Foundation::NSObject {
public:
    struct Attachment {
        Foundation::Data data;
        Foundation::String mimeType;
        Foundation::String filename;
    };

    static void compose(const Foundation::String& recipient, const std::optional<Foundation::String>& subject,
                        const std::optional<Foundation::String>& body, const std::optional<Attachment>& attachment,
                        const Foundation::String& context, UIKit::UIViewController& presentingViewController, bool animated);

    // "mailto:" with the recipient, then the "subject" and "body" query items (an absent one gives an
    // item without a value). None when the recipient is empty or holds spaces or control characters;
    // anything else that could end the address early ("?", "#", "&", "%") is percent-encoded, so a
    // recipient never adds items or a fragment of its own.
    static std::optional<Foundation::URL> mailtoURL(const Foundation::String& recipient, const std::optional<Foundation::String>& subject,
                                                    const std::optional<Foundation::String>& body);

protected:
    friend Foundation::Construct;
    MailCoordinator() = default;
};

} // namespace Corvendale
