#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class MFMailComposeViewControllerDelegate;

// The system's mail composer. No mail account is set up on this system, so `canSendMail` answers false
// and callers take another way; a composer made anyway only records what it was given.
class MFMailComposeViewController : public UIViewController {
public:
    struct Attachment {
        Foundation::Data data;
        Foundation::String mimeType;
        Foundation::String fileName;
    };

    static bool canSendMail() { return false; }

    std::shared_ptr<MFMailComposeViewControllerDelegate> mailComposeDelegate() const { return m_mailComposeDelegate.lock(); }
    void setMailComposeDelegate(const std::shared_ptr<MFMailComposeViewControllerDelegate>& delegate) { m_mailComposeDelegate = delegate; }
    const std::vector<Foundation::String>& toRecipients() const { return m_toRecipients; }
    void setToRecipients(std::vector<Foundation::String> recipients) { m_toRecipients = std::move(recipients); }
    const std::optional<Foundation::String>& subject() const { return m_subject; }
    void setSubject(Foundation::String subject) { m_subject = std::move(subject); }
    const std::optional<Foundation::String>& messageBody() const { return m_messageBody; }
    bool isBodyHTML() const { return m_isBodyHTML; }
    void setMessageBody(Foundation::String body, bool isHTML)
    {
        m_messageBody = std::move(body);
        m_isBodyHTML = isHTML;
    }
    const std::vector<Attachment>& attachments() const { return m_attachments; }
    void addAttachmentData(Foundation::Data data, Foundation::String mimeType, Foundation::String fileName)
    {
        m_attachments.push_back({std::move(data), std::move(mimeType), std::move(fileName)});
    }

protected:
    friend Foundation::Construct;
    MFMailComposeViewController() = default;

private:
    std::weak_ptr<MFMailComposeViewControllerDelegate> m_mailComposeDelegate;
    std::vector<Foundation::String> m_toRecipients;
    std::optional<Foundation::String> m_subject;
    std::optional<Foundation::String> m_messageBody;
    bool m_isBodyHTML = false;
    std::vector<Attachment> m_attachments;
};

} // namespace UIKit
