#pragma once

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <chrono>
#include <filesystem>
#include <thread>

namespace SharedTests {

// Stands in for the record store: it only hands out the cryptor.
class CryptorRecordSource : public Shared::AuthenticationStore::RecordSource {
public:
    explicit CryptorRecordSource(std::shared_ptr<Shared::Cryptor> cryptor)
        : m_cryptor(std::move(cryptor))
    {
    }
    std::shared_ptr<Shared::Cryptor> cryptor() const override { return m_cryptor; }

private:
    std::shared_ptr<Shared::Cryptor> m_cryptor;
};

// The stores of one process over the application group of the test's home, built in the program's order.
struct Vault {
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter = Foundation::make<Foundation::NotificationCenter>();
    std::shared_ptr<Foundation::UserDefaults> userDefaults;
    std::shared_ptr<Shared::PreferenceStore> preferenceStore;
    std::shared_ptr<Shared::Cryptor> cryptor;
    std::shared_ptr<Shared::AttachmentDataStore> attachmentDataStore;
    std::shared_ptr<Shared::AuthenticationStore> authenticationStore;

    explicit Vault(Shared::AppExecutionContext context = Shared::AppExecutionContext::extension())
    {
        Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
        userDefaults = Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier());
        preferenceStore = Shared::PreferenceStore::initialize(userDefaults, notificationCenter);
        cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
        attachmentDataStore = Foundation::make<Shared::AttachmentDataStore>(
            Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/AttachmentStore")),
            Foundation::FileManager::defaultManager(), cryptor);
        authenticationStore = Foundation::make<Shared::AuthenticationStore>(userDefaults, notificationCenter, nullptr,
                                                                          std::make_shared<CryptorRecordSource>(cryptor), preferenceStore,
                                                                          nullptr, std::move(context));
    }
};

// Work on worker threads (an evaluation, a decryption) hands its result to the main loop: turn it until
// `done` holds, for at most 30 seconds of real time.
template <class Predicate>
bool runMainLoopUntil(Predicate done)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        TestSupport::runMainLoopUntilIdle();
        std::this_thread::yield();
    }
    return done();
}

inline std::filesystem::path temporaryFolder(const std::string& name)
{
    auto folder = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()) / name;
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace SharedTests

namespace SharedTests {

// Every test starts without a vault: the application group's folder and preferences are removed.
inline void removeApplicationGroup()
{
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    if (auto container = Foundation::FileManager::defaultManager()->containerURL(Shared::Global::App::appGroupIdentifier()))
        std::filesystem::remove_all(container->path().utf8());
    Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier())->removePersistentDomain(Shared::Global::App::appGroupIdentifier());
}

} // namespace SharedTests
