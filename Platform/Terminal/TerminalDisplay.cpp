#include "Platform/Terminal/TerminalDisplay.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/Terminal/ColorPalette.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Terminal/ScriptedDisplay.hpp"
#include "Platform/Terminal/SystemClipboard.hpp"
#include "Platform/Terminal/TerminalCapabilities.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationMain.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace Terminal {
namespace {

// The terminal as it was before the display took it, and the wake-up pipe of the input thread: all a
// signal handler may touch.
struct termios savedModes;
bool hasSavedModes = false;
int wakePipe[2] = {-1, -1};
// Standard error as it was, while the log file stands in for it.
int savedStandardError = -1;
std::atomic<bool> displayRunning {false};

// What undoes the display's modes on any terminal: mouse reports off, cursor shown, main screen back.
constexpr char restoreSequence[] = "\033[?1000l\033[?1002l\033[?1006l\033[?25h\033[0m\033[?1049l\r\n";

void restoreTerminalFromSignal()
{
    if (!displayRunning.exchange(false))
        return;
    [[maybe_unused]] auto written = write(STDOUT_FILENO, restoreSequence, sizeof restoreSequence - 1);
    if (savedStandardError >= 0)
        dup2(savedStandardError, STDERR_FILENO);
    if (hasSavedModes)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedModes);
}

