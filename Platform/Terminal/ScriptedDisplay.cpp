#include "Platform/Terminal/ScriptedDisplay.hpp"

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Terminal/TerminalSession.hpp"

#include <chrono>
#include <sstream>
#include <string>
#include <thread>

namespace Terminal {

bool ScriptedDisplay::run(const std::shared_ptr<UIKit::UIWindowScene>& scene, std::istream& script, std::ostream& out,
                          std::int64_t columns, std::int64_t rows)
{
    TerminalSession session(scene, columns, rows);
    auto& loop = *Foundation::RunLoop::main();
    loop.runUntilIdle();
    for (std::string line; std::getline(script, line);) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command.empty() || command.front() == '#')
            continue;
        if (command == "key") {
            std::string name;
            words >> name;
            UIKit::UIKeyModifierFlags modifiers;
            for (std::string modifier; words >> modifier;) {
                if (modifier == "command")
                    modifiers = modifiers | UIKit::UIKeyModifierFlags::command();
                else if (modifier == "shift")
                    modifiers = modifiers | UIKit::UIKeyModifierFlags::shift();
                else if (modifier == "alternate")
                    modifiers = modifiers | UIKit::UIKeyModifierFlags::alternate();
                else if (modifier == "control")
                    modifiers = modifiers | UIKit::UIKeyModifierFlags::control();
            }
            session.press({Foundation::String(name), modifiers});
        } else if (command == "type") {
            std::string text;
            std::getline(words >> std::ws, text);
            for (const auto& character : Foundation::String(text).characters())
                session.press({character.utf8() == " " ? Foundation::String("Space") : Foundation::String(character), {}});
        } else if (command == "click") {
            std::int64_t column = 0;
            std::int64_t row = 0;
            std::string secondary;
            words >> column >> row >> secondary;
            session.click(column, row, secondary == "secondary");
        } else if (command == "resize") {
            std::int64_t newColumns = 0;
            std::int64_t newRows = 0;
            words >> newColumns >> newRows;
            session.resize(newColumns, newRows);
        } else if (command == "wait") {
            std::string text;
            std::getline(words >> std::ws, text);
            // Work on other threads (a sync) ends on the main loop in its own time.
            const auto deadline = std::chrono::steady_clock::now() + waitLimit;
            while (session.frame().text().find(text) == std::string::npos) {
                if (std::chrono::steady_clock::now() > deadline) {
                    out << "Never shown: " << text << '\n' << session.frame().text() << "--\n";
                    return false;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                loop.runUntilIdle();
            }
        } else if (command == "screen") {
            out << session.frame().text() << "--\n";
        } else {
            out << "Unknown command: " << command << '\n';
            return false;
        }
        loop.runUntilIdle();
    }
    return true;
}

} // namespace Terminal
