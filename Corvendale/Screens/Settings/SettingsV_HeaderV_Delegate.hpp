#pragma once

namespace Corvendale {

class SettingsVHeaderV;

// Told when the header's Done is chosen (the button, or Escape while the header holds the keyboard).
class SettingsV_HeaderV_Delegate {
public:
    virtual ~SettingsV_HeaderV_Delegate() = default;
    virtual void didSelectDone(SettingsVHeaderV& headerV) = 0;
};

} // namespace Corvendale
