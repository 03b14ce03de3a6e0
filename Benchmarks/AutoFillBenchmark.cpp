// The AutoFill extension over a vault of 10,000 items: from the request's start (exec of the service's
// process) to the unlock screen's first idle main loop, and from the master password to the list of the
// site's items, less the key derivation that the unlock cannot go without. Each run is a new process of
// this program, which runs the AutoFill service's code (`--child`) and reports through a pipe.
#include "Sorrelgate/CredentialProviderVC.hpp"
#include "Sorrelgate/Dependencies.hpp"
#include "Sorrelgate/EntriesC.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Screens/EntriesVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/AuthenticationServices/AutoFillService.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

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
constexpr int itemCount = 10'000;
constexpr int siteItemEvery = 200;
constexpr const char* masterPassword = "correct horse battery";
constexpr double startAim = 100;
constexpr double unlockAim = 50;

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The vault the main program left: the items, and the lock.
int setUp()
{
    AuthenticationServices::AutoFillService::openExtension(SORRELGATE_BUNDLE);
    const auto& services = Sorrelgate::Dependencies::shared();
    services.preferenceStore->setDidCompleteAutoFillOnboarding(true);
    services.preferenceStore->setDidCompleteBackupOnboarding(true);
    services.preferenceStore->setDidCompleteSyncOnboarding(true);
    services.authenticationStore->createMasterPassword(masterPassword);
    services.authenticationStore->finishCreatingMasterPassword();
    std::vector<Shared::Entry> entries;
    for (int i = 0; i < itemCount; ++i) {
        auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
        entry.id = Foundation::UUID().uuidString();
        entry.title = Foundation::String("Item " + std::to_string(i));
        entry.username = Foundation::String("user" + std::to_string(i));
        entry.password = Foundation::String("password-" + std::to_string(i));
        entry.website = Foundation::String(i % siteItemEvery == 0 ? "forum.example" : "site" + std::to_string(i) + ".example");
        entries.push_back(std::move(entry));
    }
    services.recordStore->insertEntries(entries, {});
    services.authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, false, "benchmark");
    std::_Exit(0);
}

// One request: a byte once the unlock screen's main loop is first idle, then the unlock and list time
// less the key derivation, in microseconds as text.
int child(int reportFd)
{
    AuthenticationServices::AutoFillRequest request;
    request.extensionPath = SORRELGATE_BUNDLE;
    request.serviceIdentifiers.push_back(AuthenticationServices::AutoFillRequest::serviceIdentifier("https://forum.example/login"));
    AuthenticationServices::AutoFillService service(request);
    auto scene = Foundation::make<UIKit::UIWindowScene>();
    service.start(scene, nullptr);
    Foundation::RunLoop::main()->runUntilIdle();
    const char byte = 1;
    [[maybe_unused]] auto written = write(reportFd, &byte, 1);

    const auto& services = Sorrelgate::Dependencies::shared();
    auto derivationStart = Clock::now();
    Shared::Cryptor::deriveKey(masterPassword, Shared::Cryptor::KeyDerivation::makeDefault());
    auto derivation = Clock::now() - derivationStart;

    std::shared_ptr<Sorrelgate::EntriesC> list;
    for (const auto& each : service.provider()->children())
        if (auto found = std::dynamic_pointer_cast<Sorrelgate::EntriesC>(each))
            list = found;
    auto start = Clock::now();
    services.authenticationStore->unlock(masterPassword);
    do
        Foundation::RunLoop::main()->runUntilIdle();
    while (list->entriesVC()->shownEntryIDs().size() != itemCount / siteItemEvery && Clock::now() - start < std::chrono::seconds(30));
    auto unlockAndList = Clock::now() - start - derivation;
    auto text = std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(unlockAndList).count());
    [[maybe_unused]] auto sent = write(reportFd, text.data(), text.size());
    std::_Exit(0);
}

void environment(const std::string& home)
{
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("CORVENDALE_CLOUDKIT_FOLDER", (home + "/cloudkit").c_str(), 1);
    setenv("CORVENDALE_LOG_LEVEL", "none", 1);
}

struct Run {
    double start;
    double unlockAndList;
};

Run measure(const char* self, const std::string& home)
{
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        environment(home);
        std::string fd = std::to_string(fds[1]);
        execl(self, self, "--child", fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char byte = 0;
    bool reported = read(fds[0], &byte, 1) == 1;
    auto startTime = milliseconds(Clock::now() - start);
    std::string text;
    char buffer[64];
    for (ssize_t count; (count = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(count));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!reported || text.empty()) {
        std::fprintf(stderr, "the extension did not get through (status %d)\n", status);
        std::exit(1);
    }
    return {startTime, std::stod(text) / 1000};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--set-up")
        return setUp();
    if (argc == 3 && std::string(argv[1]) == "--child")
        return child(std::atoi(argv[2]));
    char folder[] = "/tmp/corvendale-autofill-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    pid_t pid = fork();
    if (pid == 0) {
        environment(folder);
        execl("/proc/self/exe", "/proc/self/exe", "--set-up", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the vault could not be made (status %d)\n", status);
        return 1;
    }
    std::vector<double> starts;
    std::vector<double> unlocks;
    for (int run = 0; run < runs; ++run) {
        auto measured = measure("/proc/self/exe", folder);
        starts.push_back(measured.start);
        unlocks.push_back(measured.unlockAndList);
    }
    std::printf("AutoFill over %d items: start to the unlock screen's first idle main loop, median %.1f ms (aim: under %.0f ms); "
                "unlock and list of the site's %d items after the key derivation, median %.1f ms (aim: under %.0f ms), %d runs\n",
                itemCount, median(starts), startAim, itemCount / siteItemEvery, median(unlocks), unlockAim, runs);
    std::system((std::string("rm -rf ") + folder).c_str());
    return 0;
}
