#pragma once

#include <chrono>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

namespace UIKit {
class UIWindowScene;
}

namespace Terminal {

// The display driven by a script instead of a person: one command a line, read until the script ends,
// with the main loop run until idle after each. A script on standard input comes as its writer sends it,
// and the main loop keeps turning while its next line has not come, as it does between a person's keys.
//
//     key <name> [command] [shift] [alternate] [control]   a key, as `TerminalSession::press` takes it
//     type <text>                                           each character of the rest of the line
//     click <column> <row> [secondary]
//     resize <columns> <rows>
//     screen                                                the frame as text, then a line "--"
//     wait <text>                                           runs the main loop until the frame shows the text
//     limit <seconds>                                       how long the waits after it may last
//
// A wait that lasts longer than its limit (`waitLimit` until a script sets one) reports the text and the frame on `out` and stops the script
// (answering false).
// The script ends early once the application terminates (a quit command or key).
// Blank lines and lines starting with "#" are skipped; a command it does not know is reported on `out`
// and stops the script (answering false).
class ScriptedDisplay {
public:
    static constexpr std::chrono::seconds waitLimit {10};

    static bool run(const std::shared_ptr<UIKit::UIWindowScene>& scene, std::istream& script, std::ostream& out,
                    std::int64_t columns = 100, std::int64_t rows = 30);
};

} // namespace Terminal
