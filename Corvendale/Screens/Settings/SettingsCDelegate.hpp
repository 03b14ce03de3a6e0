#pragma once

namespace Corvendale {

class SettingsC;

// The presenter of the settings: a view controller (the settings dismiss themselves through it), which
// also passes requests on to the scene.
class SettingsCDelegate {
public:
    virtual ~SettingsCDelegate() = default;
    // The reset page's confirmed clear-local-cache request: the locally cached data is replaced with the
    // iCloud copy.
    virtual void didSelectReplaceExistingDataWithiCloudData(SettingsC& settingsC) = 0;
};

} // namespace Corvendale
