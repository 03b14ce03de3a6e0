#include "Shared/Stores/AuthenticationStore.hpp"

#include "Shared/Stores/AuthenticationStore.Records.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"

#include <cstdio>
#include <filesystem>

namespace Shared {

namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "AuthenticationStore");
    return logger;
}

std::string dateText(Foundation::Date date)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", date.timeIntervalSinceReferenceDate());
    return text;
}

} // namespace

// MARK: - Records

void AuthenticationStore::readRecords()
{
    m_readError.reset();
    m_records.reset();
    try {
        auto folder = m_location.url(*Foundation::FileManager::defaultManager());
        auto path = folder.appendingPathComponent("authenticationRecords.json", false).path().utf8();
        if (!std::filesystem::exists(path))
            return;
        m_records = std::make_unique<Records>(Basalwork::JSONCoder::shared()->decode<Records>(Foundation::FileIO::readFile(path)));
    } catch (const Foundation::Error& error) {
        log().error("Failed to read the authentication records: %{public}@", error.description());
        m_readError = error.clone();
    }
}

void AuthenticationStore::writeRecords(const Records& records)
{
    try {
        writeRecordsFile(records);
    } catch (const Foundation::Error& error) {
        log().error("Failed to write the authentication records: %{public}@", error.description());
        setFlow(AuthenticationState::FailedToWriteAuthenticationRecords {error.clone()});
        throw;
    }
    m_records = std::make_unique<Records>(records);
    m_knownMasterPasswordChangedAt = records.masterPasswordChangedAt;
    publishRecords(records);
    postRecordsChange();
}

void AuthenticationStore::writeRecordsFile(const Records& records)
{
    auto folder = m_location.url(*Foundation::FileManager::defaultManager());
    Foundation::FileIO::writeFile(folder.appendingPathComponent("authenticationRecords.json", false).path().utf8(),
                                  Basalwork::JSONCoder::shared()->encode(records), true);
}

// A failure here loses nothing: the local records stay, and the next reconciliation offers them again.
// What was handed over is noted, so that records the account dropped since (a reset on another device)
// are not brought back to it.
void AuthenticationStore::publishRecords(const Records& records)
{
    try {
        m_recordStore->setSyncedAuthenticationRecords(Basalwork::JSONCoder::shared()->encode(records), records.masterPasswordChangedAt);
    } catch (const Foundation::Error& error) {
        log().error("Failed to keep the authentication records for the account: %{public}@", error.description());
        return;
    }
    markPublished(records);
}

void AuthenticationStore::markPublished(const Records& records)
{
    try {
        auto folder = m_location.url(*Foundation::FileManager::defaultManager());
        Foundation::FileIO::writeFile(folder.appendingPathComponent(Records::publishedFileName, false).path().utf8(),
                                      Foundation::Data::fromString(dateText(records.masterPasswordChangedAt)), true);
    } catch (const Foundation::Error& error) {
        log().error("Failed to note the authentication records given to the account: %{public}@", error.description());
    }
}

bool AuthenticationStore::wasPublished(const Records& records) const
{
    try {
        auto path = m_location.url(*Foundation::FileManager::defaultManager()).appendingPathComponent(Records::publishedFileName, false).path().utf8();
        if (!std::filesystem::exists(path))
            return false;
        auto text = Foundation::FileIO::readFile(path);
        return std::string(text.view()) == dateText(records.masterPasswordChangedAt);
    } catch (const Foundation::Error&) {
        return false;
    }
}

bool AuthenticationStore::reconcileSyncedRecords()
{
    // Records that cannot be read are never replaced, nor is anything decided in the middle of a reset.
    if (m_readError || m_isResettingAccount || (m_records && m_records->version != Records::currentVersion))
        return false;
    std::optional<Records> synced;
    try {
        if (auto data = m_recordStore->syncedAuthenticationRecords()) {
            auto decoded = Basalwork::JSONCoder::shared()->decode<Records>(*data);
            if (decoded.version != Records::currentVersion) {
                log().error("The account's authentication records are of version %d", decoded.version);
                return false;
            }
            synced = std::move(decoded);
        }
    } catch (const Foundation::Error& error) {
        log().error("Failed to read the account's authentication records: %{public}@", error.description());
        return false;
    }
    if (synced && (!m_records || synced->masterPasswordChangedAt > m_records->masterPasswordChangedAt)) {
        adoptSyncedRecords(*synced);
        return true;
    }
    if (m_records && ((!synced && !wasPublished(*m_records)) || (synced && m_records->masterPasswordChangedAt > synced->masterPasswordChangedAt)))
        publishRecords(*m_records);
    return false;
}

