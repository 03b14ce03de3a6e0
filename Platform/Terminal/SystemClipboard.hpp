#pragma once

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <string>
#include <string_view>

namespace Terminal {

// Carries the general pasteboard to the desktop's clipboard while a display runs: its text is copied
// there, and a pasteboard that is emptied or whose items expire clears it. The desktop's own tools do it
// where they can (wl-copy under Wayland, xclip under X); inside tmux a buffer of the program's own does,
// which tmux passes on to the terminal it runs in and which a clear deletes; elsewhere the terminal's
// clipboard escape sequence does, which terminals pass to the clipboard of the machine the person sits at.
class SystemClipboard {
public:
    using TerminalWriter = std::function<void(std::string_view sequence)>;
    // From now on the pasteboard's changes reach the clipboard; `writer` puts escape sequences on the
    // terminal. A null writer disconnects.
    static void connect(TerminalWriter writer);
    // The sequence that puts the text on the terminal's clipboard; an empty text clears it.
    static std::string escapeSequence(const Foundation::String& text);
};

} // namespace Terminal
