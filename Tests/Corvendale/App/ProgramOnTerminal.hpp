#pragma once

#include "Tests/Corvendale/App/ProgramFixture.hpp"

#include "Platform/Terminal/TerminalSession.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace CorvendaleTests {

// The program in this process as a person sees it on a terminal: its scene drawn as text by the
// terminal display, and driven through the same session the display uses for keys, clicks and sizes.
// Assert on what a person reads.
class ProgramOnTerminal : public Program {
protected:
    void TearDown() override;

    // The session of the program's scene on a terminal of that size (made on first use, resized after).
    Terminal::TerminalSession& terminal(std::int64_t columns, std::int64_t rows);
    Terminal::TerminalSession& terminal();
    // The frame after the main loop has settled, as text: one line a row, menu bar on top.
    std::string screen();
    std::string screen(std::int64_t columns, std::int64_t rows);

    // The row of the frame that shows the text first (from the top), or empty.
    static std::string rowShowing(const std::string& screen, const std::string& text);

private:
    std::unique_ptr<Terminal::TerminalSession> m_session;
};

} // namespace CorvendaleTests
