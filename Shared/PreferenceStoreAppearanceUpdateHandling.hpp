#pragma once

#include "Shared/Settings.Appearance.hpp"

#include "Platform/Foundation/NSObject.hpp"

#include <memory>

namespace Shared {

// Adopted by every view and controller that shows text: it gets the current appearance when it
// registers, whenever the appearance preferences change, and when it asks for it again.
class PreferenceStoreAppearanceUpdateHandling {
public:
    virtual ~PreferenceStoreAppearanceUpdateHandling();

    virtual void update(const Settings::Appearance& appearance) = 0;

    // Observes the shared preference store's appearance changes and applies the current appearance.
    void registerForPreferenceStoreDidUpdateAppearanceNotifications();
    void setNeedsAppearanceUpdate();

private:
    std::shared_ptr<Foundation::NSObject> m_observer;
};

} // namespace Shared
