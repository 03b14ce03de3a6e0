#pragma once

#include "Corvendale/Screens/Settings/AppVersionCellDelegate.hpp"

namespace Corvendale {

class SettingsTVC;

// One request per settings row.
class SettingsTVCDelegate : public AppVersionCellDelegate {
public:
    virtual void didSelectAuthentication(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectAutoFill(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectAppearance(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectItemList(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectItemDetails(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectBackupRestore(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectSafeForInspection(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectImportItems(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectExportItems(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectChangeMasterPassword(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectReset(SettingsTVC& settingsTVC) = 0;
    virtual void didSelectGetInTouch(SettingsTVC& settingsTVC) = 0;
};

} // namespace Corvendale
