#include "Platform/UIKit/UIApplicationMain.hpp"

#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"

#include <csignal>
#include <thread>
#include <unistd.h>
#include <vector>

namespace UIKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "UIApplicationMain");
    return logger;
}

std::function<void()>& mainLoop()
{
    static auto* loop = new std::function<void()>;
    return *loop;
}

int terminationPipe[2] = {-1, -1};

void signalled(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; a full pipe already carries a request.
    [[maybe_unused]] auto written = write(terminationPipe[1], &byte, 1);
}

// A termination signal ends the application on the main thread, as the system's request to quit does.
// The handler resets itself, so a second signal ends a program whose main thread no longer turns.
void terminateOnSignals()
{
    if (pipe(terminationPipe) != 0)
        Foundation::fatalError("Could not make the pipe for termination signals");
    std::thread([] {
        char byte = 0;
        while (read(terminationPipe[0], &byte, 1) < 0) {
        }
        Foundation::DispatchQueue::main()->async([] { UIApplication::shared()->terminate(); });
    }).detach();
    struct sigaction action {};
    action.sa_handler = signalled;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace

void setUIApplicationMainLoop(std::function<void()> loop)
{
    mainLoop() = std::move(loop);
}

int UIApplicationMain(int argc, char** argv, const std::optional<Foundation::String>& principalClassName,
                      const std::optional<Foundation::String>& delegateClassName)
{
    std::vector<Foundation::String> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    Foundation::CommandLine::setArguments(std::move(arguments));

    if (principalClassName && *principalClassName != Foundation::String("UIApplication"))
        Foundation::fatalError("Unable to instantiate the UIApplication subclass instance. No class named "
                               + principalClassName->utf8() + " is loaded.");
    std::shared_ptr<UIApplicationDelegate> delegate;
    if (delegateClassName) {
        auto entry = ClassRegistry::classNamed(delegateClassName->utf8());
        if (!entry || !entry->make)
            Foundation::fatalError("Unable to instantiate the UIApplication delegate instance. No class named "
                                   + delegateClassName->utf8() + " is loaded.");
        delegate = std::dynamic_pointer_cast<UIApplicationDelegate>(entry->make());
        if (!delegate)
            Foundation::fatalError("The class " + delegateClassName->utf8() + " is no application delegate.");
    }

    terminateOnSignals();
    UIApplication::shared()->launch(std::move(delegate));
    Foundation::RunLoop::main()->runUntilIdle();
    log().info("Launched; the main loop is idle");
    if (auto& loop = mainLoop())
        loop();
    else if (!UIApplication::shared()->isTerminating())
        Foundation::RunLoop::main()->run();
    // What the static objects' destructors free, work still in flight may use.
    Foundation::RunLoop::main()->endBackgroundWorkBeforeExit(0);
    return 0;
}

} // namespace UIKit
