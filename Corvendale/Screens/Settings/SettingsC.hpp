#pragma once

#include "Corvendale/Services/UnexpectedErrorHandling.hpp"
#include "Corvendale/Screens/Settings/AppearanceCDelegate.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/AutoFillCDelegate.hpp"
#include "Corvendale/Screens/Settings/ItemDetailsSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/ItemListSettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/ResetCDelegate.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionCDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsVCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileCDelegate.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileCDelegate.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIKeyCommand;
}

namespace Corvendale {

class SettingsCDelegate;
class SettingsVC;

// The coordinator of the settings, presented over the main window while they show. It embeds the
// settings screen, answers everything on it, presents each page over itself, one at a time, passes on
// the pages' requests that reach beyond the settings, and opens the links and the debug-information
// sheet. Done, Escape and the requests that end the settings dismiss it together with any page on top.
class SettingsC : public Basalwork::CoordinatingViewController,
                  public UnexpectedErrorHandling,
                  public Shared::PreferenceStoreAppearanceUpdateHandling,
                  public SettingsVCDelegate,
                  public AuthSettingsCDelegate,
                  public AutoFillCDelegate,
                  public AppearanceCDelegate,
                  public ItemListSettingsCDelegate,
                  public ItemDetailsSettingsCDelegate,
                  public SafeForInspectionCDelegate,
                  public ResetCDelegate,
                  public ImportFromFileCDelegate,
                  public ExportToFileCDelegate,
                  public BackupRestoreCDelegate {
public:
    ~SettingsC() override;

    std::shared_ptr<SettingsCDelegate> delegate() const { return m_delegate.lock(); }
    const std::shared_ptr<SettingsVC>& settingsVC() const { return m_settingsVC; }

    virtual void updateSettingsTVC(bool animated);
    // Dismisses the settings, only while they are what the presenter presents.
    virtual void dismissSettings();
    void open(const Foundation::URL& url);

    void viewDidLoad() override;
    void update(const Shared::Settings::Appearance&) override {}
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleUpArrowKeyPress();
    void handleDownArrowKeyPress();
    void handleTabKeyPress();
    void handleShiftTabKeyPress();
    void handleReturnKeyPress();
    void handleEscapeKeyPress();

    // SettingsTVCDelegate
    void didSelectAuthentication(SettingsTVC& settingsTVC) override;
    void didSelectAutoFill(SettingsTVC& settingsTVC) override;
    void didSelectAppearance(SettingsTVC& settingsTVC) override;
    void didSelectItemList(SettingsTVC& settingsTVC) override;
    void didSelectItemDetails(SettingsTVC& settingsTVC) override;
    void didSelectBackupRestore(SettingsTVC& settingsTVC) override;
    void didSelectSafeForInspection(SettingsTVC& settingsTVC) override;
    void didSelectImportItems(SettingsTVC& settingsTVC) override;
    void didSelectExportItems(SettingsTVC& settingsTVC) override;
    void didSelectChangeMasterPassword(SettingsTVC& settingsTVC) override;
    void didSelectReset(SettingsTVC& settingsTVC) override;
    void didSelectGetInTouch(SettingsTVC& settingsTVC) override;
    // AppVersionCellDelegate
    void didSelectVersionLabel(UIKit::UILabel& versionLabel, AppVersionCell& appVersionCell) override;
    void didSelectTermsOfUse(Shared::TermsAndPrivacyLinks& termsAndPrivacyLinks) override;
    void didSelectPrivacyPolicy(Shared::TermsAndPrivacyLinks& termsAndPrivacyLinks) override;
    // SettingsV_HeaderV_Delegate
    void didSelectDone(SettingsVHeaderV& headerV) override;
    // ResetCDelegate
    void didConfirmClearLocalCache(ResetC& resetC) override;
    // The AutoFill, import, export and backup pages' Done
    void didSelectDone(AutoFillC& autoFillC) override;
    void didSelectDone(ImportFromFileC& importFromFileC) override;
    void didSelectDone(ExportToFileC& exportToFileC) override;
    void didSelectDone(BackupRestoreC& backupRestoreC) override;

    // UnexpectedErrorHandling
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

protected:
    friend Foundation::Construct;
    // init(delegate:)
    SettingsC(const std::shared_ptr<SettingsCDelegate>& delegate, const std::shared_ptr<SettingsVC>& settingsVC);
    explicit SettingsC(const std::shared_ptr<SettingsCDelegate>& delegate);
    void initialize() override;
    virtual void startObserving();

    // Opens a page over the settings through the page's own initialiser, with the coordinator as its
    // delegate; the coordinator must adopt the page's delegate protocol.
    template <class Page>
    void presentPage()
    {
        present(Foundation::make<Page>(sharedSelf(this)), true);
    }

private:
    // Dismisses the page on top, only while it is what the settings present.
    void dismissPage(const UIKit::UIViewController& page);

    std::weak_ptr<SettingsCDelegate> m_delegate;
    std::shared_ptr<SettingsVC> m_settingsVC;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
