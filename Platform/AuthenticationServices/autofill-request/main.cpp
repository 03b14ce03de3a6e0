// The AutoFill service stand-in: one request to a credential-provider extension, shown on the terminal.
#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"
#include "Platform/AuthenticationServices/AutoFillRequest.hpp"
#include "Platform/AuthenticationServices/AutoFillService.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Platform/Terminal/TerminalDisplay.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <cstdio>
#include <iostream>

namespace {

using AuthenticationServices::AutoFillRequest;
using AuthenticationServices::AutoFillService;
using Foundation::String;

// How long a handed-over secret stays on the clipboard, as the program's own copies do by default.
constexpr double clipboardSeconds = 60;

// Where the secret went, while it is on the clipboard: Return or Escape clears it at once.
class CopiedSecretNotice : public UIKit::UIViewController {
public:
    void loadView() override
    {
        auto view = Foundation::make<UIKit::UIView>(UIKit::CGRect {0, 0, 600, 200});
        view->setBackgroundColor(UIKit::UIColor::systemBackground());
        auto label = Foundation::make<UIKit::UILabel>();
        label->setNumberOfLines(0);
        label->setText(m_text);
        label->setFrame(view->bounds().insetBy(10, 20));
        label->setAutoresizingMask(UIKit::UIView::AutoresizingMask::flexibleWidth() | UIKit::UIView::AutoresizingMask::flexibleHeight());
        view->addSubview(label);
        setView(view);
    }
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override
    {
        return std::vector {
            Foundation::make<UIKit::UIKeyCommand>(String("\r"), UIKit::UIKeyModifierFlags {}, Foundation::Selector("clearNow")),
            Foundation::make<UIKit::UIKeyCommand>(UIKit::UIKeyCommand::inputEscape(), UIKit::UIKeyModifierFlags {}, Foundation::Selector("clearNow")),
        };
    }
    void clearNow() { clear(); }
    static void clear()
    {
        UIKit::UIPasteboard::general()->setItems({});
        Foundation::RunLoop::main()->stop();
    }

protected:
    friend Foundation::Construct;
    explicit CopiedSecretNotice(String text)
        : m_text(std::move(text))
    {
    }

private:
    String m_text;
};

// The secret goes to the clipboard for a while instead of standard output; the display stays until it
// is cleared.
void copyToClipboard(AutoFillService& service, const String& secret)
{
    auto item = UIKit::UIPasteboard::Item {{UIKit::UIPasteboard::plainTextType(), Foundation::Data::fromString(secret.utf8())}};
    UIKit::UIPasteboard::general()->setItems({item}, {true, Foundation::Date::now().addingTimeInterval(clipboardSeconds)});
    Foundation::MethodTable::add(Foundation::Selector("clearNow"), &CopiedSecretNotice::clearNow);
    auto notice = Foundation::make<CopiedSecretNotice>(String("Copied to the clipboard. It is cleared in " + std::to_string(static_cast<int>(clipboardSeconds))
                                                              + " seconds; Return or Escape clears it now."));
    service.window()->setRootViewController(notice);
    notice->becomeFirstResponder();
    Foundation::Timer::scheduledTimer(clipboardSeconds, false, [](Foundation::Timer&) { CopiedSecretNotice::clear(); });
}

} // namespace

int main(int argc, char** argv)
{
    AutoFillRequest request;
    try {
        request = AutoFillRequest::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const AutoFillRequest::Invalid& invalid) {
        std::cerr << "autofill-request: " << invalid.what() << '\n' << AutoFillRequest::usage();
        return 2;
    }
    AutoFillService service(request);
    auto scene = Foundation::make<UIKit::UIWindowScene>();
    bool displayRunning = false;
    try {
        service.start(scene, [&] {
            auto secret = service.secret();
            if (secret && !request.printsSecret && displayRunning && service.window())
                copyToClipboard(service, *secret);
            else
                Foundation::RunLoop::main()->stop();
        });
    } catch (const AutoFillService::LoadFailure& failure) {
        std::cerr << "autofill-request: " << failure.what() << '\n';
        return 2;
    }
    // A request the extension answers at once (without user interaction) needs no terminal.
    Foundation::RunLoop::main()->runUntilIdle();
    if (!service.hasEnded()) {
        displayRunning = true;
        if (!Terminal::TerminalDisplay::run(scene)) {
            std::cerr << "autofill-request: the request needs a terminal to show the extension on\n";
            return 2;
        }
        displayRunning = false;
    }
    std::cout << service.outcomeJSON() << std::endl;
    const int status = service.hasEnded() ? service.exitStatus() : 1;
    // The extension's stores may still be at work (recording the use), using what static objects hold.
    Foundation::RunLoop::main()->endBackgroundWorkBeforeExit(status);
    return status;
}
