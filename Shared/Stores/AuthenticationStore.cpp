#include "Shared/Stores/AuthenticationStore.hpp"

#include "Shared/Stores/AuthenticationStore.Records.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Model/PasswordEntryReEntryState.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Stores/AuthenticationStoreError.hpp"
#include "Shared/Stores/FolderWatcher.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/LAContext.hpp"
#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/LocalAuthentication/LAContext.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace Shared {

namespace {

// Rewritten at each of the program's locks; the extension follows it.
constexpr const char* lockMarkFileName = "programLock";

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "AuthenticationStore");
    return logger;
}

std::optional<LocalAuthentication::LAPolicy> policy(const std::vector<Biometry>& biometries)
{
    bool body = std::any_of(biometries.begin(), biometries.end(), [](Biometry b) { return b == Biometry::touchID || b == Biometry::faceID; });
    bool watch = std::find(biometries.begin(), biometries.end(), Biometry::appleWatch) != biometries.end();
    if (body && watch)
        return LocalAuthentication::LAPolicy::deviceOwnerAuthenticationWithBiometricsOrWatch;
    if (body)
        return LocalAuthentication::LAPolicy::deviceOwnerAuthenticationWithBiometrics;
    if (watch)
        return LocalAuthentication::LAPolicy::deviceOwnerAuthenticationWithWatch;
    return std::nullopt;
}

} // namespace

const Foundation::Notification::Name& AuthenticationStore::authenticationStoreDidUpdateAuthenticationState()
{
    static const auto& name = *new Foundation::Notification::Name("authenticationStoreDidUpdateAuthenticationState");
    return name;
}

const Foundation::Notification::Name& AuthenticationStore::authenticationStoreDidUpdateAuthenticationRecords()
{
    static const auto& name = *new Foundation::Notification::Name("authenticationStoreDidUpdateAuthenticationRecords");
    return name;
}

// The records live in the application group, not in user defaults; the lock screen reports errors to
// analytics and drives the backup store itself.
AuthenticationStore::AuthenticationStore(std::shared_ptr<Foundation::UserDefaults>, std::shared_ptr<Foundation::NotificationCenter> notificationCenter,
                                         std::shared_ptr<Metricove::AnalyticsStore>, std::shared_ptr<RecordSource> recordStore,
                                         std::shared_ptr<PreferenceStore> preferenceStore, std::shared_ptr<BackupKeyTaker> backupStore,
                                         AppExecutionContext appExecutionContext, std::optional<Basalwork::File::Location> location)
    : m_notificationCenter(std::move(notificationCenter))
    , m_recordStore(std::move(recordStore))
    , m_preferenceStore(std::move(preferenceStore))
    , m_backupStore(std::move(backupStore))
    , m_appExecutionContext(std::move(appExecutionContext))
    , m_location(location.value_or(Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(),
                                                                        Foundation::String("Library/Application Support/AuthenticationStore"))))
{
}

AuthenticationStore::~AuthenticationStore()
{
    for (const auto& observer : m_observers)
        m_notificationCenter->removeObserver(observer);
}

void AuthenticationStore::initialize()
{
    NSObject::initialize();
    readRecords();
    reconcileSyncedRecords();
    std::weak_ptr<AuthenticationStore> weak = sharedSelf(this);
    if (m_backupStore)
        m_backupStore->setKeySource(weak);
    m_observers.push_back(m_notificationCenter->addObserver(Foundation::Notification::Name("UIApplicationDidEnterBackgroundNotification"), nullptr,
                                                            nullptr, [weak](const Foundation::Notification&) {
                                                                if (auto self = weak.lock())
                                                                    self->m_enteredBackgroundAt = Foundation::Date::now();
                                                            }));
    m_observers.push_back(m_notificationCenter->addObserver(Foundation::Notification::Name("UIApplicationWillEnterForegroundNotification"), nullptr,
                                                            nullptr, [weak](const Foundation::Notification&) {
                                                                if (auto self = weak.lock())
                                                                    self->applyExpiration("UIApplicationWillEnterForegroundNotification");
                                                            }));
    // The account's copy of the records arrived with a sync.
    m_observers.push_back(m_notificationCenter->addObserver(syncCoordinatorDidUpdateMasterPasswordsOrVaults(), nullptr, nullptr,
                                                            [weak](const Foundation::Notification&) {
                                                                if (auto self = weak.lock())
                                                                    self->reconcileSyncedRecords();
                                                            }));
    // The set-up steps end when the lock screen sets their preferences.
    m_observers.push_back(m_notificationCenter->addObserver(PreferenceStore::preferenceStoreDidUpdate(), m_preferenceStore, nullptr,
                                                            [weak](const Foundation::Notification&) {
                                                                auto self = weak.lock();
                                                                if (self && self->m_isAwaitingSetupSteps)
                                                                    self->postStateChange();
                                                            }));
    if (m_appExecutionContext.isExtension()) {
        m_seenLockMark = lockMark();
        Foundation::catchError([&] {
            m_lockWatcher = std::make_unique<FolderWatcher>(m_location.url(*Foundation::FileManager::defaultManager()).path().utf8(), [weak] {
                if (auto self = weak.lock())
                    self->followProgramLock();
            });
        });
    }
}

