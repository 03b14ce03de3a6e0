#pragma once

#include <memory>

namespace UIKit {
class UIWindowScene;
}

namespace Terminal {

// The platform's display: the application's scene, full screen on the terminal the program runs in
// (ncurses), until the main run loop stops. Each time the loop has run what was due it draws the frame,
// if anything changed; keys, clicks and the terminal's new sizes go to a `TerminalSession`. The clock is
// the real one. The terminal gets back its modes and cursor when the display ends, when a termination
// signal ends the program (it stops the main loop when nobody else handles those signals) and when the
// program crashes. While it shows, standard error goes to `logFileName` in the program's caches folder.
class TerminalDisplay {
public:
    static constexpr const char* logFileName = "display.log";

    // Runs the scene (none: the application's first connected scene) and answers true once the main run
    // loop stopped; false, doing nothing, when standard input or output is no terminal. With
    // CORVENDALE_DISPLAY_SCRIPT naming a file ("-": standard input), the script drives the scene instead
    // (`ScriptedDisplay`, frames on standard output), terminal or not, and the answer is true once it
    // ended, got through or not.
    static bool run(std::shared_ptr<UIKit::UIWindowScene> scene = nullptr);
    // Makes the display the main loop `UIApplicationMain` turns once the application has launched, so a
    // program shows on the terminal by calling this before it. Without a terminal the plain run loop
    // turns instead.
    // A terminal that cannot show the program (TERM=dumb, unset or unknown, no cursor addressing) stops
    // it here, before it launches, with one line on standard error and a failure status.
    static void install();

};

} // namespace Terminal
