#pragma once

#include "Sorrelgate/AuthenticationC.hpp"
#include "Sorrelgate/CredentialProviderVC.hpp"
#include "Sorrelgate/Dependencies.hpp"
#include "Sorrelgate/EntriesC.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"
#include "Platform/AuthenticationServices/ASExtensionError.hpp"
#include "Platform/AuthenticationServices/AutoFillService.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace SorrelgateTests {

using AuthenticationServices::AutoFillRequest;
using AuthenticationServices::AutoFillService;
using Context = AuthenticationServices::ASCredentialProviderExtensionContext;

constexpr const char* masterPassword = "correct horse battery";

// One request to the extension, as the AutoFill service makes it: the extension's bundle loaded, a
// window of its own, the entry point called.
class Request {
public:
    explicit Request(AutoFillRequest request)
        : m_service(complete(std::move(request)))
        , m_scene(Foundation::make<UIKit::UIWindowScene>())
    {
        m_service.start(m_scene, [this] { m_ended = true; });
        if (m_service.window())
            m_service.window()->setFrame(UIKit::CGRect {0, 0, 1000, 600});
        TestSupport::runMainLoopUntilIdle();
    }
    // The service's closure refers to the request: it stays where it was made.
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    static Request list(std::vector<std::string> services)
    {
        AutoFillRequest request;
        for (const auto& service : services)
            request.serviceIdentifiers.push_back(AutoFillRequest::serviceIdentifier(service));
        return Request(request);
    }
    static Request provide(const Foundation::String& record, bool oneTimeCode = false, bool withoutUserInteraction = false)
    {
        AutoFillRequest request;
        request.kind = withoutUserInteraction ? AutoFillRequest::Kind::provideWithoutUserInteraction : AutoFillRequest::Kind::provide;
        request.recordIdentifier = record;
        request.service = AutoFillRequest::serviceIdentifier("forum.example");
        request.asksForOneTimeCode = oneTimeCode;
        return Request(request);
    }

    AutoFillService& service() { return m_service; }
    std::shared_ptr<Sorrelgate::CredentialProviderVC> provider() const
    {
        return std::dynamic_pointer_cast<Sorrelgate::CredentialProviderVC>(m_service.provider());
    }
    template <class Child>
    std::shared_ptr<Child> child() const
    {
        for (const auto& each : provider()->children())
            if (auto found = std::dynamic_pointer_cast<Child>(each))
                return found;
        return nullptr;
    }
    std::shared_ptr<Sorrelgate::EntriesC> entriesC() const { return child<Sorrelgate::EntriesC>(); }
    std::shared_ptr<Sorrelgate::AuthenticationC> authenticationC() const { return child<Sorrelgate::AuthenticationC>(); }
    std::int64_t unlockScreenState() const { return authenticationC()->authenticationVC()->state().index(); }
    std::vector<Foundation::String> shownItems() const { return entriesC()->entriesVC()->shownEntryIDs(); }
    TestSupport::Driver& driver()
    {
        if (!m_driver)
            m_driver = std::make_unique<TestSupport::Driver>(m_scene);
        return *m_driver;
    }
    // The master password as typed on the unlock screen and confirmed, then the clock moved on (by less
    // than the list's half second to take the keyboard, to press keys before it does).
    void enter(const Foundation::String& password, double seconds = 1)
    {
        auto authenticationC = this->authenticationC();
        const auto& state = authenticationC->authenticationVC()->state();
        ASSERT_TRUE(state.is<Shared::AuthenticationVState::Locked>());
        authenticationC->didSelectPrimaryAction(state.withEntryText(password), *authenticationC->authenticationVC());
        TestSupport::advanceClock(seconds);
    }

    bool hasEnded() const { return m_ended; }
    // Recording a use and saving run on the stores' own threads: the main loop turns until the request
    // ended, ten seconds at most.
    bool waitForEnd()
    {
        TestSupport::advanceClock(1);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_ended && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
            TestSupport::runMainLoopUntilIdle();
        }
        return m_ended;
    }
    const std::optional<Context::Outcome>& outcome() const { return m_service.outcome(); }

private:
    static AutoFillRequest complete(AutoFillRequest request)
    {
        request.extensionPath = SORRELGATE_BUNDLE;
        return request;
    }

    AutoFillService m_service;
    std::shared_ptr<UIKit::UIWindowScene> m_scene;
    std::unique_ptr<TestSupport::Driver> m_driver;
    bool m_ended = false;
};

class ExtensionTest : public testing::Test {
protected:
    void SetUp() override { Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier()); }

    static const Sorrelgate::Dependencies& services() { return Sorrelgate::Dependencies::shared(); }

    // The vault as the main program leaves it: a master password, open for adding items.
    static void unlock()
    {
        const auto& store = services().authenticationStore;
        if (store->authenticationState().isAuthenticated())
            return;
        const auto& preferences = services().preferenceStore;
        preferences->setDidCompleteAutoFillOnboarding(true);
        preferences->setDidCompleteBackupOnboarding(true);
        preferences->setDidCompleteSyncOnboarding(true);
        try {
            store->createMasterPassword(masterPassword);
            store->finishCreatingMasterPassword();
        } catch (const Foundation::Error&) {
            store->unlock(masterPassword);
        }
        TestSupport::runMainLoopUntilIdle();
    }
    static void lock()
    {
        services().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, false, "test");
        TestSupport::runMainLoopUntilIdle();
    }
    static Foundation::String addLogin(const char* title, const char* username, const char* password, const char* website,
                                       const char* oneTimePassword = "")
    {
        unlock();
        using ID = Shared::Entry::SystemField::ID;
        auto context = services().recordStore->makeEditingContext();
        auto id = context->insert(Foundation::UUID().uuidString(), services().recordStore->vaultIDForNewEntries(), std::nullopt, false);
        context->setText(title, ID::title, id);
        context->setText(username, ID::username, id);
        context->setText(password, ID::password, id);
        context->setText(website, ID::website, id);
        if (*oneTimePassword)
            context->setText(oneTimePassword, ID::totpSecretKey, id);
        context->save();
        TestSupport::runMainLoopUntilIdle();
        return id;
    }
    static Context::Outcome cancelledWith(const std::string& domain, std::int64_t code) { return Context::Cancelled {domain, code}; }
    static Context::Outcome cancelledWith(AuthenticationServices::ASExtensionError::Code code)
    {
        return Context::Cancelled {AuthenticationServices::ASExtensionErrorDomain, static_cast<std::int64_t>(code)};
    }
    // Work another thread hands to the main queue (a file written by another process): the main loop
    // turns until it came, ten seconds at most.
    template <class Condition>
    static bool runMainLoopUntil(Condition condition)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::yield();
            TestSupport::runMainLoopUntilIdle();
        }
        return true;
    }
};

} // namespace SorrelgateTests