// MARK: - The program's locks in the extension

void AuthenticationStore::markLockForExtension() const
{
    Foundation::catchError([&] {
        auto folder = m_location.url(*Foundation::FileManager::defaultManager());
        Foundation::FileIO::writeFile(folder.appendingPathComponent(lockMarkFileName, false).path().utf8(),
                                      Foundation::Data::fromString(Foundation::UUID().uuidString().utf8()), true);
    });
}

std::string AuthenticationStore::lockMark() const
{
    std::string mark;
    Foundation::catchError([&] {
        auto path = m_location.url(*Foundation::FileManager::defaultManager()).appendingPathComponent(lockMarkFileName, false).path().utf8();
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored))
            mark = std::string(Foundation::FileIO::readFile(path).view());
    });
    return mark;
}

void AuthenticationStore::followProgramLock()
{
    auto mark = lockMark();
    if (mark == m_seenLockMark)
        return;
    m_seenLockMark = mark;
    // Whatever the extension shows of the vault goes with the program's lock.
    if (m_recordStore->cryptor()->isUnlocked())
        lock(LockKind::requireMasterPassword, false, false, "AuthenticationStore.followProgramLock()");
}

// MARK: - State

AuthenticationState AuthenticationStore::authenticationState() const
{
    if (auto flow = flowState())
        return *flow;
    if (m_readError)
        return AuthenticationState::FailedToReadAuthenticationRecords {m_readError};
    if (m_records && m_records->version != Records::currentVersion)
        return AuthenticationState::AppUpdateRequired {"records version " + std::to_string(m_records->version)};
    if (!m_records) {
        if (m_wasAccountReset)
            return AuthenticationState::NewMasterPasswordAfterReset {};
        return AuthenticationState::NoMasterPassword {};
    }
    if (m_recordStore->cryptor()->isUnlocked()) {
        if (m_isAwaitingSetupSteps && !m_appExecutionContext.isExtension()) {
            if (!m_preferenceStore->didCompleteAutoFillOnboarding())
                return AuthenticationState::AutoFillOnboarding {};
            if (!m_preferenceStore->didCompleteBackupOnboarding())
                return AuthenticationState::AutomaticBackupsOnboarding {};
            if (!m_preferenceStore->didCompleteSyncOnboarding())
                return AuthenticationState::SyncOnboarding {};
        }
        return AuthenticationState::Authenticated {};
    }
    return lockedState();
}

std::optional<AuthenticationState> AuthenticationStore::flowState() const
{
    if (!m_flow)
        return std::nullopt;
    // The password states show the current attempt.
    auto flow = *m_flow;
    // A rejection stays on screen past its hold, which must then show as over.
    if (const auto* failed = std::get_if<AuthenticationState::PasswordAuthenticationFailed>(&flow.value())) {
        if (auto current = entryAttemptState(true))
            return AuthenticationState::PasswordAuthenticationFailed {*current};
        if (const auto* disabled = failed->entryAttemptState.as<EntryAttemptState::Disabled>())
            return AuthenticationState::PasswordAuthenticationFailed {EntryAttemptState::failed(disabled->failedAttemptCount)};
        return flow;
    }
    if (auto* entry = std::get_if<AuthenticationState::RestoreFromBackupMasterPasswordEntry>(&flow.value()))
        return AuthenticationState::RestoreFromBackupMasterPasswordEntry {entry->fileURL, entryAttemptState(false)};
    if (auto* entry = std::get_if<AuthenticationState::ChangeMasterPasswordEntry>(&flow.value()))
        return AuthenticationState::ChangeMasterPasswordEntry {entry->isCancellable, entryAttemptState(false)};
    if (auto* entry = std::get_if<AuthenticationState::MasterPasswordChangedElsewhere>(&flow.value()))
        return AuthenticationState::MasterPasswordChangedElsewhere {entry->changedAt, entryAttemptState(false)};
    return flow;
}

