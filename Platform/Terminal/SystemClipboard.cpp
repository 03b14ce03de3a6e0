#include "Platform/Terminal/SystemClipboard.hpp"

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchTime.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace Terminal {
namespace {

SystemClipboard::TerminalWriter& writer()
{
    static auto* connected = new SystemClipboard::TerminalWriter;
    return *connected;
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

bool set(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

// Runs the tool with the text on its standard input. A tool that keeps serving the clipboard on its own
// (wl-copy, xclip) is left to it; one that is done at once is waited for, so that what it does happens
// in the order asked, and answers whether it succeeded.
bool runTool(std::vector<std::string> arguments, const std::string& input, bool wait = false)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const bool started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    if (started) {
        for (std::size_t written = 0; written < input.size();) {
            const auto count = write(pipeEnds[1], input.data() + written, input.size() - written);
            if (count <= 0)
                break;
            written += static_cast<std::size_t>(count);
        }
    }
    close(pipeEnds[1]);
    if (!started)
        return false;
    if (!wait) {
        std::thread([child] { waitpid(child, nullptr, 0); }).detach();
        return true;
    }
    int status = 0;
    Foundation::FileIO::retryingInterruptions([&] { return waitpid(child, &status, 0); });
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The tmux buffer the program keeps its copy in: named after the program, so that it is told from the
// person's own buffers.
std::string tmuxBuffer()
{
    return std::string(program_invocation_short_name) + "-clipboard";
}

// tmux keeps what the terminal's clipboard sequence brings in a buffer of its own and ignores an empty
// one, so a clear by that sequence would leave the text in tmux. Inside tmux the text goes to a named
// buffer instead (-w passes it on to the clipboard of the terminal tmux runs in), and a clear first puts
// a blank in its place out there, then deletes the buffer.
bool deliverToTmux(const std::string& text)
{
    const auto buffer = tmuxBuffer();
    if (!text.empty())
        return runTool({"tmux", "load-buffer", "-w", "-b", buffer, "-"}, text, true);
    runTool({"tmux", "set-buffer", "-w", "-b", buffer, " "}, "", true);
    return runTool({"tmux", "delete-buffer", "-b", buffer}, "", true);
}

void deliver(const std::string& text)
{
    if (set("WAYLAND_DISPLAY") && onPath("wl-copy")) {
        if (text.empty() ? runTool({"wl-copy", "--clear"}, "") : runTool({"wl-copy"}, text))
            return;
    } else if (set("DISPLAY") && onPath("xclip")) {
        if (runTool({"xclip", "-selection", "clipboard"}, text))
            return;
    } else if (set("TMUX") && onPath("tmux")) {
        if (deliverToTmux(text))
            return;
    }
    if (auto& write = writer())
        write(SystemClipboard::escapeSequence(text));
}

std::optional<std::string>& lastDelivered()
{
    static auto* last = new std::optional<std::string>;
    return *last;
}

// On the main thread: what the pasteboard holds now goes out, unless it already did.
void synchronize()
{
    if (!writer())
        return;
    auto pasteboard = UIKit::UIPasteboard::general();
    const std::string text = pasteboard->string().value_or(Foundation::String()).utf8();
    if (lastDelivered() != text) {
        // Nothing to clear on a clipboard this program never wrote.
        if (!(text.empty() && !lastDelivered()))
            deliver(text);
        lastDelivered() = text;
    }
    // Expiring items go without a word: the clipboard is looked at again when they are due.
    if (auto expiry = pasteboard->expirationDate(); expiry && !text.empty())
        Foundation::DispatchQueue::main()->asyncAfter(Foundation::DispatchTime::now() + std::max(0.0, expiry->timeIntervalSinceNow()) + 0.01,
                                                      synchronize);
}

} // namespace

std::string SystemClipboard::escapeSequence(const Foundation::String& text)
{
    // OSC 52 for the clipboard selection; "!" is not base64, which terminals take as "clear".
    const auto payload = text.isEmpty() ? std::string("!") : Foundation::Data::fromString(text.utf8()).base64EncodedString();
    return "\033]52;c;" + payload + "\a";
}

void SystemClipboard::connect(TerminalWriter terminalWriter)
{
    writer() = std::move(terminalWriter);
    static const bool observing = [] {
        Foundation::NotificationCenter::defaultCenter()->addObserver(UIKit::UIPasteboard::changedNotification(), nullptr, nullptr,
                                                                     [](const Foundation::Notification&) {
                                                                         Foundation::DispatchQueue::main()->async(synchronize);
                                                                     });
        return true;
    }();
    (void)observing;
}

} // namespace Terminal
