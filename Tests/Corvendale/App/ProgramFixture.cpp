#include "Tests/Corvendale/App/ProgramFixture.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/Foundation/Bundle.hpp"

#include <filesystem>

namespace CorvendaleTests {

void Program::SetUp()
{
    // Nobody is signed in: a first fetch from the account would hold the lock screen at any moment.
    CloudKit::CKSimulation::setAccount(std::nullopt);
    inMemoryDependencies();
    Corvendale::registerProgramClasses();
    m_previousBundle = Foundation::Bundle::main();
    auto info = std::filesystem::path(CORVENDALE_SOURCE_DIR) / "Corvendale";
    Foundation::Bundle::setMain(Foundation::Bundle::atPath(info.string()));
    UIKit::UIApplication::shared()->launch(Foundation::make<Corvendale::AppDelegate>());
    settle();
    // The launch's sync ends before the test begins: a running sync without a first fetch holds the
    // lock screen, and it would do so at whatever moment it reports.
    Corvendale::dependencies().syncCoordinator->cloudKitRemote()->stop();
    settle();
}
void Program::TearDown()
{
    auto application = UIKit::UIApplication::shared();
    for (const auto& scene : application->connectedScenes())
        application->disconnect(scene);
    TestSupport::runMainLoopUntilIdle();
    Foundation::Bundle::setMain(m_previousBundle);
}

void Program::settle()
{
    settleSyncs();
}

} // namespace CorvendaleTests