AuthenticationState AuthenticationStore::lockedState() const
{
    if (m_isEvaluatingBiometry)
        return AuthenticationState::EvaluatingBiometry {true};
    auto biometry = availableBiometry();
    bool canUseBiometry = biometry != Biometry::none && biometryAllowed();
    if (m_isBiometricUnlockDue && canUseBiometry)
        return AuthenticationState::BiometricUnlockDue {};
    return AuthenticationState::Locked {biometry, !canUseBiometry, !canUseBiometry, entryAttemptState(false)};
}

std::optional<EntryAttemptState> AuthenticationStore::entryAttemptState(bool includingAcknowledged) const
{
    auto attempts = readAttempts();
    if (attempts.failedCount == 0)
        return std::nullopt;
    if (auto reEnabledAt = attempts.reEnabledAt(); reEnabledAt && *reEnabledAt > Foundation::Date::now())
        return EntryAttemptState::disabled(attempts.failedCount, *reEnabledAt);
    if (attempts.isAcknowledged && !includingAcknowledged)
        return std::nullopt;
    return EntryAttemptState::failed(attempts.failedCount);
}

bool AuthenticationStore::isEntryHeldBack() const
{
    auto attempts = readAttempts();
    auto reEnabledAt = attempts.reEnabledAt();
    return reEnabledAt && *reEnabledAt > Foundation::Date::now();
}

Biometry AuthenticationStore::availableBiometry() const
{
    auto context = Foundation::make<LocalAuthentication::LAContext>();
    for (auto biometry : Settings::Auth::availableBiometries(m_preferenceStore->authMethod())) {
        bool available = false;
        switch (biometry) {
        case Biometry::touchID:
            available = Basalwork::isTouchIDAvailable(*context);
            break;
        case Biometry::faceID:
            available = Basalwork::isFaceIDAvailable(*context);
            break;
        case Biometry::appleWatch:
            available = Basalwork::isAppleWatchAvailable(*context);
            break;
        case Biometry::none:
            break;
        }
        if (available)
            return biometry;
    }
    return Biometry::none;
}

// Biometry can only hand back the key this process unlocked with, and only within the interval after
// which the master password is asked for again.
bool AuthenticationStore::biometryAllowed() const
{
    // Biometry would open the vault outside the safe-for-inspection mode.
    if (!m_biometricKey || !m_lastMasterPasswordUnlockAt || m_preferenceStore->isSafeForInspectionModeActivated())
        return false;
    auto interval = Settings::Auth::seconds(m_preferenceStore->requireMasterPasswordInterval());
    return Foundation::Date::now().timeIntervalSince(*m_lastMasterPasswordUnlockAt) < interval;
}

void AuthenticationStore::setFlow(std::optional<AuthenticationState> flow)
{
    m_flow = std::move(flow);
    postStateChange();
}

void AuthenticationStore::postStateChange()
{
    m_notificationCenter->post(authenticationStoreDidUpdateAuthenticationState(), sharedSelf(this));
}

void AuthenticationStore::postRecordsChange()
{
    m_notificationCenter->post(authenticationStoreDidUpdateAuthenticationRecords(), sharedSelf(this));
}

std::optional<Cryptor::Key> AuthenticationStore::unwrapVaultKey(const Foundation::String& masterPassword) const
{
    if (!m_records || m_records->version != Records::currentVersion)
        throw AuthenticationStoreError::noMasterPassword();
    auto passwordKey = Cryptor::deriveKey(masterPassword, m_records->keyDerivation);
    try {
        return Cryptor::unwrapVaultKey(m_records->wrappedVaultKey, passwordKey);
    } catch (const CryptorError& error) {
        if (error.is<CryptorError::AuthenticationFailed>())
            return std::nullopt;
        throw;
    }
}

