// Cold start of the main program: from the process's start (exec) to its first idle main loop, with the
// lock screen up, over an in-memory vault in a fresh home. Each run is a new process of this program, which
// runs the program's code (`--child`) and reports through a pipe when the loop is first idle.
#include "Corvendale/App/AppDelegate.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationMain.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 20;
constexpr double aimMilliseconds = 100;

int child(int reportFd)
{
    Foundation::Bundle::setMain(Foundation::Bundle::atPath(std::string(CORVENDALE_SOURCE_DIR) + "/Corvendale"));
    Corvendale::registerProgramClasses();
    UIKit::setUIApplicationMainLoop([reportFd] {
        const char byte = 1;
        [[maybe_unused]] auto written = write(reportFd, &byte, 1);
        UIKit::UIApplication::shared()->terminate();
    });
    char name[] = "Corvendale";
    char recordStore[] = "--record-store";
    char inMemory[] = "in-memory";
    char attachments[] = "--attachment-data-store";
    char temporary[] = "temporary";
    char* argv[] = {name, recordStore, inMemory, attachments, temporary, nullptr};
    UIKit::UIApplicationMain(5, argv, std::nullopt, Foundation::String(Corvendale::AppDelegate::className));
    std::_Exit(0);
}

// Milliseconds from exec to the child's report.
double measure(const char* self, const std::string& home)
{
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
        setenv("CORVENDALE_CLOUDKIT_FOLDER", (home + "/cloudkit").c_str(), 1);
        std::string fd = std::to_string(fds[1]);
        execl(self, self, "--child", fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char byte = 0;
    bool reported = read(fds[0], &byte, 1) == 1;
    auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!reported) {
        std::fprintf(stderr, "the program did not reach its main loop (status %d)\n", status);
        std::exit(1);
    }
    return elapsed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--child")
        return child(std::atoi(argv[2]));
    char folder[] = "/tmp/corvendale-cold-start-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
        times.push_back(measure("/proc/self/exe", folder));
    std::sort(times.begin(), times.end());
    std::printf("Cold start to the lock screen's first idle main loop: median %.1f ms, best %.1f ms, worst %.1f ms over %d runs "
                "(aim: under %.0f ms)\n",
                times[times.size() / 2], times.front(), times.back(), runs, aimMilliseconds);
    std::system((std::string("rm -rf ") + folder).c_str());
    return 0;
}