void AuthenticationStore::adoptSyncedRecords(const Records& records)
{
    auto folder = m_location.url(*Foundation::FileManager::defaultManager());
    try {
        // Records of another vault (two installations that each made one before they met) would leave
        // this vault's items sealed under a key nothing opens any more: the records that open them stay.
        if (m_records && m_records->createdAt != records.createdAt) {
            auto kept = "authenticationRecords." + std::to_string(static_cast<std::int64_t>(m_records->createdAt.timeIntervalSinceReferenceDate()))
                + ".replaced.json";
            Foundation::FileIO::writeFile(folder.appendingPathComponent(Foundation::String(kept), false).path().utf8(),
                                          Basalwork::JSONCoder::shared()->encode(*m_records), true);
            log().error("The account's master password belongs to another vault; the records of this one are kept as %{public}@", kept);
        }
        writeRecordsFile(records);
    } catch (const Foundation::Error& error) {
        log().error("Failed to take in the account's authentication records: %{public}@", error.description());
        return;
    }
    bool hadRecords = m_records != nullptr;
    m_records = std::make_unique<Records>(records);
    log().notice("Took in the account's authentication records");
    // As when another process changed the master password: the new one unlocks.
    if (hadRecords && m_recordStore->cryptor()->isUnlocked()) {
        m_recordStore->cryptor()->lock();
        m_biometricKey.reset();
        m_pendingVaultKey.reset();
        m_flow = AuthenticationState::MasterPasswordChangedElsewhere {records.masterPasswordChangedAt, std::nullopt};
    }
    m_knownMasterPasswordChangedAt = records.masterPasswordChangedAt;
    m_wasAccountReset = false;
    postRecordsChange();
    postStateChange();
}

AuthenticationStore::Attempts AuthenticationStore::readAttempts() const
{
    try {
        auto folder = m_location.url(*Foundation::FileManager::defaultManager());
        auto path = folder.appendingPathComponent("entryAttempts.json", false).path().utf8();
        if (std::filesystem::exists(path))
            return Basalwork::JSONCoder::shared()->decode<Attempts>(Foundation::FileIO::readFile(path));
    } catch (const Foundation::Error& error) {
        log().error("Failed to read the entry attempts: %{public}@", error.description());
    }
    return {};
}

void AuthenticationStore::writeAttempts(const Attempts& attempts)
{
    try {
        auto folder = m_location.url(*Foundation::FileManager::defaultManager());
        Foundation::FileIO::writeFile(folder.appendingPathComponent("entryAttempts.json", false).path().utf8(),
                                      Basalwork::JSONCoder::shared()->encode(attempts), true);
    } catch (const Foundation::Error& error) {
        log().error("Failed to write the entry attempts: %{public}@", error.description());
    }
}

void AuthenticationStore::recordFailedAttempt()
{
    auto attempts = readAttempts();
    attempts.failedCount += 1;
    attempts.lastFailedAt = Foundation::Date::now();
    attempts.isAcknowledged = false;
    writeAttempts(attempts);
    log().notice("A master password was rejected (attempt %d)", attempts.failedCount);
    announceEndOfHold(attempts);
}

void AuthenticationStore::announceEndOfHold(const Attempts& attempts)
{
    auto reEnabledAt = attempts.reEnabledAt();
    if (!reEnabledAt || *reEnabledAt <= Foundation::Date::now() || reEnabledAt == m_announcedEndOfHold)
        return;
    m_announcedEndOfHold = reEnabledAt;
    std::weak_ptr<AuthenticationStore> weak = sharedSelf(this);
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), reEnabledAt->timeIntervalSince(Foundation::Date::now()), [weak] {
        if (auto self = weak.lock(); self && !self->isEntryHeldBack())
            self->postStateChange();
    });
}

} // namespace Shared