std::optional<Cryptor::Key> AuthenticationStore::safeForInspectionVaultKey(const Foundation::String& password) const
{
    try {
        return m_recordStore->vaultKey(password);
    } catch (const Foundation::Error& error) {
        // An inspection password that cannot be read opens nothing; the master password still does.
        log().error("Failed to read the safe-for-inspection password: %{public}@", error.description());
        return std::nullopt;
    }
}

void AuthenticationStore::didUnlockForInspection(Cryptor::Key vaultKey)
{
    // Nothing of this unlock is kept for biometry: only the master password leaves the mode.
    m_biometricKey.reset();
    m_recordStore->cryptor()->unlock(std::move(vaultKey));
    m_knownMasterPasswordChangedAt = m_records->masterPasswordChangedAt;
    m_isBiometricUnlockDue = false;
    writeAttempts({});
}

void AuthenticationStore::didUnlock(Cryptor::Key vaultKey)
{
    auto methodOffersBiometry = !Settings::Auth::availableBiometries(m_preferenceStore->authMethod()).empty();
    m_biometricKey = methodOffersBiometry ? std::make_unique<Cryptor::Key>(vaultKey.copy()) : nullptr;
    m_recordStore->cryptor()->unlock(std::move(vaultKey));
    m_lastMasterPasswordUnlockAt = Foundation::Date::now();
    m_knownMasterPasswordChangedAt = m_records->masterPasswordChangedAt;
    m_isBiometricUnlockDue = false;
    writeAttempts({});
}

// MARK: - Entry reports

void AuthenticationStore::reloadAuthenticationRecords(const Foundation::String& caller)
{
    log().info("Reloading the authentication records for %{public}@", caller.utf8());
    auto known = m_knownMasterPasswordChangedAt;
    readRecords();
    if (reconcileSyncedRecords())
        return;
    // Another process changed the master password: this key may be stale, so the new password unlocks.
    if (m_records && known && m_records->masterPasswordChangedAt != *known && m_recordStore->cryptor()->isUnlocked()) {
        m_recordStore->cryptor()->lock();
        m_biometricKey.reset();
        m_flow = AuthenticationState::MasterPasswordChangedElsewhere {m_records->masterPasswordChangedAt, std::nullopt};
    }
    postRecordsChange();
    postStateChange();
}

void AuthenticationStore::applyExpiration(const Foundation::String& caller)
{
    if (!m_enteredBackgroundAt || !m_recordStore->cryptor()->isUnlocked())
        return;
    auto away = Foundation::Date::now().timeIntervalSince(*m_enteredBackgroundAt);
    m_enteredBackgroundAt.reset();
    if (away >= Settings::Auth::seconds(m_preferenceStore->expiration()))
        lock(LockKind::allowBiometry, false, std::nullopt, caller + " (expired)");
}

void AuthenticationStore::attemptAutomaticBiometry(AutomaticBiometryTrigger trigger, const Foundation::String& caller)
{
    if (m_recordStore->cryptor()->isUnlocked() || m_flow)
        return;
    bool allowed = trigger != AutomaticBiometryTrigger::becameActive
        || m_preferenceStore->autoBiometry() == Settings::Auth::AutoBiometry::onDidBecomeActive;
    if (!allowed || availableBiometry() == Biometry::none || !biometryAllowed())
        return;
    log().info("Automatic biometric unlock for %{public}@", caller.utf8());
    m_isBiometricUnlockDue = true;
    postStateChange();
}

// MARK: - Master password

void AuthenticationStore::createMasterPassword(const Foundation::String& password)
{
    // Another process or installation may have made the vault meanwhile; records that cannot be read are
    // never replaced.
    readRecords();
    reconcileSyncedRecords();
    if (m_readError)
        throw AuthenticationStoreError::failedToReadAuthenticationRecords();
    if (m_records)
        throw AuthenticationStoreError::masterPasswordAlreadyCreated();
    if (!PasswordEntryReEntryState(password, password).acceptedPassword())
        throw AuthenticationStoreError::masterPasswordTooShort();
    auto vaultKey = Cryptor::Key::random();
    Records records;
    records.keyDerivation = Cryptor::KeyDerivation::makeDefault();
    auto passwordKey = Cryptor::deriveKey(password, records.keyDerivation);
    records.wrappedVaultKey = Cryptor::wrapVaultKey(vaultKey, passwordKey);
    records.createdAt = Foundation::Date::now();
    records.masterPasswordChangedAt = records.createdAt;
    writeRecords(records);
    m_wasAccountReset = false;
    m_isAwaitingSetupSteps = true;
    didUnlock(std::move(vaultKey));
    setFlow(AuthenticationState::MasterPasswordCreated {});
}

