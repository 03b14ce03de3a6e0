#pragma once

#include "Corvendale/App/UnexpectedErrorHandling.hpp"

#include "Shared/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/CoordinatingSplitViewController.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class UserDefaults;
}

namespace Shared {
class Entry;
}

namespace Corvendale {

class MainCoordinatorDelegate;

// The unlocked window's root: a split view of the item list (primary column) and the item details
// (secondary column). It remembers the list column's width, closes what it presents when the vault
// locks or the account is reset, routes the files the system opens with the program, copies secrets
// with a "Copied " banner and shows the "Oops!" alert.
//
// The columns are plain controllers until the list and details coordinators take their places.
class MainCoordinator : public Basalwork::CoordinatingSplitViewController,
                        public UnexpectedErrorHandling,
                        public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    static constexpr const char* mostRecentPrimaryColumnWidthKey = "MainCoordinator.mostRecentPrimaryColumnWidth";
    static constexpr double listColumnMinimumWidth = 200;
    static constexpr double listColumnMaximumWidth = 10000;
    // How long a "Copied " banner shows.
    static constexpr double copiedBannerDuration = 3.0;

    std::shared_ptr<MainCoordinatorDelegate> coordinatingDelegate() const { return m_coordinatingDelegate.lock(); }
    void setCoordinatingDelegate(const std::shared_ptr<MainCoordinatorDelegate>& delegate) { m_coordinatingDelegate = delegate; }
    const std::shared_ptr<UIKit::UIViewController>& primaryColumn() const { return m_primaryColumn; }
    const std::shared_ptr<UIKit::UIViewController>& secondaryColumn() const { return m_secondaryColumn; }

    // The stored width, or none (the split view's automatic width) when nothing usable is stored.
    std::optional<double> mostRecentPrimaryColumnWidth() const;

    // A file the system asked the program to open; called now, or after the next unlock.
    virtual void openImportableFile(const Foundation::URL& url);
    // "Copied " followed by `text`, with the clipboard subtitle, for three seconds.
    virtual void presentInAppNotification(const Foundation::String& text);
    virtual void copyUsername(const Foundation::String& ofEntryWithID);
    virtual void copyPassword(const Foundation::String& ofEntryWithID);
    virtual void copyOneTimePassword(const Foundation::String& ofEntryWithID);
    // The banner subtitle for the clipboard's automatic clearing; none when it never clears.
    std::optional<Foundation::String> autoClearSubtitle() const;

    // Dismisses what the coordinator presents, then runs `completion` (at once when nothing is presented).
    void dismissIfPresenting(bool animated, std::function<void()> completion = nullptr);

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void update(const Shared::Settings::Appearance&) override {}
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

protected:
    friend Foundation::Construct;
    MainCoordinator();
    void initialize() override;
    virtual void startObserving();
    // The list's selection is reset (the list coordinator takes this over).
    virtual void resetListSelection() {}

private:
    // The item, or none; a failed read is reported as unexpected for the operation `function`.
    std::optional<Shared::Entry> lookUp(const Foundation::String& entryID, const char* function);
    // Copies the text (sensitive: cleared after the chosen time) and shows the banner for `label`.
    void copy(const std::optional<Foundation::String>& label, const std::optional<Foundation::String>& value, bool isSensitive);

    std::weak_ptr<MainCoordinatorDelegate> m_coordinatingDelegate;
    std::shared_ptr<UIKit::UIViewController> m_primaryColumn;
    std::shared_ptr<UIKit::UIViewController> m_secondaryColumn;
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
};

} // namespace Corvendale
