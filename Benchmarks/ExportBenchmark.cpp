// Exporting a large vault over the record store, without importing it each time: the vault is made once
// in the given folder (imported from a generated 100,000-row CSV export). Each format is exported once, in
// a process of its own that starts as the program does, with nothing of the vault read before the clock
// starts: what a person waits for the first time they export. Prints rows per second for each format.
//
//   ExportBenchmark <folder> [rows]

#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Crypto/Cryptor.Key.hpp"
#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/Exporter.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string quoted(const std::string& value)
{
    std::string out = "\"";
    for (char c : value)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// The same rows the transfer benchmark imports.
void writeExport(const fs::path& path, int rows)
{
    std::mt19937 random(7);
    auto word = [&](int length) {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::string text;
        for (int i = 0; i < length; ++i)
            text.push_back(letters[random() % (sizeof letters - 1)]);
        return text;
    };
    std::ofstream out(path, std::ios::binary);
    out << "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n";
    for (int row = 0; row < rows; ++row) {
        out << quoted(row % 5 ? "Personal" : "Work") << ',' << (row % 7 == 0 ? "1" : "") << ",login," << quoted("Site " + word(12) + ", Zürich") << ','
            << quoted("Notes for " + word(40) + "\nsecond line, with \"quotes\" " + word(30)) << ',' << quoted("PIN: " + std::to_string(row % 10000))
            << ",0," << quoted("https://" + word(10) + ".example.com/login/" + word(16)) << ',' << quoted(word(10) + "@example.com") << ','
            << quoted(word(24)) << ",\n";
    }
}

template <class Done>
void runMainLoopUntil(Done done)
{
    while (!done()) {
        Foundation::RunLoop::main()->runUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The stores over the folder, as a program's launch makes them; the vault is unlocked with a fixed key, so
// that a later run opens the vault an earlier one made.
struct Stores {
    explicit Stores(const fs::path& folder)
    {
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
        Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
        preferences = Shared::PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier()), center);
        cryptor = Foundation::make<Shared::Cryptor>(center);
        std::array<std::uint8_t, Shared::Cryptor::Key::byteCount> keyBytes {};
        for (std::size_t i = 0; i < keyBytes.size(); ++i)
            keyBytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        cryptor->unlock(Shared::Cryptor::Key::fromBytes(keyBytes.data(), keyBytes.size()));
        attachments = Foundation::make<Shared::AttachmentDataStore>(Basalwork::File::Location::raw(Foundation::String((folder / "attachments").string())),
                                                                    fileManager, cryptor);
        vault = Foundation::make<Shared::RecordStore>(
            center, cryptor, attachments, preferences,
            Shared::RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(),
                                                                                      Foundation::String("Library/Application Support/RecordStore/Production")),
                                                   "recordStore"),
            10);
    }

    std::shared_ptr<Foundation::NotificationCenter> center = Foundation::make<Foundation::NotificationCenter>();
    std::shared_ptr<Foundation::FileManager> fileManager = Foundation::FileManager::defaultManager();
    std::shared_ptr<Shared::PreferenceStore> preferences;
    std::shared_ptr<Shared::Cryptor> cryptor;
    std::shared_ptr<Shared::AttachmentDataStore> attachments;
    std::shared_ptr<Shared::RecordStore> vault;
    Shared::AppExecutionContext context = Shared::AppExecutionContext::extension();
};

int makeVault(const fs::path& folder, int rows)
{
    Stores stores(folder);
    auto file = folder / "rows.csv";
    writeExport(file, rows);
    auto importer = Foundation::make<Shared::Importer>(stores.center, stores.vault, stores.attachments, stores.context, stores.fileManager);
    importer->startImport(Shared::ImporterFileFormat::bitwardenCSV, Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false),
                          std::nullopt, std::nullopt);
    runMainLoopUntil([&] { return !importer->status().is<Shared::Importer::Status::InProgress>(); });
    return importer->status().is<Shared::Importer::Status::Completed>() ? 0 : 1;
}

int exportOnce(const fs::path& folder, Shared::ExporterFileFormat format)
{
    Stores stores(folder);
    fs::create_directories(folder / "export");
    auto exporter = Foundation::make<Shared::Exporter>(stores.center, stores.vault, stores.context, stores.fileManager);
    auto start = Clock::now();
    exporter->exportItems(format, Foundation::URL::fileURLWithPath(Foundation::String((folder / "export").string()), true));
    runMainLoopUntil([&] { return !exporter->status().is<Shared::Exporter::Status::InProgress>(); });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!exporter->status().is<Shared::Exporter::Status::Completed>()) {
        std::fprintf(stderr, "the export to %s failed\n", Shared::titleText(format).utf8().c_str());
        return 1;
    }
    // Counted once the clock has stopped: the count reads the index, which the export must not find ready.
    const auto count = stores.vault->count(Shared::Entry::Filter::allItems());
    std::uint64_t digest = 14695981039346656037ull;
    for (const auto& entry : fs::directory_iterator(folder / "export")) {
        // A digest of the file, so that two builds' files can be compared.
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (unsigned char c : bytes)
                digest = (digest ^ c) * 1099511628211ull;
        }
        fs::remove_all(entry.path());
    }
    std::printf("export to %-28s %9.0f rows/s, %lld rows in %.3f s (file %016llx)\n", Shared::titleText(format).utf8().c_str(),
                static_cast<double>(count) / seconds, static_cast<long long>(count), seconds, static_cast<unsigned long long>(digest));
    return 0;
}

// Runs this program again with the arguments and waits for it.
int runFresh(const char* self, std::vector<std::string> arguments)
{
    std::vector<char*> argv {const_cast<char*>(self)};
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        execv(self, argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--make")
        return makeVault(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "--export")
        return exportOnce(argv[2], static_cast<Shared::ExporterFileFormat>(std::atoi(argv[3])));
    if (argc < 2) {
        std::fprintf(stderr, "usage: ExportBenchmark <folder> [rows]\n");
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    fs::create_directories(folder);
    if (!fs::exists(folder / "data") && runFresh("/proc/self/exe", {"--make", folder.string(), std::to_string(rows)}) != 0) {
        std::fprintf(stderr, "the vault could not be made\n");
        return 1;
    }
    const char* only = std::getenv("EXPORT_FORMAT");
    int failures = 0;
    for (auto format : {Shared::ExporterFileFormat::bitwardenCSV, Shared::ExporterFileFormat::corvendaleCSV, Shared::ExporterFileFormat::corvendaleJSON}) {
        if (only && std::atoi(only) != static_cast<int>(format))
            continue;
        failures += runFresh("/proc/self/exe", {"--export", folder.string(), std::to_string(static_cast<int>(format))}) != 0;
    }
    return failures == 0 ? 0 : 1;
}