void AuthenticationStore::finishCreatingMasterPassword()
{
    if (!authenticationState().is<AuthenticationState::MasterPasswordCreated>())
        return;
    setFlow(std::nullopt);
}

void AuthenticationStore::unlock(const Foundation::String& masterPassword)
{
    if (m_recordStore->cryptor()->isUnlocked())
        return;
    readRecords();
    if (m_readError)
        m_readError->raise();
    reconcileSyncedRecords();
    if (isEntryHeldBack()) {
        // The hold may have been set by another process, which cannot tell this one's screens it ended.
        announceEndOfHold(readAttempts());
        postStateChange();
        return;
    }
    // The key derivation takes most of a second: the store reads the vault's sealed summaries meanwhile.
    m_recordStore->willTryPassword();
    std::optional<Cryptor::Key> vaultKey;
    std::optional<Cryptor::Key> inspectionKey;
    try {
        vaultKey = unwrapVaultKey(masterPassword);
        if (!vaultKey)
            inspectionKey = safeForInspectionVaultKey(masterPassword);
    } catch (...) {
        m_recordStore->unlockFailed();
        throw;
    }
    if (!vaultKey && !inspectionKey) {
        m_recordStore->unlockFailed();
        recordFailedAttempt();
        m_flow = AuthenticationState::PasswordAuthenticationFailed {*entryAttemptState(true)};
        postStateChange();
        return;
    }
    m_flow.reset();
    // The mode is set before the vault opens, so that nothing reads the vault outside it: the
    // inspection password enters it, the master password leaves it.
    if (m_preferenceStore->isSafeForInspectionModeActivated() != inspectionKey.has_value())
        m_preferenceStore->setIsSafeForInspectionModeActivated(inspectionKey.has_value());
    if (inspectionKey) {
        didUnlockForInspection(std::move(*inspectionKey));
        log().notice("Unlocked with the safe-for-inspection password");
    } else {
        didUnlock(std::move(*vaultKey));
        log().notice("Unlocked with the master password");
    }
    postStateChange();
}

void AuthenticationStore::unlockWithAvailableBiometry()
{
    auto biometries = Settings::Auth::availableBiometries(m_preferenceStore->authMethod());
    auto evaluation = policy(biometries);
    if (m_recordStore->cryptor()->isUnlocked() || m_isEvaluatingBiometry || !evaluation || !biometryAllowed()) {
        m_isBiometricUnlockDue = false;
        postStateChange();
        return;
    }
    m_isBiometricUnlockDue = false;
    m_isEvaluatingBiometry = true;
    postStateChange();
    auto context = Foundation::make<LocalAuthentication::LAContext>();
    std::weak_ptr<AuthenticationStore> weak = sharedSelf(this);
    Basalwork::evaluate(*context, *evaluation, "Unlock " + Global::corvendale(),
                        Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(),
                                                                           [weak](const Foundation::Result<void>& result) {
                                                                               auto self = weak.lock();
                                                                               if (!self)
                                                                                   return;
                                                                               self->m_isEvaluatingBiometry = false;
                                                                               if (result.isSuccess() && self->m_biometricKey && self->biometryAllowed()) {
                                                                                   self->m_recordStore->cryptor()->unlock(self->m_biometricKey->copy());
                                                                                   self->writeAttempts({});
                                                                                   log().notice("Unlocked with biometry");
                                                                               }
                                                                               self->postStateChange();
                                                                           }));
}

void AuthenticationStore::acknowledgeEntryAttempt()
{
    auto attempts = readAttempts();
    attempts.isAcknowledged = true;
    writeAttempts(attempts);
    postStateChange();
}

