#include "Corvendale/Screens/Settings/SettingsC.hpp"

#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Screens/Settings/AppearanceC.hpp"
#include "Corvendale/Screens/Settings/AuthSettingsC.hpp"
#include "Corvendale/Screens/Settings/AutoFillC.hpp"
#include "Corvendale/Screens/Settings/ItemDetailsSettingsC.hpp"
#include "Corvendale/Screens/Settings/ItemListSettingsC.hpp"
#include "Corvendale/Screens/Settings/ResetC.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionC.hpp"
#include "Corvendale/Screens/ImportExport/BackupRestoreC.hpp"
#include "Corvendale/Screens/ImportExport/ExportToFileC.hpp"
#include "Corvendale/Screens/ImportExport/ImportFromFileC.hpp"
#include "Corvendale/Screens/Settings/SendDebugInfoC.hpp"
#include "Corvendale/Screens/Settings/SettingsCDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Screens/UIKeyCommand.hpp"
#include "Shared/Screens/UIViewController.hpp"

#include "Basalwork/Base/Bundle.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"

namespace Corvendale {

namespace {

const bool registered = [] {
    using Foundation::MethodTable;
    using Foundation::Selector;
    MethodTable::add(Selector("handleUpArrowKeyPress"), &SettingsC::handleUpArrowKeyPress);
    MethodTable::add(Selector("handleDownArrowKeyPress"), &SettingsC::handleDownArrowKeyPress);
    MethodTable::add(Selector("handleTabKeyPress"), &SettingsC::handleTabKeyPress);
    MethodTable::add(Selector("handleShiftTabKeyPress"), &SettingsC::handleShiftTabKeyPress);
    MethodTable::add(Selector("handleReturnKeyPress"), &SettingsC::handleReturnKeyPress);
    MethodTable::add(Selector("handleEscapeKeyPress"), &SettingsC::handleEscapeKeyPress);
    return true;
}();

} // namespace

SettingsC::SettingsC(const std::shared_ptr<SettingsCDelegate>& delegate)
    : SettingsC(delegate, Foundation::make<SettingsVC>())
{
}

SettingsC::SettingsC(const std::shared_ptr<SettingsCDelegate>& delegate, const std::shared_ptr<SettingsVC>& settingsVC)
    : CoordinatingViewController(settingsVC)
    , m_delegate(delegate)
    , m_settingsVC(settingsVC)
{
}

SettingsC::~SettingsC()
{
    for (const auto& observer : m_observers)
        dependencies().notificationCenter->removeObserver(observer.get());
}

void SettingsC::initialize()
{
    CoordinatingViewController::initialize();
    m_settingsVC->setDelegate(sharedSelf(this));
}

void SettingsC::viewDidLoad()
{
    CoordinatingViewController::viewDidLoad();
    view()->setAccessibilityIdentifier(Foundation::String("SettingsC"));
    startObserving();
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
    updateSettingsTVC(false);
}

void SettingsC::startObserving()
{
    const auto& services = dependencies();
    std::weak_ptr<SettingsC> weakSelf = sharedSelf(this);
    auto refresh = [weakSelf](const Foundation::Notification&) {
        if (auto self = weakSelf.lock())
            self->updateSettingsTVC(true);
    };
    m_observers.push_back(services.notificationCenter->addObserver(Shared::PreferenceStore::preferenceStoreDidUpdate(), services.preferenceStore,
                                                                   Foundation::OperationQueue::main(), refresh));
    m_observers.push_back(
        services.notificationCenter->addObserver(Shared::BackupStore::backupStoreDidUpdateStatus(), services.backupStore, Foundation::OperationQueue::main(), refresh));
    // The safe-for-inspection page has nothing to show once the mode is switched on.
    m_observers.push_back(services.notificationCenter->addObserver(
        Shared::PreferenceStore::preferenceStoreDidActivateSafeForInspectionMode(), services.preferenceStore, Foundation::OperationQueue::main(),
        [weakSelf](const Foundation::Notification&) {
            if (auto self = weakSelf.lock())
                Shared::dismissPresentedViewController<SafeForInspectionC>(*self);
        }));
}

void SettingsC::updateSettingsTVC(bool animated)
{
    const auto& services = dependencies();
    auto appearance = services.preferenceStore->appearance();
    std::vector<SettingsTVC::Section> sections {
        SettingsTVC::Section::settings(SettingsTVC::makeSections(*services.preferenceStore, *services.recordStore, *services.backupStore)),
        SettingsTVC::Section::versionBuild({SettingsTVC::Section::Item::versionBuild(
            AppVersionCell::Config {Foundation::String("versionBuild"), Basalwork::versionAndBuildFull(*Foundation::Bundle::main()), appearance})}),
    };
    m_settingsVC->settingsTVC()->update(SettingsTVC::Config {std::move(sections)}, animated);
}

void SettingsC::dismissSettings()
{
    auto presenter = std::dynamic_pointer_cast<UIKit::UIViewController>(m_delegate.lock());
    if (!presenter)
        return;
    // Only the settings themselves are dismissed: a page on top goes with them; anything else stays.
    if (std::dynamic_pointer_cast<SettingsC>(presenter->presentedViewController()))
        presenter->dismiss(true);
}

void SettingsC::open(const Foundation::URL& url)
{
    UIKit::UIApplication::shared()->open(url);
}

// --- Keys ----------------------------------------------------------------------------------------------

std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> SettingsC::keyCommands() const
{
    using Flags = UIKit::UIKeyModifierFlags;
    using UIKit::UIKeyCommand;
    auto command = [](const Foundation::String& input, Flags flags, const char* action) {
        return Shared::UIKeyCommands::withInput(input, flags, Foundation::Selector(action), true);
    };
    // A page on top reaches these commands along its responder chain: the list's keys stay with the page
    // (its fields type Tab and Return, its arrows are its own); Escape still closes the settings.
    if (presentedViewController())
        return std::vector {command(UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress")};
    return std::vector {
        command(UIKeyCommand::inputUpArrow(), {}, "handleUpArrowKeyPress"),
        command(UIKeyCommand::inputDownArrow(), {}, "handleDownArrowKeyPress"),
        command(Foundation::String("\t"), {}, "handleTabKeyPress"),
        command(Foundation::String("\t"), Flags::shift(), "handleShiftTabKeyPress"),
        command(Foundation::String("\r"), {}, "handleReturnKeyPress"),
        command(UIKeyCommand::inputEscape(), {}, "handleEscapeKeyPress"),
    };
}

void SettingsC::handleUpArrowKeyPress()
{
    m_settingsVC->selectPreviousRow();
}

void SettingsC::handleDownArrowKeyPress()
{
    m_settingsVC->selectNextRow();
}

void SettingsC::handleTabKeyPress()
{
    m_settingsVC->selectNextRow();
}

void SettingsC::handleShiftTabKeyPress()
{
    m_settingsVC->selectPreviousRow();
}

void SettingsC::handleReturnKeyPress()
{
    m_settingsVC->performSelectedRow();
}

void SettingsC::handleEscapeKeyPress()
{
    dismissSettings();
}

// --- The list's requests ----------------------------------------------------------------------------------

void SettingsC::didSelectAuthentication(SettingsTVC&)
{
    presentPage<AuthSettingsC>();
}

void SettingsC::didSelectAutoFill(SettingsTVC&)
{
    presentPage<AutoFillC>();
}

void SettingsC::didSelectAppearance(SettingsTVC&)
{
    presentPage<AppearanceC>();
}

void SettingsC::didSelectItemList(SettingsTVC&)
{
    presentPage<ItemListSettingsC>();
}

void SettingsC::didSelectItemDetails(SettingsTVC&)
{
    presentPage<ItemDetailsSettingsC>();
}

void SettingsC::didSelectBackupRestore(SettingsTVC&)
{
    presentPage<BackupRestoreC>();
}

void SettingsC::didSelectSafeForInspection(SettingsTVC&)
{
    presentPage<SafeForInspectionC>();
}

void SettingsC::didSelectImportItems(SettingsTVC&)
{
    present(Foundation::make<ImportFromFileC>(sharedSelf(this), std::nullopt), true);
}

void SettingsC::didSelectExportItems(SettingsTVC&)
{
    present(Foundation::make<ExportToFileC>(sharedSelf(this), std::nullopt), true);
}

void SettingsC::didSelectReset(SettingsTVC&)
{
    presentPage<ResetC>();
}

void SettingsC::didSelectChangeMasterPassword(SettingsTVC&)
{
    // The store runs the rest of the change and reports its own failures.
    dependencies().authenticationStore->beginChangingMasterPassword();
}

void SettingsC::didSelectGetInTouch(SettingsTVC&)
{
    open(Shared::Global::Help::url());
}

void SettingsC::didSelectVersionLabel(UIKit::UILabel& versionLabel, AppVersionCell&)
{
    presentSendDebugInfoOptions(*this, std::static_pointer_cast<UIKit::UIView>(versionLabel.shared_from_this()), true);
}

void SettingsC::didSelectTermsOfUse(Shared::TermsAndPrivacyLinks&)
{
    open(Shared::Global::TermsOfUse::url());
}

void SettingsC::didSelectPrivacyPolicy(Shared::TermsAndPrivacyLinks&)
{
    open(Shared::Global::PrivacyPolicy::url());
}

void SettingsC::didSelectDone(SettingsVHeaderV&)
{
    dismissSettings();
}

void SettingsC::didConfirmClearLocalCache(ResetC&)
{
    if (auto presenter = delegate())
        presenter->didSelectReplaceExistingDataWithiCloudData(*this);
    dismissSettings();
}

void SettingsC::didSelectDone(AutoFillC& autoFillC)
{
    dismissPage(autoFillC);
}

void SettingsC::didSelectDone(ImportFromFileC& importFromFileC)
{
    dismissPage(importFromFileC);
}

void SettingsC::didSelectDone(ExportToFileC& exportToFileC)
{
    dismissPage(exportToFileC);
}

void SettingsC::didSelectDone(BackupRestoreC& backupRestoreC)
{
    dismissPage(backupRestoreC);
}

void SettingsC::dismissPage(const UIKit::UIViewController& page)
{
    if (presentedViewController().get() == &page)
        dismiss(true);
}

void SettingsC::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                      std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

} // namespace Corvendale
