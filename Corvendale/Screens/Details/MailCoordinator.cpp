#include "Corvendale/Screens/Details/MailCoordinator.hpp"

#include "Shared/Screens/UIAlertController.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/PercentEncoding.hpp"
#include "Platform/UIKit/MFMailComposeViewController.hpp"
#include "Platform/UIKit/MFMailComposeViewControllerDelegate.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <algorithm>

namespace Corvendale {
namespace {

// The one delegate of every composer, kept for the life of the process: whatever the outcome, the
// composer goes away.
class MailComposeDelegate : public Foundation::NSObject, public UIKit::MFMailComposeViewControllerDelegate {
public:
    static const std::shared_ptr<MailComposeDelegate>& shared()
    {
        static const auto* delegate = new std::shared_ptr<MailComposeDelegate>(Foundation::make<MailComposeDelegate>());
        return *delegate;
    }

    void mailComposeController(UIKit::MFMailComposeViewController& controller, Result, const Foundation::ErrorPtr&) override
    {
        if (auto presenter = controller.presentingViewController())
            presenter->dismiss(true);
    }

protected:
    friend Foundation::Construct;
    MailComposeDelegate() = default;
};

std::string queryItem(const char* name, const std::optional<Foundation::String>& value)
{
    return value ? std::string(name) + "=" + Foundation::percentEncodedQueryValue(value->utf8()) : std::string(name);
}

} // namespace

std::optional<Foundation::URL> MailCoordinator::mailtoURL(const Foundation::String& recipient, const std::optional<Foundation::String>& subject,
                                                          const std::optional<Foundation::String>& body)
{
    const auto address = recipient.utf8();
    const bool unparsable = address.empty() || std::ranges::any_of(address, [](char byte) {
        const auto value = static_cast<unsigned char>(byte);
        return value <= 0x20 || value == 0x7F;
    });
    if (unparsable)
        return std::nullopt;
    static const auto addressCharacters = Foundation::CharacterSet::charactersIn(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!$'*+-./=^_`{|}~@");
    return Foundation::URL::string(
        Foundation::String("mailto:" + Foundation::percentEncoded(address, addressCharacters) + "?" + queryItem("subject", subject) + "&" + queryItem("body", body)));
}

void MailCoordinator::compose(const Foundation::String& recipient, const std::optional<Foundation::String>& subject,
                              const std::optional<Foundation::String>& body, const std::optional<Attachment>& attachment,
                              const Foundation::String& context, UIKit::UIViewController& presentingViewController, bool animated)
{
    if (attachment) {
        if (!UIKit::MFMailComposeViewController::canSendMail())
            return presentingViewController.present(Shared::UIAlertControllers::makeUnableToSendMail(context), animated);
        auto composer = Foundation::make<UIKit::MFMailComposeViewController>();
        composer->setMailComposeDelegate(MailComposeDelegate::shared());
        composer->setToRecipients({recipient});
        if (subject)
            composer->setSubject(*subject);
        if (body)
            composer->setMessageBody(*body, false);
        composer->addAttachmentData(attachment->data, attachment->mimeType, attachment->filename);
        return presentingViewController.present(composer, animated);
    }
    const auto& application = UIKit::UIApplication::shared();
    if (auto url = mailtoURL(recipient, subject, body); url && application->canOpenURL(*url))
        return application->open(*url, {}, nullptr);
    presentingViewController.present(Shared::UIAlertControllers::makeUnableToSendMail(context), animated);
}

} // namespace Corvendale