void AuthenticationStore::lock(LockKind kind, bool resetsEntryAttempts, std::optional<bool> attemptsAutomaticBiometry,
                               const Foundation::String& caller)
{
    log().notice("Locking (kind %d) for %{public}@", static_cast<int>(kind), caller.utf8());
    auto cryptor = m_recordStore->cryptor();
    cryptor->lock();
    if (!m_appExecutionContext.isExtension())
        markLockForExtension();
    m_flow.reset();
    m_pendingVaultKey.reset();
    m_isEvaluatingBiometry = false;
    m_isAwaitingSetupSteps = false;
    if (kind != LockKind::allowBiometry)
        m_biometricKey.reset();
    if (resetsEntryAttempts)
        writeAttempts({});
    if (kind == LockKind::reloadRecords) {
        if (m_isResettingAccount) {
            std::error_code ignored;
            auto folder = m_location.url(*Foundation::FileManager::defaultManager());
            std::filesystem::remove(folder.appendingPathComponent("authenticationRecords.json", false).path().utf8(), ignored);
            std::filesystem::remove(folder.appendingPathComponent("entryAttempts.json", false).path().utf8(), ignored);
            std::filesystem::remove(folder.appendingPathComponent(Records::publishedFileName, false).path().utf8(), ignored);
            m_isResettingAccount = false;
            m_wasAccountReset = true;
            m_lastMasterPasswordUnlockAt.reset();
        }
    }
    // A lock is also how the lock screen retries after records could not be read.
    if (kind == LockKind::reloadRecords || m_readError) {
        readRecords();
        m_knownMasterPasswordChangedAt = m_records ? std::optional(m_records->masterPasswordChangedAt) : std::nullopt;
        postRecordsChange();
    }
    bool automatic = attemptsAutomaticBiometry.value_or(m_preferenceStore->autoBiometry() == Settings::Auth::AutoBiometry::onDidBecomeActive);
    m_isBiometricUnlockDue = automatic && kind == LockKind::allowBiometry && biometryAllowed();
    postStateChange();
}

void AuthenticationStore::beginChangingMasterPassword()
{
    auto state = authenticationState();
    if (!state.isAuthenticated() && !state.is<AuthenticationState::ChangeMasterPasswordRequested>())
        return;
    m_flow.reset();
    setFlow(AuthenticationState::ChangeMasterPasswordEntry {true, std::nullopt});
}

void AuthenticationStore::verifyMasterPasswordToChange(const Foundation::String& masterPassword)
{
    if (!m_flow || !m_flow->is<AuthenticationState::ChangeMasterPasswordEntry>())
        throw AuthenticationStoreError::unexpectedState("verifyMasterPasswordToChange", authenticationState().index());
    if (isEntryHeldBack())
        return postStateChange();
    auto vaultKey = unwrapVaultKey(masterPassword);
    if (!vaultKey) {
        recordFailedAttempt();
        return postStateChange();
    }
    writeAttempts({});
    // Kept, in guarded memory, only until the new password wraps it or the change is cancelled.
    m_pendingVaultKey = std::make_unique<Cryptor::Key>(std::move(*vaultKey));
    setFlow(AuthenticationState::NewMasterPasswordEntry {});
}

