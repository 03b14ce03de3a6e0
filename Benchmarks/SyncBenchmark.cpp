// Times the sync engine between two installations of one container, each in a process of its own as on
// two machines: the first sync of 10,000 items to an empty installation, and an incremental sync of 10
// changes against 10,000. A small timing program (release preset): it runs itself as the other
// installation.
#include "Tests/Shared/Syncwright/Installation.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using SyncwrightTests::Installation;

constexpr int itemCount = 10000;
constexpr int changeCount = 10;

// The other installation: adds the items, or changes some of them, and syncs.
int runOtherInstallation(const std::filesystem::path& folder, const std::string& mode)
{
    std::filesystem::create_directories(folder);
    Installation installation(folder);
    if (mode == "--add") {
        installation.edit([](auto& context) {
            for (int index = 0; index < itemCount; ++index)
                SyncwrightTests::insertNote(context, Foundation::String("item-" + std::to_string(index)),
                                            Foundation::String("The text of item " + std::to_string(index) + ", as long as a short note."));
        });
    } else {
        installation.edit([](auto& context) {
            for (int index = 0; index < changeCount; ++index)
                SyncwrightTests::Note::find(CloudKit::CKRecordID(Foundation::String("item-" + std::to_string(index * 997))), context)
                    ->setText("Changed");
        });
    }
    return installation.sync().isSuccess() ? 0 : 1;
}

bool runItself(const std::filesystem::path& folder, const char* mode)
{
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::string folderArgument = folder.string();
    std::vector<char*> arguments {self.data(), const_cast<char*>(mode), folderArgument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, arguments.data(), environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double timedSync(Installation& installation, bool& ok)
{
    auto start = Clock::now();
    ok = installation.sync().isSuccess();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3)
        return runOtherInstallation(argv[2], argv[1]);

    char scratch[] = "/tmp/SyncBenchmark.XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    std::filesystem::path root(scratch);
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        ::setenv(variable, root.c_str(), 1);
    ::setenv("CORVENDALE_CLOUDKIT_FOLDER", (root / "containers").c_str(), 1);
    // Each installation is a device of its own.
    ::setenv("XDG_STATE_HOME", (root / "state-other").c_str(), 1);
    bool ok = runItself(root / "other", "--add");
    ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);

    std::filesystem::create_directories(root / "measured");
    double first = 0;
    double incremental = 0;
    {
        Installation installation(root / "measured");
        bool synced = false;
        first = timedSync(installation, synced);
        ok = ok && synced && installation.notes().size() == itemCount;

        ::setenv("XDG_STATE_HOME", (root / "state-other").c_str(), 1);
        ok = ok && runItself(root / "other", "--change");
        ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
        incremental = timedSync(installation, synced);
        auto notes = installation.notes();
        ok = ok && synced && notes["item-0"] == "Changed" && notes["item-8973"] == "Changed";
    }
    std::filesystem::remove_all(root);

    std::printf("first sync of %d items to an empty installation: %8.1f ms (aim: under 2000 ms)\n", itemCount, first);
    std::printf("incremental sync of %d changes against %d:        %8.1f ms (aim: under 50 ms)\n", changeCount, itemCount, incremental);
    if (!ok)
        std::printf("the syncs did not bring the items across\n");
    return ok ? 0 : 1;
}
