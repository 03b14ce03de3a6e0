#include "Tests/Corvendale/App/ProgramFixture.hpp"

#include "Platform/Foundation/Bundle.hpp"

#include <filesystem>

namespace CorvendaleTests {

void Program::SetUp()
{
    inMemoryDependencies();
    Corvendale::registerProgramClasses();
    m_previousBundle = Foundation::Bundle::main();
    auto info = std::filesystem::path(CORVENDALE_SOURCE_DIR) / "Corvendale";
    Foundation::Bundle::setMain(Foundation::Bundle::atPath(info.string()));
    UIKit::UIApplication::shared()->launch(Foundation::make<Corvendale::AppDelegate>());
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
