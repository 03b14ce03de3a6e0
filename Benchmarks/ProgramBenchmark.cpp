// What a person waits for in the running program, measured from outside it: the real executable over an
// on-disk vault of N items, driven through its scripted display as a person types.
//
//   ProgramBenchmark [N...]          (1000 10000 100000 unless told)
//   ProgramBenchmark --make-account FOLDER N | --count HOME      (for the end-to-end tests)
//
// For each N, in fresh processes, each figure the first of its process (no best-of):
// - unlock: Return on the lock screen to the list drawn, the key derivation shown apart;
// - search: the first keystroke in the search field to the list redrawn;
// - sync: a second installation on the same container saves a new item; from its save key to the list of
//   the first redrawn with it;
// - quit: the quit key to the process's end; peak memory: the first installation's, unlocked;
// - a new installation's first sync whole; another quit half way through it and launched again: the quit,
//   and the second launch's wait for the rest (its lock screen shows once it has every item).
// The vaults are made with the program's own stores once and kept under build/program-bench/<N>; each
// measurement runs on a fresh copy.
#include "Corvendale/App/AppDelegate.hpp"
#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Crypto/Cryptor.KeyDerivation.hpp"
#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* const masterPassword = "bench-master-4812";
const char* const words[] = {"Bank", "Mail", "Forum", "Shop", "Cloud", "Router", "Server", "Travel", "Games", "News", "Health", "School"};
// First in the list; the only item with a "q" anywhere, so that the search's first keystroke finds it alone.
const char* const firstTitle = "Aardvark";
const char* const searchedTitle = "Quokka";

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void fail(const std::string& message)
{
    throw std::runtime_error(message);
}

// --- The program, driven through its scripted display ---------------------------------------------------

