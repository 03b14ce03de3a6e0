#include "Corvendale/Services/URLOpener.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace Corvendale {

void URLOpener::open(const Foundation::URL& url, const std::weak_ptr<UIKit::UIViewController>& presenter,
                     std::function<void(bool opened)> completion)
{
    auto application = UIKit::UIApplication::shared();
    auto sayWhyNot = [url, presenter] {
        auto shown = presenter.lock();
        if (!shown)
            return;
        auto alert = Foundation::make<Basalwork::AlertController>(
            Foundation::String("Cannot Open Link"),
            Foundation::String("Nothing on this computer opens " + url.absoluteString().utf8() + ". Is a web browser installed?"),
            UIKit::UIAlertController::Style::alert);
        alert->setIdentifier(Foundation::String("cannotOpenLink"));
        alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("OK"), UIKit::UIAlertAction::Style::default_));
        // Over whatever the window shows in front, so that it is the screen a person answers.
        if (auto window = shown->viewIfLoaded() ? shown->viewIfLoaded()->window() : nullptr; window && window->rootViewController())
            shown = window->rootViewController();
        Basalwork::topMostPresentedVCOrSelf(*shown)->present(alert, true);
    };
    if (!application->canOpenURL(url)) {
        sayWhyNot();
        if (completion)
            completion(false);
        return;
    }
    application->open(url, {}, [sayWhyNot, completion = std::move(completion)](bool opened) {
        if (!opened)
            sayWhyNot();
        if (completion)
            completion(opened);
    });
}

} // namespace Corvendale