// A crash leaves a usable terminal behind, then goes on as it would have (a core, the exit status).
void crashed(int signal)
{
    restoreTerminalFromSignal();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void wake(char reason)
{
    [[maybe_unused]] auto written = write(wakePipe[1], &reason, 1);
}

void resized(int)
{
    wake('r');
}

void terminationRequested(int)
{
    wake('t');
}

bool handledByDefault(int signal)
{
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

void handle(int signal, void (*handler)(int), int flags)
{
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

class Display {
public:
    Display(std::shared_ptr<UIKit::UIWindowScene> scene, ColorPalette palette)
        : m_session(std::move(scene), COLS, LINES)
        , m_palette(palette)
    {
    }

    // Everything the terminal has sent, on the main thread.
    void readInput()
    {
        wint_t code = 0;
        bool afterEscape = false;
        for (int kind = get_wch(&code); kind != ERR; kind = get_wch(&code)) {
            const bool isKeyCode = kind == KEY_CODE_YES;
            if (isKeyCode && code == KEY_RESIZE) {
                resize();
                continue;
            }
            if (isKeyCode && code == KEY_MOUSE) {
                mouse();
                continue;
            }
            // Escape and a key at once is that key with Alt; Escape alone is Escape.
            if (!isKeyCode && code == 27 && !afterEscape) {
                afterEscape = true;
                continue;
            }
            deliver(code, isKeyCode, afterEscape);
            afterEscape = false;
        }
        if (afterEscape)
            deliver(27, false, false);
    }

    void resize()
    {
        struct winsize size {};
        if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)
            resize_term(size.ws_row, size.ws_col);
        m_session.resize(COLS, LINES);
        m_shown.reset();
        clearok(stdscr, TRUE);
    }

    // Shows the frame when it differs from the one on the terminal.
    void draw()
    {
        auto frame = m_session.frame();
        if (m_shown && *m_shown == frame)
            return;
        for (std::int64_t row = 0; row < frame.rows(); ++row)
            for (std::int64_t column = 0; column < frame.columns(); ++column) {
                const auto& cell = frame.at(column, row);
                if (cell.text.empty() || (m_shown && m_shown->columns() == frame.columns() && m_shown->rows() == frame.rows()
                                          && m_shown->at(column, row) == cell))
                    continue;
                attr_t attributes = A_NORMAL;
                if (contains(cell.style, CellStyle::bold))
                    attributes |= A_BOLD;
                if (contains(cell.style, CellStyle::dim))
                    attributes |= A_DIM;
                if (contains(cell.style, CellStyle::reverse))
                    attributes |= A_REVERSE;
                if (contains(cell.style, CellStyle::underline))
                    attributes |= A_UNDERLINE;
                int pair = colorPair(cell);
                attr_set(attributes, static_cast<short>(pair), &pair);
                mvaddstr(static_cast<int>(row), static_cast<int>(column), cell.text.c_str());
            }
        attrset(A_NORMAL);
        if (const auto& cursor = frame.cursor()) {
            curs_set(1);
            move(static_cast<int>(cursor->second), static_cast<int>(cursor->first));
        } else {
            curs_set(0);
        }
        refresh();
        m_shown = std::move(frame);
    }

private:
    // The colour pair of the cell's colours, made when first needed (the library recycles the least used
    // when it runs out); 0, the terminal's own colours, for a cell without any or where none can be had.
    int colorPair(const Canvas::Cell& cell) const
    {
        if (!m_palette.hasColors() || (!cell.foreground && !cell.background))
            return 0;
        const int foreground = cell.foreground ? m_palette.index(*cell.foreground) : ColorPalette::defaultColor;
        const int background = cell.background ? m_palette.index(*cell.background) : ColorPalette::defaultColor;
        return std::max(alloc_pair(foreground, background), 0);
    }

    void deliver(wint_t code, bool isKeyCode, bool afterEscape)
    {
        if (auto key = Keyboard::translate(static_cast<std::uint32_t>(code), isKeyCode, afterEscape))
            m_session.press(*key);
    }

    void mouse()
    {
        MEVENT event {};
        if (getmouse(&event) != OK)
            return;
        if (event.bstate & (BUTTON1_CLICKED | BUTTON1_RELEASED))
            m_session.click(event.x, event.y);
        else if (event.bstate & (BUTTON3_CLICKED | BUTTON3_RELEASED))
            m_session.click(event.x, event.y, true);
    }

    TerminalSession m_session;
    ColorPalette m_palette;
    std::optional<Canvas> m_shown;
};

Display* activeDisplay = nullptr;

std::shared_ptr<UIKit::UIWindowScene> applicationScene()
{
    for (const auto& scene : UIKit::UIApplication::shared()->connectedScenes())
        if (!scene->windows().empty())
            return scene;
    return nullptr;
}

// What the program writes to standard error would land in the middle of the picture, scroll it and leave
// ncurses drawing on rows that moved: while the display shows, it goes to a log file in the program's
// caches folder instead.
void divertStandardError()
{
    if (!isatty(STDERR_FILENO))
        return;
    int log = -1;
    try {
        using Foundation::FileManager;
        const auto folder = FileManager::defaultManager()->url(FileManager::SearchPathDirectory::cachesDirectory,
                                                               FileManager::SearchPathDomainMask::userDomainMask, std::nullopt, true);
        const auto path = folder.appendingPathComponent(Foundation::String(TerminalDisplay::logFileName)).path().utf8();
        log = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    } catch (const std::exception&) {
        // No caches folder: the messages are dropped rather than drawn over the picture.
    }
    if (log < 0)
        log = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (log < 0)
        return;
    savedStandardError = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (savedStandardError >= 0)
        dup2(log, STDERR_FILENO);
    close(log);
}

void restoreStandardError()
{
    if (savedStandardError < 0)
        return;
    std::fflush(stderr);
    dup2(savedStandardError, STDERR_FILENO);
    close(savedStandardError);
    savedStandardError = -1;
}

// The display draws lines, bullets and marks: a locale whose characters are not UTF-8 (none set at all,
// often) gets UTF-8 characters, as the terminal most likely has.
void useUnicodeCharacters()
{
    std::setlocale(LC_ALL, "");
    if (std::string_view(nl_langinfo(CODESET)) != "UTF-8")
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// A script ends the program when it ends, whether or not it got through: what it showed is on
// standard output. False when no script is asked for.
bool runScriptIfAsked(const std::shared_ptr<UIKit::UIWindowScene>& scene)
{
    const char* script = std::getenv("CORVENDALE_DISPLAY_SCRIPT");
    if (!script || !*script || !scene)
        return false;
    if (std::string_view(script) == "-") {
        ScriptedDisplay::run(scene, std::cin, std::cout);
        return true;
    }
    std::ifstream file(script);
    if (!file)
        std::cout << "No script at " << script << '\n';
    else
        ScriptedDisplay::run(scene, file, std::cout);
    return true;
}

// Keys, the mouse and resizing, as the display reads them.
void setUpInput()
{
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    // Keys that many terminal descriptions leave out: Shift-F10 as xterm sends it (tmux too, whatever
    // terminal it describes) and the Menu key.
    define_key("\033[21;2~", KEY_F(22));
    define_key("\033[29~", static_cast<int>(Keyboard::menuKeyCode));
    nodelay(stdscr, TRUE);
    // Presses are asked for too: some terminals report a release only after its press.
    mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON1_RELEASED | BUTTON3_PRESSED | BUTTON3_CLICKED | BUTTON3_RELEASED, nullptr);
    mouseinterval(0);
    handle(SIGWINCH, resized, SA_RESTART);
}

} // namespace

bool TerminalDisplay::run(std::shared_ptr<UIKit::UIWindowScene> scene)
{
    if (!scene)
        scene = applicationScene();
    if (runScriptIfAsked(scene))
        return true;
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
        return false;
    if (!scene || pipe(wakePipe) != 0)
        return false;

    // The program's own termination handling (UIApplicationMain's) stays; without one, a signal stops
    // the main loop like a quit. Asked before the terminal library puts its own handlers in.
    std::vector<int> terminationSignals;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        if (handledByDefault(signal))
            terminationSignals.push_back(signal);

    useUnicodeCharacters();
    hasSavedModes = tcgetattr(STDIN_FILENO, &savedModes) == 0;
    // Escape alone is told from the start of a sequence by a pause: 25 ms, unless the person set the
    // terminal library's ESCDELAY (a slow link, or keys that arrive a byte at a time).
    if (const char* delay = std::getenv("ESCDELAY"); !delay || !*delay)
        set_escdelay(25);
    // A terminal that cannot show the picture leaves everything as it was.
    const auto unusable = TerminalCapabilities::whyDisplayCannotShow(std::getenv("TERM"));
    SCREEN* terminal = unusable ? nullptr : newterm(nullptr, stdout, stdin);
    if (!terminal) {
        std::cerr << unusable.value_or("The terminal cannot be set up to show the program.") << '\n';
        close(wakePipe[0]);
        close(wakePipe[1]);
        return false;
    }
    divertStandardError();
    displayRunning = true;
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        handle(signal, crashed, SA_RESETHAND);
    for (int signal : terminationSignals)
        handle(signal, terminationRequested, SA_RESTART);

    setUpInput();

    // Colours where the terminal has them and the person did not turn them off (NO_COLOR); cells without
    // a colour keep the terminal's own.
    const char* noColor = std::getenv("NO_COLOR");
    const bool colors = has_colors() && !(noColor && *noColor) && start_color() == OK && use_default_colors() == OK;
    Display display(std::move(scene), ColorPalette(colors ? COLORS : 0));
    activeDisplay = &display;
    SystemClipboard::connect([](std::string_view sequence) {
        if (activeDisplay) {
            [[maybe_unused]] auto written = write(STDOUT_FILENO, sequence.data(), sequence.size());
        }
    });

    // A thread waits for input and hands it to the main loop, then waits until the main thread read it.
    std::mutex mutex;
    std::condition_variable consumed;
    bool pending = false;
    std::atomic<bool> stopping {false};
    std::thread reader([&] {
        pollfd sources[2] = {{STDIN_FILENO, POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
        while (!stopping) {
            if (poll(sources, 2, -1) <= 0)
                continue;
            char reason = 0;
            if (sources[1].revents & POLLIN) {
                if (read(wakePipe[0], &reason, 1) == 1 && reason == 'q')
                    return;
            }
            if (reason == 't') {
                Foundation::DispatchQueue::main()->async([] { Foundation::RunLoop::main()->stop(); });
                continue;
            }
            if (reason == 'r')
                Foundation::DispatchQueue::main()->async([] {
                    if (activeDisplay)
                        activeDisplay->resize();
                });
            if (!(sources[0].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (sources[0].revents & (POLLHUP | POLLERR)) {
                // The terminal went away: nobody is left to use the program.
                Foundation::DispatchQueue::main()->async([] { Foundation::RunLoop::main()->stop(); });
                return;
            }
            std::unique_lock lock(mutex);
            pending = true;
            Foundation::DispatchQueue::main()->async([&] {
                if (activeDisplay)
                    activeDisplay->readInput();
                std::lock_guard done(mutex);
                pending = false;
                consumed.notify_one();
            });
            consumed.wait(lock, [&] { return !pending || stopping; });
        }
    });

    static const bool observing = [] {
        Foundation::RunLoop::main()->addBeforeWaitingObserver([] {
            if (activeDisplay)
                activeDisplay->draw();
        });
        return true;
    }();
    (void)observing;

    display.draw();
    Foundation::RunLoop::main()->run();

    activeDisplay = nullptr;
    SystemClipboard::connect(nullptr);
    {
        std::lock_guard lock(mutex);
        stopping = true;
        consumed.notify_one();
    }
    wake('q');
    reader.join();
    // What the reader handed over and the main loop did not run still refers to it.
    Foundation::RunLoop::main()->runUntilIdle();
    // The pipe the handlers write to goes away.
    handle(SIGWINCH, SIG_DFL, 0);
    for (int signal : terminationSignals)
        handle(signal, SIG_DFL, 0);
    endwin();
    delscreen(terminal);
    displayRunning = false;
    restoreStandardError();
    if (hasSavedModes)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedModes);
    close(wakePipe[0]);
    close(wakePipe[1]);
    return true;
}

void TerminalDisplay::install()
{
    const char* script = std::getenv("CORVENDALE_DISPLAY_SCRIPT");
    const bool scripted = script && *script;
    if (!scripted && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO))
        if (auto reason = TerminalCapabilities::whyDisplayCannotShow(std::getenv("TERM"))) {
            std::cerr << *reason << '\n';
            std::exit(EXIT_FAILURE);
        }
    UIKit::setUIApplicationMainLoop([] {
        if (UIKit::UIApplication::shared()->isTerminating())
            return;
        if (!run())
            Foundation::RunLoop::main()->run();
    });
}

} // namespace Terminal
