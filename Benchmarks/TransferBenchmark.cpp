// Moving a large vault in and out: a 100,000-row CSV export (about 30 MB) imported into an empty vault
// and exported again, beside the CSV reader alone on the same file; the same rows as a JSON export, and
// this program's own JSON export, read into items. Prints rows per second.
//
//   TransferBenchmark [rows]

#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/Exporter.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// An empty vault in memory: what the importer adds, the exporter reads back.
class MemoryVault : public Shared::Importer::RecordSource, public Shared::Exporter::RecordSource {
public:
    std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>&) const override { return {}; }
    void insertEntries(const std::vector<Shared::Entry>& entries, const std::vector<Shared::Attachment>&) override
    {
        std::lock_guard lock(m_mutex);
        m_entries.insert(m_entries.end(), entries.begin(), entries.end());
    }
    std::vector<Shared::Entry> allEntries() const override
    {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }
    std::vector<Shared::Attachment> allAttachments(std::vector<Foundation::String>* = nullptr) const override { return {}; }
    Foundation::URL decryptAttachmentToTemporaryFile(const Foundation::String&) const override { return Foundation::URL::fileURLWithPath("/", true); }
    std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_entries.size();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Shared::Entry> m_entries;
};

std::string quoted(const std::string& value)
{
    std::string out = "\"";
    for (char c : value)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// A Bitwarden CSV export: folders, favourites, notes with line breaks and commas, custom fields.
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

std::string jsonText(const std::string& value)
{
    std::string out = "\"";
    for (char c : value)
        out += c == '"' ? std::string("\\\"") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out + "\"";
}

// The same rows as a Bitwarden JSON export.
void writeJSONExport(const fs::path& path, int rows)
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
    out << R"({"encrypted": false, "folders": [{"id": "f1", "name": "Personal"}, {"id": "f2", "name": "Work"}], "items": [)";
    for (int row = 0; row < rows; ++row) {
        out << (row ? ",\n" : "\n") << R"(  {"id": "item-)" << row << R"(", "folderId": ")" << (row % 5 ? "f1" : "f2") << R"(", "type": 1, "favorite": )"
            << (row % 7 == 0 ? "true" : "false") << R"(, "name": )" << jsonText("Site " + word(12) + ", Zürich") << R"(, "notes": )"
            << jsonText("Notes for " + word(40) + "\nsecond line, with \"quotes\" " + word(30)) << R"(, "fields": [{"name": "PIN", "value": ")"
            << row % 10000 << R"(", "type": 0}], "reprompt": 0, "login": {"uris": [{"match": null, "uri": )"
            << jsonText("https://" + word(10) + ".example.com/login/" + word(16)) << R"(}], "username": )" << jsonText(word(10) + "@example.com")
            << R"(, "password": )" << jsonText(word(24)) << R"(, "totp": null}, "creationDate": "2024-01-02T03:04:05.000Z", "revisionDate": "2024-02-03T04:05:06.000Z"})";
    }
    out << "\n]}\n";
}

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
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
    int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    auto folder = fs::temp_directory_path() / ("TransferBenchmark." + std::to_string(::getpid()));
    fs::create_directories(folder / "export");
    // The vault lives in the folder too, never in the user's data.
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
    auto file = folder / "bitwarden.csv";
    writeExport(file, rows);
    auto url = Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false);
    std::printf("file: %d rows, %.1f MB\n", rows, static_cast<double>(fs::file_size(file)) / 1e6);

    // The CSV reader alone: every row, nothing made of it.
    auto start = Clock::now();
    auto reader = Foundation::make<Basalwork::CSVRowReader>(url, Foundation::Character(U','), Foundation::Character(U'"'), nullptr);
    std::size_t read = 0;
    while (reader->nextRow())
        ++read;
    double readerSeconds = seconds(start);
    std::printf("CSV reader alone:        %9.0f rows/s\n", static_cast<double>(read) / readerSeconds);

    // The importer's CSV reading: rows with their labels, unquoted.
    start = Clock::now();
    std::size_t labelled = 0;
    Shared::CSVImportReader::readRows(url, U',', {"name"}, [](double) {},
                                      [&](const Shared::CSVImportReader::LabelledRow& row, Shared::ImportReadResult&) { labelled += !row.values.empty(); });
    double labelledSeconds = seconds(start);
    std::printf("importer's CSV reading:  %9.0f rows/s (%.2fx the reader's time)\n", static_cast<double>(labelled) / labelledSeconds,
                labelledSeconds / readerSeconds);

    // The importer's reading: rows into items.
    start = Clock::now();
    auto items = Shared::ImportReader::read(Shared::ImporterFileFormat::bitwardenCSV, url, std::nullopt,
                                            Foundation::URL::fileURLWithPath(Foundation::String(folder.string()), true), [](double) {});
    double itemSeconds = seconds(start);
    std::printf("CSV rows into items:     %9.0f rows/s (%.2fx the reader's time)\n", static_cast<double>(items.items.size()) / itemSeconds,
                itemSeconds / readerSeconds);

    // The same rows as a JSON export, into items.
    auto jsonFile = folder / "bitwarden.json";
    writeJSONExport(jsonFile, rows);
    start = Clock::now();
    auto jsonItems = Shared::ImportReader::read(Shared::ImporterFileFormat::bitwardenJSON, Foundation::URL::fileURLWithPath(Foundation::String(jsonFile.string()), false),
                                                std::nullopt, Foundation::URL::fileURLWithPath(Foundation::String(folder.string()), true), [](double) {});
    std::printf("JSON items into items:   %9.0f rows/s (%.1f MB)\n", static_cast<double>(jsonItems.items.size()) / seconds(start),
                static_cast<double>(fs::file_size(jsonFile)) / 1e6);

    // An empty vault in the record store, unlocked.
    auto center = Foundation::make<Foundation::NotificationCenter>();
    auto fileManager = Foundation::FileManager::defaultManager();
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    auto preferences = Shared::PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Shared::Global::App::appGroupIdentifier()), center);
    auto cryptor = Foundation::make<Shared::Cryptor>(center);
    cryptor->unlock(Shared::Cryptor::Key::random());
    auto attachments = Foundation::make<Shared::AttachmentDataStore>(Basalwork::File::Location::raw(Foundation::String((folder / "attachments").string())),
                                                                     fileManager, cryptor);
    auto vault = Foundation::make<Shared::RecordStore>(
        center, cryptor, attachments, preferences,
        Shared::RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup(Shared::Global::App::appGroupIdentifier(),
                                                                                  Foundation::String("Library/Application Support/RecordStore/Production")),
                                               "recordStore"),
        10);
    auto context = Shared::AppExecutionContext::extension();
    auto measure = [&](const char* label, std::shared_ptr<Shared::Importer::RecordSource> destination,
                       std::shared_ptr<Shared::Exporter::RecordSource> source) {
        auto importer = Foundation::make<Shared::Importer>(center, destination, attachments, context, fileManager);
        auto exporter = Foundation::make<Shared::Exporter>(center, source, context, fileManager);
        auto start = Clock::now();
        importer->startImport(Shared::ImporterFileFormat::bitwardenCSV, url, std::nullopt, std::nullopt);
        runMainLoopUntil([&] { return !importer->status().is<Shared::Importer::Status::InProgress>(); });
        double importSeconds = seconds(start);
        auto count = source->allEntries().size();
        std::printf("%s: import into an empty vault %9.0f rows/s (%zu items)\n", label, static_cast<double>(count) / importSeconds, count);
        for (auto format : {Shared::ExporterFileFormat::bitwardenCSV, Shared::ExporterFileFormat::corvendaleCSV, Shared::ExporterFileFormat::corvendaleJSON}) {
            exporter->resetStatus();
            start = Clock::now();
            exporter->exportItems(format, Foundation::URL::fileURLWithPath(Foundation::String((folder / "export").string()), true));
            runMainLoopUntil([&] { return !exporter->status().is<Shared::Exporter::Status::InProgress>(); });
            std::printf("%s: export to %s %9.0f rows/s\n", label, Shared::titleText(format).utf8().c_str(), static_cast<double>(count) / seconds(start));
        }
    };
    // The importer's and exporter's own work, over a vault that costs nothing...
    auto memory = std::make_shared<MemoryVault>();
    measure("in memory", memory, memory);
    // This program's own JSON export, read back into items.
    for (const auto& exported : fs::directory_iterator(folder / "export")) {
        if (exported.path().extension() != ".json")
            continue;
        start = Clock::now();
        auto ownItems = Shared::ImportReader::read(Shared::ImporterFileFormat::corvendaleJSON,
                                                   Foundation::URL::fileURLWithPath(Foundation::String(exported.path().string()), false), std::nullopt,
                                                   Foundation::URL::fileURLWithPath(Foundation::String(folder.string()), true), [](double) {});
        std::printf("own JSON export into items: %9.0f rows/s\n", static_cast<double>(ownItems.items.size()) / seconds(start));
    }
    // ...and the whole way, over the record store.
    measure("record store", vault, vault);
    fs::remove_all(folder);
    return 0;
}
