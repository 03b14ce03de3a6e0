#include "Platform/Terminal/TerminalCapabilities.hpp"

#include <curses.h>
#include <term.h>
#include <unistd.h>

namespace Terminal {

std::optional<std::string> TerminalCapabilities::whyDisplayCannotShow(const char* type)
{
    if (!type || !*type)
        return "TERM is not set, so the program cannot tell how to draw on this terminal.";
    const std::string name(type);
    // Looked up aside, so that a display already running keeps its own description.
    TERMINAL* previous = cur_term;
    int error = 0;
    if (setupterm(name.c_str(), STDOUT_FILENO, &error) != OK)
        return "The terminal type \"" + name + "\" (TERM) is unknown here, so the program cannot draw on it.";
    char moveCapability[] = "cup";
    char hardCopyCapability[] = "hc";
    const char* move = tigetstr(moveCapability);
    const bool canMoveCursor = move && move != reinterpret_cast<const char*>(-1);
    const bool isHardCopy = tigetflag(hardCopyCapability) > 0;
    del_curterm(set_curterm(previous));
    if (!canMoveCursor || isHardCopy)
        return "The terminal type \"" + name + "\" (TERM) cannot move its cursor; the program needs a full-screen terminal.";
    return std::nullopt;
}

} // namespace Terminal
