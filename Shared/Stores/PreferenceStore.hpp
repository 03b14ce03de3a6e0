#pragma once

#include "Shared/Crypto/PasswordGenerator.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Settings.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class NotificationCenter;
class UserDefaults;
} // namespace Foundation

namespace Shared {

// The user's preferences, kept in the application group's user defaults (so the AutoFill extension reads
// the same) under "PreferenceStore." and the preference's name. Every write posts
// `preferenceStoreDidUpdate` with the store as object, and the more specific notifications below.
class PreferenceStore : public Foundation::NSObject {
public:
    static const Foundation::Notification::Name& preferenceStoreDidUpdate();
    // After a write of one of the appearance preferences.
    static const Foundation::Notification::Name& preferenceStoreDidUpdateAppearance();
    // After a write of the auto-lock preference.
    static const Foundation::Notification::Name& preferenceStoreDidUpdateAutoLockInterval();
    // When the safe-for-inspection mode is switched on.
    static const Foundation::Notification::Name& preferenceStoreDidActivateSafeForInspectionMode();

    // Makes the process's store over those user defaults and keeps it as `shared()`; a second call
    // replaces it.
    static std::shared_ptr<PreferenceStore> initialize(std::shared_ptr<Foundation::UserDefaults> userDefaults,
                                                       std::shared_ptr<Foundation::NotificationCenter> notificationCenter);
    // The store `initialize` made; null before.
    static std::shared_ptr<PreferenceStore> shared();

    const std::shared_ptr<Foundation::NotificationCenter>& notificationCenter() const { return m_notificationCenter; }

    Settings::Appearance appearance() const;
    Settings::Appearance::ColorScheme colorScheme() const;
    void setColorScheme(Settings::Appearance::ColorScheme value);
    Settings::Appearance::DarkModeStyle darkModeStyle() const;
    void setDarkModeStyle(Settings::Appearance::DarkModeStyle value);
    Settings::Appearance::FontStyle fontStyle() const;
    void setFontStyle(Settings::Appearance::FontStyle value);
    Settings::Appearance::FontSize fontSize() const;
    void setFontSize(Settings::Appearance::FontSize value);
    Settings::AppIconStyle appIconStyle() const;
    void setAppIconStyle(Settings::AppIconStyle value);

    Settings::Auth::Method authMethod() const;
    void setAuthMethod(Settings::Auth::Method value);
    Settings::Auth::RequireMasterPasswordInterval requireMasterPasswordInterval() const;
    void setRequireMasterPasswordInterval(Settings::Auth::RequireMasterPasswordInterval value);
    Settings::Auth::RequireMasterPasswordAfterDeviceRestart requireMasterPasswordAfterDeviceRestart() const;
    void setRequireMasterPasswordAfterDeviceRestart(Settings::Auth::RequireMasterPasswordAfterDeviceRestart value);
    Settings::Auth::AutoBiometry autoBiometry() const;
    void setAutoBiometry(Settings::Auth::AutoBiometry value);
    Settings::Auth::AutoLock autoLock() const;
    void setAutoLock(Settings::Auth::AutoLock value);
    Settings::Auth::Expiration expiration() const;
    void setExpiration(Settings::Auth::Expiration value);
    Settings::Auth::Concealing concealing() const;
    void setConcealing(Settings::Auth::Concealing value);
    Settings::Clipboard::AutoClear autoClear() const;
    void setAutoClear(Settings::Clipboard::AutoClear value);

    Settings::Items::ListStyle listStyle() const;
    void setListStyle(Settings::Items::ListStyle value);
    Settings::Items::SearchableFields searchableFields() const;
    void setSearchableFields(Settings::Items::SearchableFields value);
    Settings::Items::DuplicateConfirmation duplicateConfirmation() const;
    void setDuplicateConfirmation(Settings::Items::DuplicateConfirmation value);
    Settings::Items::ArchiveConfirmation archiveConfirmation() const;
    void setArchiveConfirmation(Settings::Items::ArchiveConfirmation value);
    Settings::Items::MoveToTrashConfirmation moveToTrashConfirmation() const;
    void setMoveToTrashConfirmation(Settings::Items::MoveToTrashConfirmation value);
    Settings::Items::SearchFocus searchFocus() const;
    void setSearchFocus(Settings::Items::SearchFocus value);
    // Each filter keeps its own sort method.
    Settings::Items::SortMethod sortMethod(const EntryFilter& filter) const;
    void setSortMethod(Settings::Items::SortMethod value, const EntryFilter& filter);

    Settings::LargeViewer::Positions largeViewerPositions() const;
    void setLargeViewerPositions(Settings::LargeViewer::Positions value);
    Settings::ItemDetails::InlineGenerator inlineGenerator() const;
    void setInlineGenerator(Settings::ItemDetails::InlineGenerator value);
    // An empty or blank name is kept as none.
    std::optional<Foundation::String> defaultUsername() const;
    void setDefaultUsername(const std::optional<Foundation::String>& value);
    PasswordGenerator passwordGenerator() const;
    void setPasswordGenerator(const PasswordGenerator& value);
    // The settings of the generator's PIN kind.
    PINGenerator pinGenerator() const;
    void setPINGenerator(const PINGenerator& value);

    Settings::AutoFill::AutoCopyOTP autoCopyOTP() const;
    void setAutoCopyOTP(Settings::AutoFill::AutoCopyOTP value);
    // Whether the AutoFill settings were offered after saving a login, and after saving a one-time password.
    bool didOfferAutoFillForPasswords() const;
    void setDidOfferAutoFillForPasswords(bool value);
    bool didOfferAutoFillForOneTimePasswords() const;
    void setDidOfferAutoFillForOneTimePasswords(bool value);
    // Set by the AutoFill extension when the system switched it on.
    bool didConfigureAutoFillExtension() const;
    void setDidConfigureAutoFillExtension(bool value);

    // The set-up steps after the master password was created.
    bool didCompleteAutoFillOnboarding() const;
    void setDidCompleteAutoFillOnboarding(bool value);
    bool didCompleteBackupOnboarding() const;
    void setDidCompleteBackupOnboarding(bool value);
    bool didCompleteSyncOnboarding() const;
    void setDidCompleteSyncOnboarding(bool value);

    // The folder automatic backups go to. Reading fails when the stored folder is gone; writing fails
    // for anything but an existing folder.
    std::optional<Foundation::URL> backupFolder() const;
    void setBackupFolder(const std::optional<Foundation::URL>& value);
    Settings::AutoBackup::Interval autoBackupInterval() const;
    void setAutoBackupInterval(Settings::AutoBackup::Interval value);
    Settings::AutoBackup::AutoDelete autoBackupAutoDelete() const;
    void setAutoBackupAutoDelete(Settings::AutoBackup::AutoDelete value);

    bool keepMainWindowPinned() const;
    void setKeepMainWindowPinned(bool value);

    bool isSafeForInspectionModeActivated() const;
    // Switching it on also posts `preferenceStoreDidActivateSafeForInspectionMode`.
    void setIsSafeForInspectionModeActivated(bool value);

protected:
    friend Foundation::Construct;
    PreferenceStore(std::shared_ptr<Foundation::UserDefaults> userDefaults, std::shared_ptr<Foundation::NotificationCenter> notificationCenter);

private:
    template <class T>
    T value(const char* key, T fallback) const;
    template <class T>
    void setValue(const char* key, const T& value);
    bool boolValue(const char* key) const;
    void setBoolValue(const char* key, bool value);
    void didUpdate(const Foundation::Notification::Name* also = nullptr);

    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
};

} // namespace Shared
