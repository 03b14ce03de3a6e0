#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Base/UserDefaults.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <cerrno>
#include <map>
#include <mutex>

namespace Shared {

namespace {

std::mutex sharedMutex;
std::shared_ptr<PreferenceStore> sharedStore;

Foundation::String key(const char* name)
{
    return Foundation::String("PreferenceStore.") + name;
}

Foundation::String filterKey(const EntryFilter& filter)
{
    auto key = Foundation::String("case") + std::to_string(filter.index());
    if (const auto* category = filter.as<EntryFilter::Category>())
        key += ":" + Foundation::rawValue(category->category);
    else if (const auto* group = filter.as<EntryFilter::CategoryGroup>())
        key += ":" + std::to_string(static_cast<int>(group->group));
    else if (const auto* tag = filter.as<EntryFilter::Tag>())
        key += ":" + tag->tag;
    return key;
}

} // namespace

const Foundation::Notification::Name& PreferenceStore::preferenceStoreDidUpdate()
{
    static const auto& name = *new Foundation::Notification::Name("preferenceStoreDidUpdate");
    return name;
}

const Foundation::Notification::Name& PreferenceStore::preferenceStoreDidUpdateAppearance()
{
    static const auto& name = *new Foundation::Notification::Name("preferenceStoreDidUpdateAppearance");
    return name;
}

const Foundation::Notification::Name& PreferenceStore::preferenceStoreDidUpdateAutoLockInterval()
{
    static const auto& name = *new Foundation::Notification::Name("preferenceStoreDidUpdateAutoLockInterval");
    return name;
}

const Foundation::Notification::Name& PreferenceStore::preferenceStoreDidActivateSafeForInspectionMode()
{
    static const auto& name = *new Foundation::Notification::Name("preferenceStoreDidActivateSafeForInspectionMode");
    return name;
}

std::shared_ptr<PreferenceStore> PreferenceStore::initialize(std::shared_ptr<Foundation::UserDefaults> userDefaults,
                                                             std::shared_ptr<Foundation::NotificationCenter> notificationCenter)
{
    auto store = Foundation::make<PreferenceStore>(std::move(userDefaults), std::move(notificationCenter));
    std::lock_guard lock(sharedMutex);
    sharedStore = store;
    return store;
}

std::shared_ptr<PreferenceStore> PreferenceStore::shared()
{
    std::lock_guard lock(sharedMutex);
    return sharedStore;
}

PreferenceStore::PreferenceStore(std::shared_ptr<Foundation::UserDefaults> userDefaults,
                                 std::shared_ptr<Foundation::NotificationCenter> notificationCenter)
    : m_userDefaults(std::move(userDefaults))
    , m_notificationCenter(std::move(notificationCenter))
{
    Foundation::precondition(m_userDefaults && m_notificationCenter, "The preference store needs user defaults and a notification centre");
}

template <class T>
T PreferenceStore::value(const char* name, T fallback) const
{
    if constexpr (Foundation::RawRepresentable<T>)
        return Basalwork::rawRepresentableValue<T>(*m_userDefaults, key(name)).value_or(fallback);
    else
        return Basalwork::codableValue<T>(*m_userDefaults, key(name)).value_or(fallback);
}

template <class T>
void PreferenceStore::setValue(const char* name, const T& value)
{
    if constexpr (Foundation::RawRepresentable<T>)
        Basalwork::setRawRepresentable(*m_userDefaults, value, key(name));
    else
        Basalwork::setCodable(*m_userDefaults, value, key(name));
}

bool PreferenceStore::boolValue(const char* name) const
{
    return m_userDefaults->bool_(key(name));
}

void PreferenceStore::setBoolValue(const char* name, bool value)
{
    m_userDefaults->set(Foundation::PropertyListValue(value), key(name));
    didUpdate();
}

void PreferenceStore::didUpdate(const Foundation::Notification::Name* also)
{
    auto self = sharedSelf(this);
    m_notificationCenter->post(preferenceStoreDidUpdate(), self);
    if (also)
        m_notificationCenter->post(*also, self);
}

Settings::Appearance PreferenceStore::appearance() const
{
    return {colorScheme(), darkModeStyle(), fontStyle(), fontSize()};
}

// The enumerated preferences: a getter with its default and a setter that posts.
#define SHARED_PREFERENCE(Type, getter, setter, name, fallback, notification)                                                             \
    Type PreferenceStore::getter() const { return value<Type>(name, fallback); }                                                        \
    void PreferenceStore::setter(Type newValue)                                                                                          \
    {                                                                                                                                    \
        setValue(name, newValue);                                                                                                        \
        didUpdate(notification);                                                                                                         \
    }

using S = Settings;
SHARED_PREFERENCE(S::Appearance::ColorScheme, colorScheme, setColorScheme, "colorScheme", S::Appearance::ColorScheme::matchSystem,
                  &preferenceStoreDidUpdateAppearance())
SHARED_PREFERENCE(S::Appearance::DarkModeStyle, darkModeStyle, setDarkModeStyle, "darkModeStyle", S::Appearance::DarkModeStyle::gray,
                  &preferenceStoreDidUpdateAppearance())
SHARED_PREFERENCE(S::Appearance::FontStyle, fontStyle, setFontStyle, "fontStyle", S::Appearance::FontStyle::rounded,
                  &preferenceStoreDidUpdateAppearance())
SHARED_PREFERENCE(S::Appearance::FontSize, fontSize, setFontSize, "fontSize", S::Appearance::FontSize::standard,
                  &preferenceStoreDidUpdateAppearance())
SHARED_PREFERENCE(S::AppIconStyle, appIconStyle, setAppIconStyle, "appIconStyle", S::AppIconStyle::matchSystem, nullptr)
SHARED_PREFERENCE(S::Auth::Method, authMethod, setAuthMethod, "authMethod", S::Auth::Method::masterPasswordOnly, nullptr)
SHARED_PREFERENCE(S::Auth::RequireMasterPasswordInterval, requireMasterPasswordInterval, setRequireMasterPasswordInterval,
                  "requireMasterPasswordInterval", S::Auth::RequireMasterPasswordInterval::everyWeek, nullptr)
SHARED_PREFERENCE(S::Auth::RequireMasterPasswordAfterDeviceRestart, requireMasterPasswordAfterDeviceRestart,
                  setRequireMasterPasswordAfterDeviceRestart, "requireMasterPasswordAfterDeviceRestart",
                  S::Auth::RequireMasterPasswordAfterDeviceRestart::enabled, nullptr)
SHARED_PREFERENCE(S::Auth::AutoBiometry, autoBiometry, setAutoBiometry, "autoBiometry", S::Auth::AutoBiometry::onFirstLaunch, nullptr)
SHARED_PREFERENCE(S::Auth::AutoLock, autoLock, setAutoLock, "autoLock", S::Auth::AutoLock::fifteenMinutes,
                  &preferenceStoreDidUpdateAutoLockInterval())
SHARED_PREFERENCE(S::Auth::Expiration, expiration, setExpiration, "expiration", S::Auth::Expiration::immediately, nullptr)
SHARED_PREFERENCE(S::Auth::Concealing, concealing, setConcealing, "concealing", S::Auth::Concealing::enabled, nullptr)
SHARED_PREFERENCE(S::Clipboard::AutoClear, autoClear, setAutoClear, "autoClear", S::Clipboard::AutoClear::oneMinute, nullptr)
SHARED_PREFERENCE(S::Items::ListStyle, listStyle, setListStyle, "listStyle", S::Items::ListStyle::standard, nullptr)
SHARED_PREFERENCE(S::Items::SearchableFields, searchableFields, setSearchableFields, "searchableFields",
                  S::Items::SearchableFields::titleSubtitleTags, nullptr)
SHARED_PREFERENCE(S::Items::DuplicateConfirmation, duplicateConfirmation, setDuplicateConfirmation, "duplicateConfirmation",
                  S::Items::DuplicateConfirmation::enabled, nullptr)
SHARED_PREFERENCE(S::Items::ArchiveConfirmation, archiveConfirmation, setArchiveConfirmation, "archiveConfirmation",
                  S::Items::ArchiveConfirmation::enabled, nullptr)
SHARED_PREFERENCE(S::Items::MoveToTrashConfirmation, moveToTrashConfirmation, setMoveToTrashConfirmation, "moveToTrashConfirmation",
                  S::Items::MoveToTrashConfirmation::enabled, nullptr)
SHARED_PREFERENCE(S::Items::SearchFocus, searchFocus, setSearchFocus, "searchFocus", S::Items::SearchFocus::enabled, nullptr)
SHARED_PREFERENCE(S::LargeViewer::Positions, largeViewerPositions, setLargeViewerPositions, "largeViewerPositions",
                  S::LargeViewer::Positions::passwordsAndPins, nullptr)
SHARED_PREFERENCE(S::ItemDetails::InlineGenerator, inlineGenerator, setInlineGenerator, "inlineGenerator",
                  S::ItemDetails::InlineGenerator::enabled, nullptr)
SHARED_PREFERENCE(S::AutoFill::AutoCopyOTP, autoCopyOTP, setAutoCopyOTP, "autoCopyOTP", S::AutoFill::AutoCopyOTP::enabled, nullptr)
SHARED_PREFERENCE(S::AutoBackup::Interval, autoBackupInterval, setAutoBackupInterval, "autoBackupInterval", S::AutoBackup::Interval::weekly,
                  nullptr)
SHARED_PREFERENCE(S::AutoBackup::AutoDelete, autoBackupAutoDelete, setAutoBackupAutoDelete, "autoBackupAutoDelete",
                  S::AutoBackup::AutoDelete::keepMostRecentTen, nullptr)
#undef SHARED_PREFERENCE

Settings::Items::SortMethod PreferenceStore::sortMethod(const EntryFilter& filter) const
{
    auto methods = value<std::map<Foundation::String, Foundation::String>>("sortMethods", {});
    auto found = methods.find(filterKey(filter));
    if (found == methods.end())
        return Settings::Items::defaultSortMethod;
    return Foundation::fromRawValue<Settings::Items::SortMethod>(found->second).value_or(Settings::Items::defaultSortMethod);
}

void PreferenceStore::setSortMethod(Settings::Items::SortMethod method, const EntryFilter& filter)
{
    auto methods = value<std::map<Foundation::String, Foundation::String>>("sortMethods", {});
    methods[filterKey(filter)] = Foundation::rawValue(method);
    setValue("sortMethods", methods);
    didUpdate();
}

std::optional<Foundation::String> PreferenceStore::defaultUsername() const
{
    return m_userDefaults->string(key("defaultUsername"));
}

void PreferenceStore::setDefaultUsername(const std::optional<Foundation::String>& username)
{
    if (!username || username->trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        m_userDefaults->removeObject(key("defaultUsername"));
    else
        m_userDefaults->set(Foundation::PropertyListValue(*username), key("defaultUsername"));
    didUpdate();
}

PasswordGenerator PreferenceStore::passwordGenerator() const
{
    return value<PasswordGenerator>("passwordGenerator", {});
}

void PreferenceStore::setPasswordGenerator(const PasswordGenerator& generator)
{
    setValue("passwordGenerator", generator);
    didUpdate();
}

PINGenerator PreferenceStore::pinGenerator() const
{
    return passwordGenerator().pin;
}

void PreferenceStore::setPINGenerator(const PINGenerator& generator)
{
    auto updated = passwordGenerator();
    updated.pin = generator;
    setPasswordGenerator(updated);
}

bool PreferenceStore::didOfferAutoFillForPasswords() const { return boolValue("didOfferAutoFillForPasswords"); }
void PreferenceStore::setDidOfferAutoFillForPasswords(bool value) { setBoolValue("didOfferAutoFillForPasswords", value); }
bool PreferenceStore::didOfferAutoFillForOneTimePasswords() const { return boolValue("didOfferAutoFillForOneTimePasswords"); }
void PreferenceStore::setDidOfferAutoFillForOneTimePasswords(bool value) { setBoolValue("didOfferAutoFillForOneTimePasswords", value); }
bool PreferenceStore::didConfigureAutoFillExtension() const { return boolValue("didConfigureAutoFillExtension"); }
void PreferenceStore::setDidConfigureAutoFillExtension(bool value) { setBoolValue("didConfigureAutoFillExtension", value); }
bool PreferenceStore::didCompleteAutoFillOnboarding() const { return boolValue("didCompleteAutoFillOnboarding"); }
void PreferenceStore::setDidCompleteAutoFillOnboarding(bool value) { setBoolValue("didCompleteAutoFillOnboarding", value); }
bool PreferenceStore::didCompleteBackupOnboarding() const { return boolValue("didCompleteBackupOnboarding"); }
void PreferenceStore::setDidCompleteBackupOnboarding(bool value) { setBoolValue("didCompleteBackupOnboarding", value); }
bool PreferenceStore::didCompleteSyncOnboarding() const { return boolValue("didCompleteSyncOnboarding"); }
void PreferenceStore::setDidCompleteSyncOnboarding(bool value) { setBoolValue("didCompleteSyncOnboarding", value); }
bool PreferenceStore::keepMainWindowPinned() const { return boolValue("keepMainWindowPinned"); }
void PreferenceStore::setKeepMainWindowPinned(bool value) { setBoolValue("keepMainWindowPinned", value); }
bool PreferenceStore::isSafeForInspectionModeActivated() const { return boolValue("isSafeForInspectionModeActivated"); }

void PreferenceStore::setIsSafeForInspectionModeActivated(bool value)
{
    bool wasActivated = isSafeForInspectionModeActivated();
    m_userDefaults->set(Foundation::PropertyListValue(value), key("isSafeForInspectionModeActivated"));
    didUpdate(value && !wasActivated ? &preferenceStoreDidActivateSafeForInspectionMode() : nullptr);
}

std::optional<Foundation::URL> PreferenceStore::backupFolder() const
{
    auto path = m_userDefaults->string(key("backupFolder"));
    if (!path)
        return std::nullopt;
    bool isDirectory = false;
    if (!Foundation::FileManager::defaultManager()->fileExists(*path, isDirectory) || !isDirectory)
        throw Foundation::CocoaError::fileError(ENOENT, path->utf8(), Foundation::CocoaError::Access::reading);
    return Foundation::URL::fileURLWithPath(*path, true);
}

void PreferenceStore::setBackupFolder(const std::optional<Foundation::URL>& folder)
{
    if (folder) {
        auto path = folder->path();
        bool isDirectory = false;
        if (!folder->isFileURL() || !Foundation::FileManager::defaultManager()->fileExists(path, isDirectory) || !isDirectory)
            throw Foundation::CocoaError::fileError(ENOTDIR, path.utf8(), Foundation::CocoaError::Access::writing);
        m_userDefaults->set(Foundation::PropertyListValue(path), key("backupFolder"));
    } else {
        m_userDefaults->removeObject(key("backupFolder"));
    }
    didUpdate();
}

} // namespace Shared
