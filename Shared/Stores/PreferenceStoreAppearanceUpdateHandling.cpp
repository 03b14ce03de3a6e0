#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

namespace Shared {

PreferenceStoreAppearanceUpdateHandling::~PreferenceStoreAppearanceUpdateHandling()
{
    if (!m_observer)
        return;
    if (auto store = PreferenceStore::shared())
        store->notificationCenter()->removeObserver(m_observer);
}

void PreferenceStoreAppearanceUpdateHandling::registerForPreferenceStoreDidUpdateAppearanceNotifications()
{
    auto store = PreferenceStore::shared();
    if (!store)
        return;
    if (!m_observer) {
        // Removed in the destructor, so the block never outlives the object it calls.
        m_observer = store->notificationCenter()->addObserver(PreferenceStore::preferenceStoreDidUpdateAppearance(), store, nullptr,
                                                              [this](const Foundation::Notification&) { setNeedsAppearanceUpdate(); });
    }
    setNeedsAppearanceUpdate();
}

UIKit::UIUserInterfaceStyle PreferenceStoreAppearanceUpdateHandling::userInterfaceStyle(Settings::Appearance::ColorScheme colorScheme)
{
    switch (colorScheme) {
    case Settings::Appearance::ColorScheme::alwaysLight:
        return UIKit::UIUserInterfaceStyle::light;
    case Settings::Appearance::ColorScheme::alwaysDark:
        return UIKit::UIUserInterfaceStyle::dark;
    case Settings::Appearance::ColorScheme::matchSystem:
        break;
    }
    return UIKit::UIUserInterfaceStyle::unspecified;
}

void PreferenceStoreAppearanceUpdateHandling::setNeedsAppearanceUpdate()
{
    auto store = PreferenceStore::shared();
    if (!store)
        return;
    auto appearance = store->appearance();
    // Views and controllers take the chosen colour scheme themselves, so no adopter has to.
    auto style = userInterfaceStyle(appearance.colorScheme);
    if (auto* view = dynamic_cast<UIKit::UIView*>(this))
        view->setOverrideUserInterfaceStyle(style);
    else if (auto* controller = dynamic_cast<UIKit::UIViewController*>(this))
        controller->setOverrideUserInterfaceStyle(style);
    update(appearance);
}

} // namespace Shared