void AuthenticationStore::changeMasterPassword(const Foundation::String& newMasterPassword)
{
    if (!m_flow || !m_flow->is<AuthenticationState::NewMasterPasswordEntry>() || !m_pendingVaultKey || !m_records)
        throw AuthenticationStoreError::unexpectedState("changeMasterPassword", authenticationState().index());
    if (!PasswordEntryReEntryState(newMasterPassword, newMasterPassword).acceptedPassword())
        throw AuthenticationStoreError::masterPasswordTooShort();
    // The vault key stays; only its wrapping changes, so no item needs sealing again.
    const Records previous = *m_records;
    Records records = previous;
    records.keyDerivation = Cryptor::KeyDerivation::makeDefault();
    auto passwordKey = Cryptor::deriveKey(newMasterPassword, records.keyDerivation);
    records.wrappedVaultKey = Cryptor::wrapVaultKey(*m_pendingVaultKey, passwordKey);
    records.masterPasswordChangedAt = Foundation::Date::now();
    auto refuse = [&](const Foundation::Error& error) {
        m_pendingVaultKey.reset();
        setFlow(AuthenticationState::FailedToWriteAuthenticationRecords {error.clone()});
    };
    try {
        writeRecordsFile(records);
    } catch (const Foundation::Error& error) {
        log().error("Failed to write the changed master password: %{public}@", error.description());
        refuse(error);
        throw;
    }
    // The account's copy goes with it, or the change is undone: a password changed here alone would
    // leave the other installations on the old one with nothing to bring them the new.
    try {
        m_recordStore->setSyncedAuthenticationRecords(Basalwork::JSONCoder::shared()->encode(records), records.masterPasswordChangedAt);
    } catch (const Foundation::Error& error) {
        log().error("Failed to keep the changed master password for the account: %{public}@", error.description());
        bool restored = false;
        try {
            writeRecordsFile(previous);
            restored = true;
        } catch (const Foundation::Error& restoreError) {
            // The new password stands here, and the next reconciliation hands it to the account.
            log().error("Failed to put the earlier master password back: %{public}@", restoreError.description());
        }
        if (restored) {
            refuse(error);
            throw;
        }
    }
    markPublished(records);
    m_records = std::make_unique<Records>(records);
    m_knownMasterPasswordChangedAt = records.masterPasswordChangedAt;
    postRecordsChange();
    m_pendingVaultKey.reset();
    m_lastMasterPasswordUnlockAt = Foundation::Date::now();
    log().notice("The master password was changed");
    setFlow(std::nullopt);
}

void AuthenticationStore::cancelChangingMasterPassword()
{
    m_pendingVaultKey.reset();
    if (m_flow && (m_flow->is<AuthenticationState::ChangeMasterPasswordEntry>() || m_flow->is<AuthenticationState::NewMasterPasswordEntry>()))
        setFlow(std::nullopt);
}

void AuthenticationStore::unlockWithChangedMasterPassword(const Foundation::String& masterPassword)
{
    m_flow.reset();
    unlock(masterPassword);
}

// MARK: - Restoring from a backup

std::optional<BackupKeyMaterial> AuthenticationStore::backupKeyMaterial() const
{
    if (!m_records || m_records->version != Records::currentVersion)
        return std::nullopt;
    return BackupKeyMaterial {m_records->keyDerivation, m_records->wrappedVaultKey, m_records->createdAt, m_records->masterPasswordChangedAt};
}

void AuthenticationStore::restoreBackupKeyMaterial(const BackupKeyMaterial& material)
{
    Records records;
    records.keyDerivation = material.keyDerivation;
    records.wrappedVaultKey = material.wrappedVaultKey;
    records.createdAt = material.createdAt;
    // The restored vault's password is the newest: the account's other installations take it.
    records.masterPasswordChangedAt = std::max(material.masterPasswordChangedAt, Foundation::Date::now());
    writeRecords(records);
}

void AuthenticationStore::beginRestoringFromBackup(const std::optional<Foundation::URL>& fileURL)
{
    m_flow.reset();
    setFlow(AuthenticationState::RestoreFromBackupIntroduction {fileURL});
}

void AuthenticationStore::continueRestoringFromBackup()
{
    const auto* introduction = m_flow ? m_flow->as<AuthenticationState::RestoreFromBackupIntroduction>() : nullptr;
    if (!introduction)
        return;
    auto fileURL = introduction->fileURL;
    // Replacing a vault takes its master password; a device without one has nothing to lose.
    if (m_records)
        m_flow = AuthenticationState::RestoreFromBackupMasterPasswordEntry {fileURL, std::nullopt};
    else
        m_flow = AuthenticationState::ChoosingBackupFile {fileURL};
    postStateChange();
}

void AuthenticationStore::verifyMasterPasswordToRestore(const Foundation::String& masterPassword)
{
    const auto* entry = m_flow ? m_flow->as<AuthenticationState::RestoreFromBackupMasterPasswordEntry>() : nullptr;
    if (!entry)
        throw AuthenticationStoreError::unexpectedState("verifyMasterPasswordToRestore", authenticationState().index());
    if (isEntryHeldBack())
        return postStateChange();
    if (!unwrapVaultKey(masterPassword)) {
        recordFailedAttempt();
        return postStateChange();
    }
    writeAttempts({});
    m_flow = AuthenticationState::ChoosingBackupFile {entry->fileURL};
    postStateChange();
}

