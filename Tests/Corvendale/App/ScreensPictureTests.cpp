#include "Tests/Corvendale/App/ProgramOnTerminal.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"
#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using CorvendaleTests::ProgramOnTerminal;
using SystemID = Shared::Entry::SystemField::ID;
using VState = Shared::AuthenticationVState;

// Set in the second process: where it writes the screens it saw.
constexpr const char* screensOut = "CORVENDALE_TEST_SCREENS_OUT";

class Screens : public ProgramOnTerminal {
protected:
    // Every main screen a person meets from a first launch on, at several sizes, resizes included. The
    // program's tests each have a process of their own, so this one starts on a first launch.
    std::string walk()
    {
        std::ostringstream seen;
        auto show = [&](const char* what, std::int64_t columns, std::int64_t rows) {
            seen << "== " << what << " at " << columns << "x" << rows << "\n" << screen(columns, rows);
        };
        show("create master password", 100, 30);
        show("create master password", 80, 24);
        EXPECT_EQ(screenState(), VState::indexOf<VState::CreateMasterPassword>) << "a first launch asks for a master password";
        type(CorvendaleTests::masterPassword, Foundation::String(CorvendaleTests::masterPassword));
        // The set-up steps: AutoFill, automatic backups, sync.
        for (const char* step : {"autofill step", "backups step", "sync step"}) {
            show(step, 100, 30);
            show(step, 160, 40);
            type("");
        }
        EXPECT_TRUE(store()->authenticationState().isAuthenticated());
        SharedTests::addEntry(*Corvendale::dependencies().recordStore, "Bank of Nowhere", "hunter2",
                              [](Shared::RecordStore::EditingContext& context, const Foundation::String& id) {
                                  context.setText("someone@example.com", SystemID::username, id);
                                  context.setText("https://bank.example.com/login", SystemID::website, id);
                                  context.setText("JBSWY3DPEHPK3PXP", SystemID::totpSecretKey, id);
                              });
        settle();
        show("items", 100, 30);
        EXPECT_TRUE(terminal().driver().tap(Foundation::String("Bank of Nowhere")));
        for (auto [columns, rows] : {std::pair {100, 30}, {160, 40}, {80, 24}, {60, 24}, {220, 50}, {100, 30}})
            show("item details", columns, rows);
        store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
        settle();
        for (auto [columns, rows] : {std::pair {100, 30}, {160, 40}, {80, 24}, {100, 30}})
            show("locked", columns, rows);
        return seen.str();
    }
};

// Allocations of assorted sizes that stay, so that the objects made after them live elsewhere than
// they would in another process.
std::vector<std::unique_ptr<char[]>> unsettleTheHeap()
{
    std::vector<std::unique_ptr<char[]>> kept;
    std::mt19937 random(static_cast<std::uint32_t>(::getpid()));
    for (int i = 0; i < 2000; ++i)
        kept.push_back(std::make_unique<char[]>(std::uniform_int_distribution<std::size_t>(8, 600)(random)));
    return kept;
}

// The same test in a process of its own; answers what it wrote.
std::string screensOfAnotherProcess(const std::string& testName)
{
    const auto out = std::filesystem::temp_directory_path() / ("screens-" + std::to_string(::getpid()) + ".txt");
    std::vector<std::string> environment {std::string(screensOut) + "=" + out.string()};
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string executable = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=" + testName;
    char* argv[] = {executable.data(), filter.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, executable.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return "(could not start a second process)";
    int status = 0;
    ::waitpid(child, &status, 0);
    std::ifstream file(out);
    std::stringstream text;
    text << file.rdbuf();
    std::filesystem::remove(out);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "(the second process failed)\n" + text.str();
    return text.str();
}

std::string firstDifference(const std::string& a, const std::string& b)
{
    if (a == b)
        return {};
    std::istringstream left(a), right(b);
    std::string heading;
    for (;;) {
        std::string l, r;
        const bool hasLeft = static_cast<bool>(std::getline(left, l));
        const bool hasRight = static_cast<bool>(std::getline(right, r));
        if (hasLeft && l.rfind("== ", 0) == 0)
            heading = l;
        if (l != r || !hasLeft || !hasRight)
            return heading + "\n  this process: " + (hasLeft ? l : "(ends)") + "\n  another one:  " + (hasRight ? r : "(ends)");
    }
}

TEST_F(Screens, EveryMainScreenIsLaidOutTheSameInEveryProcess)
{
    if (const char* out = std::getenv(screensOut)) {
        auto kept = unsettleTheHeap();
        std::ofstream(out) << walk();
        return;
    }
    const std::string here = walk();
    const std::string there = screensOfAnotherProcess(testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()
                                                      + std::string(".") + testing::UnitTest::GetInstance()->current_test_info()->name());
    EXPECT_EQ(firstDifference(here, there), "") << here;
}

} // namespace
