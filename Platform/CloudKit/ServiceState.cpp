#include "Platform/CloudKit/ServiceState.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace CloudKit {
namespace {

constexpr const char* localAccount = "_localAccount";

std::string userDirectory(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + fallback;
}

std::string freshDeviceIdentifier()
{
    auto text = Foundation::UUID().uuidString().utf8();
    std::string identifier;
    for (char c : text) {
        if (c != '-')
            identifier += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return identifier;
}

bool isDeviceIdentifier(const std::string& text)
{
    return text.size() == 32 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
}

} // namespace

ServiceState& ServiceState::shared()
{
    // Never destroyed: the push watcher's thread may still use it while the process ends.
    static auto* state = new ServiceState();
    return *state;
}

std::string ServiceState::rootFolder() const
{
    const char* folder = std::getenv("CORVENDALE_CLOUDKIT_FOLDER");
    if (folder && folder[0] == '/')
        return folder;
    return userDirectory("XDG_DATA_HOME", ".local/share") + "/CloudKit";
}

std::optional<std::string> ServiceState::account()
{
    std::lock_guard lock(m_mutex);
    if (!m_accountRead) {
        m_accountRead = true;
        const char* value = std::getenv("CORVENDALE_CLOUDKIT_ACCOUNT");
        if (!value)
            m_account = localAccount;
        else if (value[0] != '\0')
            m_account = value;
    }
    return m_account;
}

bool ServiceState::isValidIdentifier(const std::string& identifier)
{
    return !identifier.empty() && identifier.size() <= 255 && identifier.front() != '.'
        && identifier.find('/') == std::string::npos && identifier.find('\0') == std::string::npos;
}

bool ServiceState::setAccount(std::optional<std::string> account)
{
    auto previous = this->account();
    std::lock_guard lock(m_mutex);
    m_account = std::move(account);
    return previous != m_account;
}

std::string ServiceState::stateFolder()
{
    return userDirectory("XDG_STATE_HOME", ".local/state") + "/CloudKit";
}

const std::string& ServiceState::deviceIdentifier()
{
    std::lock_guard lock(m_mutex);
    if (!m_deviceIdentifier.empty())
        return m_deviceIdentifier;
    auto path = stateFolder() + "/DeviceIdentifier";
    try {
        auto stored = Foundation::FileIO::readFile(path);
        if (isDeviceIdentifier(std::string(stored.view())))
            m_deviceIdentifier = std::string(stored.view());
    } catch (...) {
    }
    if (m_deviceIdentifier.empty()) {
        m_deviceIdentifier = freshDeviceIdentifier();
        Foundation::FileIO::makeDirectories(Foundation::FileIO::parentDirectory(path));
        try {
            Foundation::FileIO::writeFile(path, Foundation::Data::fromString(m_deviceIdentifier), true);
        } catch (...) {
        }
    }
    return m_deviceIdentifier;
}

void ServiceState::injectFailure(CKSimulation::Failure failure)
{
    std::lock_guard lock(m_mutex);
    m_failures.push_back(std::move(failure));
}

void ServiceState::removeInjectedFailures()
{
    std::lock_guard lock(m_mutex);
    m_failures.clear();
}

std::optional<CKSimulation::Failure> ServiceState::takeFailure(CKSimulation::Operation operation)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_failures.begin(); it != m_failures.end(); ++it) {
        if (it->operation != CKSimulation::Operation::any && it->operation != operation)
            continue;
        auto failure = *it;
        if (it->times && --*it->times <= 0)
            m_failures.erase(it);
        return failure;
    }
    return std::nullopt;
}

void ServiceState::noteOwnBatch(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    m_ownBatches.insert(path);
}

bool ServiceState::shouldAnnounce(const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    return m_deliversOwnBatches || !m_ownBatches.contains(path);
}

void ServiceState::setDeliversPushesForOwnBatches(bool delivers)
{
    std::lock_guard lock(m_mutex);
    m_deliversOwnBatches = delivers;
}

} // namespace CloudKit
