#pragma once

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <optional>

namespace UIKit {

// UIApplicationMain(_:_:_:_:): the program's entry into its main loop. Takes the process's arguments,
// makes the delegate of the class registered under `delegateClassName` in the `ClassRegistry`,
// launches the application and turns the main loop until the application terminates (SIGTERM, SIGINT
// and SIGHUP terminate it as the system would), then returns 0. Only the platform's own application
// class exists: another principal class name stops the program, as does an unknown delegate class.
int UIApplicationMain(int argc, char** argv, const std::optional<Foundation::String>& principalClassName,
                      const std::optional<Foundation::String>& delegateClassName);

// What turns the main loop once the application has launched: a display that shows the windows and
// takes input installs itself before the program calls UIApplicationMain, and returns once the run
// loop is stopped (the application terminated). Without one the plain run loop turns.
void setUIApplicationMainLoop(std::function<void()> mainLoop);

} // namespace UIKit
