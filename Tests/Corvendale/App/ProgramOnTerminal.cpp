#include "Tests/Corvendale/App/ProgramOnTerminal.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace CorvendaleTests {

void ProgramOnTerminal::TearDown()
{
    m_session.reset();
    Program::TearDown();
}

Terminal::TerminalSession& ProgramOnTerminal::terminal(std::int64_t columns, std::int64_t rows)
{
    if (!m_session) {
        auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
        m_session = std::make_unique<Terminal::TerminalSession>(scene, columns, rows);
    } else {
        m_session->resize(columns, rows);
    }
    TestSupport::runMainLoopUntilIdle();
    return *m_session;
}

Terminal::TerminalSession& ProgramOnTerminal::terminal()
{
    return m_session ? *m_session : terminal(100, 30);
}

std::string ProgramOnTerminal::screen()
{
    auto& session = terminal();
    settle();
    return session.frame().text();
}

std::string ProgramOnTerminal::screen(std::int64_t columns, std::int64_t rows)
{
    terminal(columns, rows);
    return screen();
}

std::string ProgramOnTerminal::rowShowing(const std::string& screen, const std::string& text)
{
    std::istringstream lines(screen);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(text) != std::string::npos)
            return line;
    }
    return {};
}

} // namespace CorvendaleTests
