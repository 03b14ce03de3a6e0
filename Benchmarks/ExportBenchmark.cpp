// Exporting a large vault over the record store, without importing it each time: the vault is made once
// in the given folder (imported from a generated 100,000-row CSV export) and exported again on every run.
// Prints rows per second for each format, the best of the runs.
//
//   ExportBenchmark <folder> [runs] [rows]

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

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

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

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ExportBenchmark <folder> [runs] [rows]\n");
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const int rows = argc > 3 ? std::atoi(argv[3]) : 100000;
    const bool made = fs::exists(folder / "data");
    fs::create_directories(folder / "export");
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);

    auto center = Foundation::make<Foundation::NotificationCenter>();
    auto fileManager = Foundation::FileManager::defaultManager();
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    auto preferences = Shared::PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier()), center);
    auto cryptor = Foundation::make<Shared::Cryptor>(center);
    // A fixed key, so that a later run opens the vault an earlier one made.
    std::array<std::uint8_t, Shared::Cryptor::Key::byteCount> keyBytes {};
    for (std::size_t i = 0; i < keyBytes.size(); ++i)
        keyBytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    cryptor->unlock(Shared::Cryptor::Key::fromBytes(keyBytes.data(), keyBytes.size()));
    auto attachments = Foundation::make<Shared::AttachmentDataStore>(Basalwork::File::Location::raw(Foundation::String((folder / "attachments").string())),
                                                                     fileManager, cryptor);
    auto vault = Foundation::make<Shared::RecordStore>(
        center, cryptor, attachments, preferences,
        Shared::RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(),
                                                                                  Foundation::String("Library/Application Support/RecordStore/Production")),
                                               "recordStore"),
        10);
    auto context = Shared::AppExecutionContext::extension();
    if (!made) {
        auto file = folder / "rows.csv";
        writeExport(file, rows);
        auto importer = Foundation::make<Shared::Importer>(center, vault, attachments, context, fileManager);
        importer->startImport(Shared::ImporterFileFormat::bitwardenCSV, Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false),
                              std::nullopt, std::nullopt);
        runMainLoopUntil([&] { return !importer->status().is<Shared::Importer::Status::InProgress>(); });
    }
    const auto count = vault->count(Shared::Entry::Filter::allItems());
    auto exporter = Foundation::make<Shared::Exporter>(center, vault, context, fileManager);
    const char* only = std::getenv("EXPORT_FORMAT");
    for (auto format : {Shared::ExporterFileFormat::bitwardenCSV, Shared::ExporterFileFormat::corvendaleCSV, Shared::ExporterFileFormat::corvendaleJSON}) {
        if (only && std::atoi(only) != static_cast<int>(format))
            continue;
        double best = 1e9;
        std::uint64_t digest = 0;
        for (int run = 0; run < runs; ++run) {
            exporter->resetStatus();
            auto start = Clock::now();
            exporter->exportItems(format, Foundation::URL::fileURLWithPath(Foundation::String((folder / "export").string()), true));
            runMainLoopUntil([&] { return !exporter->status().is<Shared::Exporter::Status::InProgress>(); });
            best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
            for (const auto& entry : fs::directory_iterator(folder / "export")) {
                // A digest of the file, so that two builds' files can be compared.
                if (run == 0 && entry.is_regular_file()) {
                    std::ifstream in(entry.path(), std::ios::binary);
                    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                    digest = 14695981039346656037ull;
                    for (unsigned char c : bytes)
                        digest = (digest ^ c) * 1099511628211ull;
                }
                fs::remove_all(entry.path());
            }
        }
        std::printf("export to %-28s %9.0f rows/s (file %016llx)\n", Shared::titleText(format).utf8().c_str(), static_cast<double>(count) / best,
                    static_cast<unsigned long long>(digest));
    }
    return 0;
}