void AuthenticationStore::chooseBackupFile(const Foundation::URL& fileURL)
{
    if (!m_flow || !m_flow->is<AuthenticationState::ChoosingBackupFile>())
        return;
    m_flow = AuthenticationState::BackupPasswordEntry {fileURL};
    postStateChange();
}

void AuthenticationStore::beginReadingBackup()
{
    if (!m_flow || !m_flow->is<AuthenticationState::BackupPasswordEntry>())
        return;
    m_flow = AuthenticationState::RestoringFromBackup {};
    postStateChange();
}

void AuthenticationStore::backupIsReadyToReplaceData(const Foundation::URL& fileURL, const Foundation::String& backupPassword)
{
    if (!m_flow || !m_flow->isIncludedInRestoreFromBackupFlow())
        return;
    m_flow = AuthenticationState::ReplaceDataWithBackupConfirmation {fileURL, backupPassword};
    postStateChange();
}

void AuthenticationStore::confirmReplacingDataWithBackup()
{
    if (!m_flow || !m_flow->is<AuthenticationState::ReplaceDataWithBackupConfirmation>())
        return;
    m_recordStore->cryptor()->lock();
    m_biometricKey.reset();
    m_flow = AuthenticationState::RestoringFromBackup {};
    postStateChange();
}

void AuthenticationStore::restoreFromBackupDidSucceed()
{
    if (!m_flow || !m_flow->isIncludedInRestoreFromBackupFlow())
        return;
    m_flow = AuthenticationState::RestoreFromBackupSucceeded {};
    postStateChange();
}

void AuthenticationStore::finishRestoringFromBackup()
{
    if (!m_flow || !m_flow->is<AuthenticationState::RestoreFromBackupSucceeded>())
        return;
    readRecords();
    m_knownMasterPasswordChangedAt = m_records ? std::optional(m_records->masterPasswordChangedAt) : std::nullopt;
    postRecordsChange();
    m_flow = AuthenticationState::RestoredVaultMasterPasswordEntry {};
    postStateChange();
}

void AuthenticationStore::unlockRestoredVault(const Foundation::String& masterPassword)
{
    if (!m_flow || !m_flow->is<AuthenticationState::RestoredVaultMasterPasswordEntry>())
        return;
    m_flow.reset();
    unlock(masterPassword);
}

void AuthenticationStore::restoreFromBackupDidFail(const Foundation::String& errorDescription)
{
    m_flow = AuthenticationState::RestoreFromBackupFailed {errorDescription, errorDescription.isEmpty() ? 0 : 1};
    postStateChange();
}

void AuthenticationStore::cancelRestoringFromBackup()
{
    if (m_flow && m_flow->isIncludedInRestoreFromBackupFlow())
        setFlow(std::nullopt);
}

// MARK: - Resetting the account

void AuthenticationStore::beginResettingAccount()
{
    m_flow.reset();
    setFlow(AuthenticationState::ResetAccountIntroduction {});
}

void AuthenticationStore::startResettingAccount()
{
    if (!m_flow || !m_flow->is<AuthenticationState::ResetAccountIntroduction>())
        return;
    m_flow = AuthenticationState::ResetAccountConfirmation {};
    postStateChange();
}

void AuthenticationStore::confirmResettingAccount()
{
    if (!m_flow || !m_flow->is<AuthenticationState::ResetAccountConfirmation>())
        return;
    m_isResettingAccount = true;
    m_flow = AuthenticationState::ResettingAccount {};
    postStateChange();
}

void AuthenticationStore::accountResetDidFail()
{
    m_isResettingAccount = false;
    if (m_flow && m_flow->is<AuthenticationState::ResetAccountFailed>()) {
        setFlow(std::nullopt);
        return;
    }
    m_flow = AuthenticationState::ResetAccountFailed {};
    postStateChange();
}

void AuthenticationStore::cancelResettingAccount()
{
    m_isResettingAccount = false;
    if (m_flow
        && (m_flow->is<AuthenticationState::ResetAccountIntroduction>() || m_flow->is<AuthenticationState::ResetAccountConfirmation>()
            || m_flow->is<AuthenticationState::ResetAccountFailed>()))
        setFlow(std::nullopt);
}

} // namespace Shared