class Program {
public:
    Program(const fs::path& home, const fs::path& container)
        : m_home(home)
    {
        int input[2];
        int output[2];
        if (pipe(input) != 0 || pipe(output) != 0)
            fail("no pipes");
        fs::create_directories(home);
        m_pid = fork();
        if (m_pid == 0) {
            dup2(input[0], STDIN_FILENO);
            dup2(output[1], STDOUT_FILENO);
            auto log = (home / "program.log").string();
            std::freopen(log.c_str(), "a", stderr);
            close(input[1]);
            close(output[0]);
            std::string homeVariable = "HOME=" + home.string();
            std::string containerVariable = "CORVENDALE_CLOUDKIT_FOLDER=" + container.string();
            std::string path = std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
            char script[] = "CORVENDALE_DISPLAY_SCRIPT=-";
            char* environment[] = {homeVariable.data(), containerVariable.data(), path.data(), script, nullptr};
            char* argv[] = {const_cast<char*>(CORVENDALE_EXECUTABLE), nullptr};
            execve(CORVENDALE_EXECUTABLE, argv, environment);
            _exit(127);
        }
        close(input[0]);
        close(output[1]);
        m_in = input[1];
        m_out = output[0];
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_in >= 0)
            close(m_in);
        close(m_out);
    }

    void send(const std::string& lines)
    {
        auto text = lines + "\n";
        if (write(m_in, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            fail("the program stopped reading its script");
    }

    // The frame as text, once every command sent before has run.
    std::string screen()
    {
        send("screen");
        return nextFrame();
    }

    // Runs the program's loop until the frame shows the text; answers that frame.
    std::string waitFor(const std::string& text, double limitSeconds = 30)
    {
        send("limit " + std::to_string(limitSeconds) + "\nwait " + text + "\nscreen");
        return nextFrame();
    }

    // A click on the first place the frame shows the text: its middle, or `offset` characters into it.
    void click(const std::string& text, std::optional<std::size_t> offset = std::nullopt)
    {
        auto frame = screen();
        std::size_t row = 0;
        for (std::size_t start = 0; start < frame.size(); ++row) {
            auto end = frame.find('\n', start);
            auto line = frame.substr(start, end - start);
            if (auto column = line.find(text); column != std::string::npos) {
                send("click " + std::to_string(columnOf(line, column) + offset.value_or(text.size() / 2)) + " " + std::to_string(row));
                return;
            }
            start = end == std::string::npos ? frame.size() : end + 1;
        }
        fail("nothing shows \"" + text + "\":\n" + frame);
    }

    void unlock()
    {
        waitFor("Is Locked");
        send(std::string("type ") + masterPassword + "\nkey Return");
    }

    struct Ending {
        double seconds = 0;
        double peakMiB = 0;
    };
    // Quits as a person does (the quit key) and waits for the process to end.
    Ending quit()
    {
        auto start = Clock::now();
        send("key q control");
        close(m_in);
        m_in = -1;
        int status = 0;
        rusage usage {};
        if (wait4(m_pid, &status, 0, &usage) != m_pid)
            fail("the program could not be waited for");
        Ending ending {since(start), static_cast<double>(usage.ru_maxrss) / 1024};
        m_pid = -1;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            fail("the program ended with status " + std::to_string(status) + "; its log is " + (m_home / "program.log").string());
        return ending;
    }

private:
    // Frames are UTF-8: a column is a character, not a byte.
    static std::size_t columnOf(const std::string& line, std::size_t byte)
    {
        std::size_t column = 0;
        for (std::size_t i = 0; i < byte; ++i)
            column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        return column;
    }

    std::string nextFrame()
    {
        std::string frame;
        while (true) {
            auto end = m_buffer.find("\n--\n");
            if (m_buffer.rfind("--\n", 0) == 0)
                end = 0;
            if (end != std::string::npos) {
                frame = m_buffer.substr(0, end == 0 ? 0 : end + 1);
                m_buffer.erase(0, end == 0 ? 3 : end + 4);
                break;
            }
            pollfd source {m_out, POLLIN, 0};
            if (poll(&source, 1, 3600 * 1000) <= 0)
                fail("the program showed nothing for an hour");
            char bytes[65536];
            auto count = read(m_out, bytes, sizeof bytes);
            if (count <= 0)
                fail("the program ended:\n" + m_buffer + "\nits log is " + (m_home / "program.log").string());
            m_buffer.append(bytes, static_cast<std::size_t>(count));
        }
        if (frame.rfind("Never shown: ", 0) == 0)
            fail(frame);
        return frame;
    }

    fs::path m_home;
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_buffer;
};

// --- The program's own stores, in a process of their own -------------------------------------------------

// The program's services over a home, unlocked with the master password.
const Corvendale::Dependencies& unlockedServices(const fs::path& home)
{
    ::setenv("HOME", home.c_str(), 1);
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        ::unsetenv(variable);
    // Nobody signed in: these stores never sync; the program does that.
    ::setenv("CORVENDALE_CLOUDKIT_ACCOUNT", "", 1);
    Foundation::Bundle::setMain(Foundation::Bundle::atPath(std::string(CORVENDALE_SOURCE_DIR) + "/Corvendale"));
    Foundation::CommandLine::setArguments({Foundation::String("Corvendale")});
    Corvendale::registerProgramClasses();
    const auto& services = Corvendale::dependencies();
    services.authenticationStore->unlock(Foundation::String(masterPassword));
    auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!services.recordStore->cryptor()->isUnlocked()) {
        if (Clock::now() > deadline)
            fail("the master password did not unlock the vault");
        Foundation::RunLoop::main()->runUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return services;
}

void finish(const Corvendale::Dependencies& services)
{
    services.syncCoordinator->cloudKitRemote()->stop();
    Foundation::RunLoop::main()->runUntilIdle();
}

// Adds the items to the vault of the home, in saves of 5,000.
int fill(const fs::path& home, std::int64_t count)
{
    const auto& services = unlockedServices(home);
    auto& store = *services.recordStore;
    auto vaultID = store.vaultIDForNewEntries();
    auto add = [&](Shared::RecordStore::EditingContext& context, const std::string& title, std::int64_t i) {
        auto id = context.insert(Foundation::UUID().uuidString(), vaultID, i % 5 == 4 ? Shared::Entry::Category::secureNote : Shared::Entry::Category::login,
                                 false);
        using Field = Shared::Entry::SystemField::ID;
        context.setText(Foundation::String(title), Field::title, id);
        context.setText(Foundation::String("user" + std::to_string(i) + "@example.com"), Field::username, id);
        context.setText(Foundation::String("secret-" + std::to_string(i * 7919)), Field::password, id);
        context.setText(Foundation::String("https://" + std::string(words[(i / 12) % 12]) + std::to_string(i) + ".example.com"), Field::website, id);
        context.setText(Foundation::String("Notes about item " + std::to_string(i)), Field::notes, id);
    };
    for (std::int64_t start = 0; start < count; start += 5000) {
        auto context = store.makeEditingContext();
        for (std::int64_t i = start; i < std::min(count, start + 5000); ++i) {
            if (i == 0)
                add(*context, firstTitle, i);
            else if (i == count - 1)
                add(*context, searchedTitle, i);
            else
                add(*context, std::string(words[i % 12]) + " " + std::to_string((i * 7919) % count), i);
        }
        context->save();
    }
    finish(services);
    return 0;
}

// Prints how many items the home's vault holds.
int countItems(const fs::path& home)
{
    const auto& services = unlockedServices(home);
    std::printf("%lld\n", static_cast<long long>(services.recordStore->count(Shared::Entry::Filter::allItems())));
    std::fflush(stdout);
    finish(services);
    return 0;
}

// Runs this program again with the arguments; answers what it printed.
std::string runFresh(std::vector<std::string> arguments)
{
    int output[2];
    if (pipe(output) != 0)
        fail("no pipe");
    std::vector<char*> argv {const_cast<char*>("ProgramBenchmark")};
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char bytes[256];
    for (ssize_t count; (count = read(output[0], bytes, sizeof bytes)) > 0;)
        text.append(bytes, static_cast<std::size_t>(count));
    close(output[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail("ProgramBenchmark " + arguments.front() + " failed");
    return text;
}

std::int64_t itemsIn(const fs::path& home)
{
    return std::stoll(runFresh({"--count", home.string()}));
}

// --- Making the vaults ------------------------------------------------------------------------------------

// Launches, unlocks and waits until the vault's sync has ended with every item of the account, quitting
// and launching again while it has not: a sync of many items outlasts one wait.
void syncFully(const fs::path& home, const fs::path& container, std::int64_t items)
{
    // Pushing or fetching a million items takes longer than ten minutes.
    const double limit = 600 + static_cast<double>(items) / 500;
    for (int launch = 0; launch < 20; ++launch) {
        {
            Program program(home, container);
            program.unlock();
            program.waitFor(firstTitle, limit);
            program.waitFor("Synced", limit);
            program.quit();
        }
        if (itemsIn(home) == items)
            return;
    }
    fail("the vault at " + home.string() + " never held every item");
}

// An account of the items: the first installation made its master password and pushed them all.
void makeAccount(const fs::path& folder, std::int64_t count)
{
    fs::remove_all(folder);
    const auto container = folder / "container";
    {
        Program first(folder / "first", container);
        first.waitFor("Create Master Password");
        first.send(std::string("type ") + masterPassword + "\nkey Tab\ntype " + masterPassword + "\nkey Return");
        for (const char* step : {"AutoFill", "Automatic Backups", "Sync"}) {
            first.waitFor(step);
            first.click("Continue");
        }
        first.waitFor("No Items");
        first.quit();
    }
    runFresh({"--fill", (folder / "first").string(), std::to_string(count)});
    syncFully(folder / "first", container, count);
}

void make(const fs::path& folder, std::int64_t count)
{
    std::printf("making a vault of %lld items under %s\n", static_cast<long long>(count), folder.c_str());
    std::fflush(stdout);
    makeAccount(folder, count);
    // The second installation fetches every item. The first then fetches its own pushes back once, which
    // a person meets once after a large import: the figures are of a vault at rest.
    syncFully(folder / "second", folder / "container", count);
    syncFully(folder / "first", folder / "container", count);
    for (const char* name : {"made", "settled"})
        if (std::FILE* stamp = std::fopen((folder / name).c_str(), "w"))
            std::fclose(stamp);
}

// --- Measuring ----------------------------------------------------------------------------------------------

void copyFresh(const fs::path& from, const fs::path& to)
{
    fs::remove_all(to);
    fs::create_directories(to);
    for (const char* part : {"first", "second", "container"})
        fs::copy(from / part, to / part, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

void measure(const fs::path& folder, std::int64_t count, double keyDerivation)
{
    const auto run = folder.parent_path() / ("run-" + std::to_string(count));
    copyFresh(folder, run);
    const auto container = run / "container";

    Program first(run / "first", container);
    first.waitFor("Is Locked");
    first.send(std::string("type ") + masterPassword);
    first.screen();
    auto start = Clock::now();
    first.send("key Return");
    first.waitFor(firstTitle, 120);
    const double unlock = since(start);

    first.send("key f command");
    first.screen();
    start = Clock::now();
    first.send("type q");
    first.waitFor(searchedTitle, 120);
    const double search = since(start);
    first.send("key Escape");
    first.waitFor(firstTitle, 120);

    Program second(run / "second", container);
    second.unlock();
    second.waitFor(firstTitle, 120);
    const std::string changed = "Aaa synced change";
    second.send("key n command");
    // The new item's title field, once its editor shows.
    second.waitFor("Title Title");
    second.click("Title Title", 8);
    second.send("type " + changed);
    if (second.screen().find("Title " + changed) == std::string::npos)
        fail("the new item's title was not typed");
    // The first waits for the change while the second saves it.
    first.send("limit 120\nwait " + changed + "\nscreen");
    start = Clock::now();
    second.send("key s command");
    second.screen();
    // The frame the wait ends with.
    first.screen();
    const double sync = since(start);
    second.quit();
    auto ending = first.quit();

    // A new installation's first sync (its lock screen waits for it) uncut; then another cut short by a quit
    // half way through, and resumed at the next launch.
    double wholeSync = 0;
    {
        Program fourth(run / "fourth", container);
        start = Clock::now();
        fourth.waitFor("Is Locked", 600);
        wholeSync = since(start);
        fourth.quit();
    }
    double quitDuringSync = 0;
    bool wasSyncing = false;
    double resumedSync = 0;
    {
        Program third(run / "third", container);
        std::this_thread::sleep_for(std::chrono::duration<double>(wholeSync / 2));
        wasSyncing = third.screen().find("Is Locked") == std::string::npos;
        quitDuringSync = third.quit().seconds;
    }
    {
        Program third(run / "third", container);
        start = Clock::now();
        third.waitFor("Is Locked", 600);
        resumedSync = since(start);
        third.send(std::string("type ") + masterPassword + "\nkey Return");
        third.waitFor(firstTitle, 600);
        third.quit();
    }
    const auto resumedItems = itemsIn(run / "third");

    auto ms = [](double seconds) { return seconds * 1000; };
    std::printf("%8lld items: unlock to list %7.0f ms (key derivation %4.0f ms, the rest %6.0f ms); search keystroke %6.1f ms; "
                "sync of one change %6.0f ms; quit %5.0f ms; peak memory %6.1f MiB\n",
                static_cast<long long>(count), ms(unlock), ms(keyDerivation), ms(unlock - keyDerivation), ms(search), ms(sync), ms(ending.seconds),
                ending.peakMiB);
    std::printf("%8s        a new installation's first sync takes %.0f ms to its lock screen; one quit half way (%s): the quit %5.0f ms; "
                "its next launch to its lock screen "
                "%7.0f ms (%lld of %lld items)\n",
                "", ms(wholeSync), wasSyncing ? "while its first sync ran" : "its first sync had ended", ms(quitDuringSync), ms(resumedSync),
                static_cast<long long>(resumedItems), static_cast<long long>(count + 1));
    std::fflush(stdout);
    fs::remove_all(run);
}

// The program's key derivation with the parameters a new master password gets, the first in its process.
double keyDerivationSeconds()
{
    return std::stod(runFresh({"--derive"}));
}

int derive()
{
    auto start = Clock::now();
    auto key = Shared::Cryptor::deriveKey(Foundation::String(masterPassword), Shared::Cryptor::KeyDerivation::makeDefault());
    std::printf("%f\n", since(start));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 4 && std::string(argv[1]) == "--fill")
            return fill(argv[2], std::stoll(argv[3]));
        if (argc == 3 && std::string(argv[1]) == "--count")
            return countItems(argv[2]);
        // For the end-to-end tests: an account of N items in the folder (its installation "first", its
        // container "container"), and the count of a home's items.
        if (argc == 4 && std::string(argv[1]) == "--make-account") {
            makeAccount(fs::absolute(argv[2]), std::stoll(argv[3]));
            return 0;
        }
        if (argc == 2 && std::string(argv[1]) == "--derive")
            return derive();
        std::vector<std::int64_t> counts;
        for (int i = 1; i < argc; ++i)
            counts.push_back(std::stoll(argv[i]));
        if (counts.empty())
            counts = {1000, 10000, 100000};
        const fs::path base = fs::path(CORVENDALE_SOURCE_DIR) / "build" / "program-bench";
        const double keyDerivation = keyDerivationSeconds();
        for (auto count : counts) {
            const auto folder = base / std::to_string(count);
            if (!fs::exists(folder / "made"))
                make(folder, count);
            else if (!fs::exists(folder / "settled")) {
                // Made before the first installation fetched its own pushes back.
                syncFully(folder / "first", folder / "container", count);
                if (std::FILE* stamp = std::fopen((folder / "settled").c_str(), "w"))
                    std::fclose(stamp);
            }
            measure(folder, count, keyDerivation);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ProgramBenchmark: %s\n", error.what());
        return 1;
    }
}
