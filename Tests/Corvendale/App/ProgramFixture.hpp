#pragma once

#include "Tests/Corvendale/App/AppFixture.hpp"

#include "Corvendale/App/AppDelegate.hpp"
#include "Corvendale/App/AuthenticationCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/App/SceneDelegate.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Screens/AuthenticationV.State.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <optional>

#include <gtest/gtest.h>

namespace Foundation {
class Bundle;
}

namespace CorvendaleTests {

// The program in this process: its bundle's information, its classes, launched as the main loop would,
// over the in-memory container.
class Program : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<Foundation::Bundle> m_previousBundle;

    std::shared_ptr<Corvendale::SceneDelegate> sceneDelegate() const
    {
        auto scenes = UIKit::UIApplication::shared()->connectedScenes();
        return scenes.empty() ? nullptr : std::dynamic_pointer_cast<Corvendale::SceneDelegate>(scenes.back()->delegate());
    }
    std::shared_ptr<Corvendale::AuthenticationCoordinator> lockScreen() const { return sceneDelegate()->sceneCoordinator()->authenticationCoordinator(); }
    std::int64_t screenState() const { return lockScreen()->authenticationVC()->state().index(); }
    const std::shared_ptr<Shared::AuthenticationStore>& store() const { return Corvendale::dependencies().authenticationStore; }

    // Syncs run on the remote's own threads: the main loop turns until none runs (30 seconds at most).
    static void settle();

    void type(const Foundation::String& entry, const std::optional<Foundation::String>& reEntry = std::nullopt)
    {
        auto coordinator = lockScreen();
        coordinator->didUpdateEntryText(entry, *coordinator->authenticationVC());
        if (reEntry)
            coordinator->didUpdateReEntryText(*reEntry, *coordinator->authenticationVC());
        coordinator->didSelectPrimaryAction(coordinator->authenticationVC()->state(), *coordinator->authenticationVC());
        settle();
    }
};

} // namespace CorvendaleTests
