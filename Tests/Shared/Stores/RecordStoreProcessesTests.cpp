#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Shared/Stores/Vault.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace Shared;
using SystemField = Entry::SystemField::ID;

// The program and its AutoFill extension each open the one store. The tests run this executable again as
// those other processes: the suite below does the work of one of them, told by its environment what to do.
namespace {

constexpr const char* roleVariable = "CORVENDALE_TEST_STORE_ROLE";
constexpr const char* folderVariable = "CORVENDALE_TEST_STORE_FOLDER";
constexpr const char* keyVariable = "CORVENDALE_TEST_VAULT_KEY";
constexpr const char* itemVariable = "CORVENDALE_TEST_ITEM";
constexpr const char* startVariable = "CORVENDALE_TEST_START_FD";
constexpr int savesPerProcess = 500;

RecordStore::StoreType storeType(const std::string& folder)
{
    return RecordStore::StoreType::onDisk(Basalwork::File::Location::raw(Foundation::String(folder)), "recordStore");
}

std::string hex(const Cryptor::Key& key)
{
    std::string text;
    for (std::size_t i = 0; i < Cryptor::Key::byteCount; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", key.bytes()[i]);
        text += digits;
    }
    return text;
}

Cryptor::Key keyFromHex(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return Cryptor::Key::fromBytes(bytes.data(), bytes.size());
}

// Starts this executable as another process of the program; answers its process.
pid_t startProcess(const std::string& role, const std::vector<std::pair<std::string, std::string>>& settings)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    environment.push_back(std::string(roleVariable) + "=" + role);
    for (const auto& [name, value] : settings)
        environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string filter = "--gtest_filter=RecordStoreOtherProcess.DISABLED_Run";
    std::string disabled = "--gtest_also_run_disabled_tests";
    std::string self = "/proc/self/exe";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    return pid;
}

int exitStatus(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RecordStoreProcessesTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        vault->cryptor->unlock(key.copy());
        folder = SharedTests::temporaryFolder("RecordStoreProcesses-" + std::to_string(++counter)).string();
    }

    static inline int counter = 0;
    Cryptor::Key key = Cryptor::Key::random();
    std::unique_ptr<SharedTests::Vault> vault;
    std::string folder;
};

} // namespace

TEST_F(RecordStoreProcessesTests, TwoProcessesSavingOneItemInTurnsLoseNothing)
{
    auto store = SharedTests::openRecordStore(*vault, storeType(folder));
    auto id = SharedTests::addEntry(*store, "Shared", "password 0", [](auto& context, const auto& id) {
        context.setText("notes 0", SystemField::notes, id);
    });
    store.reset();

    // One process changes only the password, the other only the notes (a thousand saves in all), each
    // after checking that its last value is still there.
    std::vector<std::pair<std::string, std::string>> settings {{folderVariable, folder}, {keyVariable, hex(key)}, {itemVariable, id.utf8()}};
    auto passwords = startProcess("password", settings);
    auto notes = startProcess("notes", settings);
    ASSERT_GT(passwords, 0);
    ASSERT_GT(notes, 0);
    EXPECT_EQ(exitStatus(passwords), 0);
    EXPECT_EQ(exitStatus(notes), 0);

    store = SharedTests::openRecordStore(*vault, storeType(folder));
    auto entry = *store->entry(id);
    EXPECT_EQ(entry.password, Foundation::String("password " + std::to_string(savesPerProcess)));
    EXPECT_EQ(entry.notes, Foundation::String("notes " + std::to_string(savesPerProcess)));
    // Earlier passwords went into the history as far as it reaches; notes have none.
    EXPECT_EQ(entry.passwordHistory.size(), Entry::maximumHistoryCount);
    for (const auto& value : entry.passwordHistory)
        EXPECT_TRUE(value.text.utf8().starts_with("password ")) << value.text.utf8();
}

TEST_F(RecordStoreProcessesTests, ProcessesOpeningANewStoreAtOnceMakeOneVault)
{
    for (int round = 0; round < 5; ++round) {
        auto roundFolder = folder + "/" + std::to_string(round);
        // The processes start reading the store together when the pipe closes.
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        // Only the reading end reaches the processes, so that the parent's close is their end of file.
        ::fcntl(start[1], F_SETFD, FD_CLOEXEC);
        std::vector<pid_t> processes;
        for (int i = 0; i < 3; ++i)
            processes.push_back(startProcess("open", {{folderVariable, roundFolder}, {keyVariable, hex(key)}, {startVariable, std::to_string(start[0])}}));
        ::close(start[0]);
        ::close(start[1]);
        for (auto process : processes)
            EXPECT_EQ(exitStatus(process), 0);

        auto store = SharedTests::openRecordStore(*vault, storeType(roundFolder));
        auto& context = *store->managedObjectContext();
        EXPECT_EQ(context.performAndWait([&] { return context.count(SyncedObject::existing<Vault>()); }), 1) << "round " << round;
    }
}

// The other process: 0 when everything it checked held.
TEST(RecordStoreOtherProcess, DISABLED_Run)
{
    const char* role = std::getenv(roleVariable);
    ASSERT_NE(role, nullptr);
    SharedTests::Vault vault;
    vault.cryptor->unlock(keyFromHex(std::getenv(keyVariable)));
    if (std::string(role) == "open") {
        char byte;
        ASSERT_EQ(::read(std::atoi(std::getenv(startVariable)), &byte, 1), 0);
        auto store = SharedTests::openRecordStore(vault, storeType(std::getenv(folderVariable)));
        EXPECT_EQ(store->vaultIDForNewEntries(), Foundation::String(RecordStore::defaultVaultID()));
        return;
    }
    auto store = SharedTests::openRecordStore(vault, storeType(std::getenv(folderVariable)));
    Foundation::String id(std::getenv(itemVariable));
    bool isPassword = std::string(role) == "password";
    auto field = isPassword ? SystemField::password : SystemField::notes;
    auto valueOf = [&](const Entry& entry) { return isPassword ? entry.password : entry.notes; };
    int lost = 0;
    for (int i = 1; i <= savesPerProcess; ++i) {
        auto current = store->entry(id);
        ASSERT_TRUE(current.has_value());
        // Only this process changes this field: anything but its last value is a lost save.
        if (valueOf(*current) != Foundation::String(std::string(role) + " " + std::to_string(i - 1)))
            ++lost;
        auto context = store->makeEditingContext();
        context->setText(Foundation::String(std::string(role) + " " + std::to_string(i)), field, id);
        context->save();
    }
    EXPECT_EQ(lost, 0) << role;
}
