#pragma once

#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Screens/UIViewController.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

namespace Corvendale {

// The pattern every settings, import, export and backup page follows, once for all of them. The page
// controller turns the stores' state into its view's `Config` and applies it (without animation when
// the page opens, over 0.25 seconds when a store changes while it shows), and writes the user's choices
// to the stores; the stores' notifications bring the new values back, so a choice never updates the view
// itself.
//
// A page derives from it with its view and its own delegate protocol (adopted by the settings
// coordinator and, for some pages, by the main coordinator), answers `makePageView` (the view with the
// page as its delegate) and `makeConfig` (from the stores), observes what else it depends on in
// `startObserving` through `observe`, and calls `dismissFromDelegate()` for its header's Done. Pages are
// made through their own creation function: there is no nib initialiser to call.
template <class PageV, class Delegate>
class SettingsPageC : public UIKit::UIViewController, public UnexpectedErrorHandling {
public:
    static constexpr double animationDuration = 0.25;

    ~SettingsPageC() override
    {
        for (const auto& observer : m_observers)
            dependencies().notificationCenter->removeObserver(observer.get());
    }

    std::shared_ptr<Delegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<Delegate>& delegate) { m_delegate = delegate; }
    // None until the view is loaded.
    const std::shared_ptr<PageV>& customView() const { return m_customView; }

    void loadView() override
    {
        m_customView = makePageView();
        setView(m_customView);
    }

    void viewDidLoad() override
    {
        UIViewController::viewDidLoad();
        apply(false);
        startObserving();
    }

    // The stores read afresh and shown.
    virtual void updateView(bool animated) { apply(animated); }

    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override
    {
        present(viewController, animated, std::move(completion));
    }

protected:
    explicit SettingsPageC(const std::shared_ptr<Delegate>& delegate)
        : UIViewController(std::nullopt, nullptr)
        , m_delegate(delegate)
    {
    }

    virtual std::shared_ptr<PageV> makePageView() = 0;
    virtual typename PageV::Config makeConfig() = 0;

    // Every page follows the preference store; pages that depend on more add their observers after this.
    virtual void startObserving() { observe(Shared::PreferenceStore::preferenceStoreDidUpdate(), dependencies().preferenceStore); }

    // Refreshes the page, animated, whenever `name` is posted by `object`; the page is held weakly.
    void observe(const Foundation::Notification::Name& name, const std::shared_ptr<Foundation::NSObject>& object)
    {
        std::weak_ptr<SettingsPageC> weakSelf = this->sharedSelf(this);
        m_observers.push_back(dependencies().notificationCenter->addObserver(name, object, Foundation::OperationQueue::main(),
                                                                             [weakSelf](const Foundation::Notification&) {
                                                                                 if (auto self = weakSelf.lock())
                                                                                     self->updateView(true);
                                                                             }));
    }

    // Done: the presenter dismisses the page, if what it presents is a page of this kind.
    void dismissFromDelegate()
    {
        auto presenter = std::dynamic_pointer_cast<UIKit::UIViewController>(delegate());
        if (!presenter)
            return;
        const auto& presented = presenter->presentedViewController();
        if (presented && typeid(*presented) == typeid(*this))
            presenter->dismiss(true);
    }

private:
    void apply(bool animated)
    {
        auto config = makeConfig();
        Shared::perform(*this, [this, &config] { m_customView->update(config); }, animated, animationDuration);
    }

    std::weak_ptr<Delegate> m_delegate;
    std::shared_ptr<PageV> m_customView;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
