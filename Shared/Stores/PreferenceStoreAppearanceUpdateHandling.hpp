#pragma once

#include "Shared/Model/Settings.Appearance.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/UIUserInterfaceStyle.hpp"

#include <memory>

namespace Shared {

// Adopted by every view and controller that shows text: it gets the current appearance when it
// registers, whenever the appearance preferences change, and when it asks for it again. An adopter
// that is a view or a controller also takes the chosen colour scheme as its interface style first.
class PreferenceStoreAppearanceUpdateHandling {
public:
    virtual ~PreferenceStoreAppearanceUpdateHandling();

    virtual void update(const Settings::Appearance& appearance) = 0;

    // Observes the shared preference store's appearance changes and applies the current appearance.
    void registerForPreferenceStoreDidUpdateAppearanceNotifications();
    void setNeedsAppearanceUpdate();

    static UIKit::UIUserInterfaceStyle userInterfaceStyle(Settings::Appearance::ColorScheme colorScheme);

private:
    std::shared_ptr<Foundation::NSObject> m_observer;
};

} // namespace Shared
