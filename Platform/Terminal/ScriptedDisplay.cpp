#include "Platform/Terminal/ScriptedDisplay.hpp"

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace Terminal {
namespace {

// The script's lines. A script on standard input comes as its writer sends it: the program runs between
// its lines as it does between a person's keys, so a thread reads them while the main loop turns. That
// thread may still wait for a line when the script ends, so it owns what it fills; standard input lives
// as long as the process.
class ScriptLines {
public:
    explicit ScriptLines(std::istream& script)
        : m_script(script)
    {
        if (&script != &std::cin)
            return;
        m_pending = std::make_shared<Pending>();
        std::thread([pending = m_pending] {
            for (std::string line; std::getline(std::cin, line);) {
                std::lock_guard lock(pending->mutex);
                pending->lines.push_back(std::move(line));
                pending->arrived.notify_one();
            }
            std::lock_guard lock(pending->mutex);
            pending->ended = true;
            pending->arrived.notify_one();
        }).detach();
    }

    // The next line, turning the loop while it has not come; nothing once the script has ended.
    std::optional<std::string> next(Foundation::RunLoop& loop)
    {
        if (!m_pending) {
            std::string line;
            return std::getline(m_script, line) ? std::optional(std::move(line)) : std::nullopt;
        }
        while (true) {
            loop.runUntilIdle();
            std::unique_lock lock(m_pending->mutex);
            m_pending->arrived.wait_for(lock, std::chrono::milliseconds(1), [&] { return !m_pending->lines.empty() || m_pending->ended; });
            if (!m_pending->lines.empty()) {
                auto line = std::move(m_pending->lines.front());
                m_pending->lines.pop_front();
                return line;
            }
            if (m_pending->ended)
                return std::nullopt;
        }
    }

private:
    struct Pending {
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<std::string> lines;
        bool ended = false;
    };
    std::istream& m_script;
    std::shared_ptr<Pending> m_pending;
};

} // namespace

bool ScriptedDisplay::run(const std::shared_ptr<UIKit::UIWindowScene>& scene, std::istream& script, std::ostream& out,
                          std::int64_t columns, std::int64_t rows)
{
    TerminalSession session(scene, columns, rows);
    auto& loop = *Foundation::RunLoop::main();
    loop.runUntilIdle();
    std::chrono::duration<double> limit = waitLimit;
    ScriptLines lines(script);
    while (auto line = lines.next(loop)) {
        std::istringstream words(*line);
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
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(limit);
            while (session.frame().text().find(text) == std::string::npos && !UIKit::UIApplication::shared()->isTerminating()) {
                if (std::chrono::steady_clock::now() > deadline) {
                    out << "Never shown: " << text << '\n' << session.frame().text() << "--\n" << std::flush;
                    return false;
                }
                // Short, so that a timing driver sees the frame within a millisecond of its change.
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                loop.runUntilIdle();
            }
        } else if (command == "limit") {
            double seconds = 0;
            words >> seconds;
            limit = std::chrono::duration<double>(seconds);
        } else if (command == "screen") {
            out << session.frame().text() << "--\n" << std::flush;
        } else {
            out << "Unknown command: " << command << '\n' << std::flush;
            return false;
        }
        loop.runUntilIdle();
        // A quit ends the display, as it ends the terminal's: nothing is left to drive.
        if (UIKit::UIApplication::shared()->isTerminating())
            break;
    }
    return true;
}

} // namespace Terminal
