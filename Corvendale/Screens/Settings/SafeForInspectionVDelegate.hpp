#pragma once

#include "Corvendale/Screens/Settings/SettingsV_HeaderV_Delegate.hpp"

#include "Platform/Foundation/String.hpp"

namespace Corvendale {

class SafeForInspectionV;

class SafeForInspectionVDelegate : public SettingsV_HeaderV_Delegate {
public:
    // An input without text reports the empty text.
    virtual void didUpdateEntryText(const Foundation::String& entryText, SafeForInspectionV& safeForInspectionV) = 0;
    virtual void didUpdateReEntryText(const Foundation::String& reEntryText, SafeForInspectionV& safeForInspectionV) = 0;
    // The action button, or Return in the re-entry input.
    virtual void didSelectAction(SafeForInspectionV& safeForInspectionV) = 0;
    virtual void didSelectCancel(SafeForInspectionV& safeForInspectionV) = 0;
};

} // namespace Corvendale
