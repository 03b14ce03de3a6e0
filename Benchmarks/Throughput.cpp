// Times one piece of the import and export path on a file, for scripts/bench, which runs it beside the
// reference implementations it is measured against. Prints "key=value" pairs on one line: the time of the
// work alone, what it produced (so both sides can be checked to agree) and the process's peak memory.
//
//   Throughput csv-read FILE | csv-read-strings FILE | csv-named FILE | csv-write FILE OUT | gunzip FILE.gz | gzip FILE
//   Throughput split FILE | split-icu FILE | diff COUNT | diff-hashmap COUNT
#include "Basalwork/Base/CSVParser.hpp"
#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/CSVWriter.hpp"
#include "Basalwork/Base/Data.hpp"
#include "Basalwork/Interface/Array.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include <sys/resource.h>
#include <unicode/brkiter.h>
#include <unicode/utext.h>

using Foundation::Character;
using Foundation::String;
using Foundation::URL;

namespace {

using Clock = std::chrono::steady_clock;

template <class Work>
double timed(Work&& work)
{
    auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void report(double seconds, const std::string& extra)
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("seconds=%.6f %s peak_kib=%ld\n", seconds, extra.c_str(), usage.ru_maxrss);
}

URL fileURL(const char* path) { return URL::fileURLWithPath(path); }

std::shared_ptr<Basalwork::CSVParser> parser(const char* path)
{
    return Foundation::make<Basalwork::CSVParser>(fileURL(path), Character(U','), Character(U'"'),
                                                  std::vector<String> {}, nullptr);
}

// Fields looked at in place (`csv-read`), or each built into a String (`csv-read-strings`, for a caller
// that keeps every value).
int csvRead(const char* path, bool buildsStrings)
{
    std::int64_t rows = 0;
    std::int64_t fields = 0;
    std::int64_t bytes = 0;
    double seconds = timed([&] {
        auto reader = Foundation::make<Basalwork::CSVRowReader>(fileURL(path), Character(U','), Character(U'"'), nullptr);
        if (buildsStrings) {
            while (auto row = reader->nextRow()) {
                ++rows;
                fields += static_cast<std::int64_t>(row->size());
                for (const auto& field : *row)
                    bytes += static_cast<std::int64_t>(field ? field->view().size() : 0);
            }
            return;
        }
        while (auto row = reader->nextRowView()) {
            ++rows;
            fields += static_cast<std::int64_t>(row->size());
            for (std::size_t index = 0; index < row->size(); ++index)
                bytes += static_cast<std::int64_t>((*row)[index].value_or(std::string_view()).size());
        }
    });
    report(seconds, "rows=" + std::to_string(rows) + " fields=" + std::to_string(fields) + " bytes=" + std::to_string(bytes));
    return 0;
}

int csvNamed(const char* path)
{
    std::size_t rows = 0;
    std::size_t fields = 0;
    double seconds = timed([&] {
        auto named = parser(path)->namedRows();
        rows = named.size();
        for (const auto& row : named)
            fields += row.size();
    });
    // The header is a row and its labels are fields, as the reading side counts them.
    std::size_t labels = rows > 0 ? fields / rows : 0;
    report(seconds, "rows=" + std::to_string(rows + 1) + " fields=" + std::to_string(fields + labels));
    return 0;
}

int csvWrite(const char* path, const char* out)
{
    auto rows = parser(path)->allRows();
    std::vector<String> labels;
    for (const auto& label : rows.front())
        labels.push_back(label.value_or(""));
    rows.erase(rows.begin());
    double seconds = timed([&] { Basalwork::CSVWriter::write(fileURL(out), labels, rows, Character(U',')); });
    report(seconds, "rows=" + std::to_string(rows.size() + 1));
    return 0;
}

int gunzip(const char* path)
{
    auto compressed = Foundation::Data::contentsOf(fileURL(path));
    Foundation::Data inflated;
    double seconds = timed([&] { inflated = Basalwork::gunzipped(compressed); });
    report(seconds, "bytes=" + std::to_string(inflated.count()));
    return 0;
}

int gzip(const char* path)
{
    auto plain = Foundation::Data::contentsOf(fileURL(path));
    Foundation::Data compressed;
    double seconds = timed([&] { compressed = Basalwork::gzipped(plain, Basalwork::CompressionLevel::defaultCompression()); });
    report(seconds, "bytes=" + std::to_string(compressed.count()));
    return 0;
}

String textOf(const char* path)
{
    auto data = Foundation::Data::contentsOf(fileURL(path));
    return String(std::string(data.view()));
}

int split(const char* path)
{
    String text = textOf(path);
    std::size_t pieces = 0;
    double seconds = timed([&] { pieces = text.split(Character(U' ')).size(); });
    report(seconds, "pieces=" + std::to_string(pieces));
    return 0;
}

// The plain way: one grapheme iterator over the whole text, each character compared with the space.
int splitICU(const char* path)
{
    String text = textOf(path);
    std::size_t pieces = 0;
    double seconds = timed([&] {
        std::string_view bytes = text.view();
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> iterator(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        UText utext = UTEXT_INITIALIZER;
        utext_openUTF8(&utext, bytes.data(), static_cast<std::int64_t>(bytes.size()), &status);
        iterator->setText(&utext, status);
        std::vector<std::string> result;
        std::size_t pieceStart = 0;
        std::int32_t start = iterator->first();
        for (std::int32_t end = iterator->next(); end != icu::BreakIterator::DONE; start = end, end = iterator->next()) {
            if (end - start == 1 && bytes[static_cast<std::size_t>(start)] == ' ') {
                if (pieceStart != static_cast<std::size_t>(start))
                    result.emplace_back(bytes.substr(pieceStart, static_cast<std::size_t>(start) - pieceStart));
                pieceStart = static_cast<std::size_t>(end);
            }
        }
        if (pieceStart != bytes.size())
            result.emplace_back(bytes.substr(pieceStart));
        utext_close(&utext);
        pieces = result.size();
    });
    report(seconds, "pieces=" + std::to_string(pieces));
    return 0;
}

struct Item {
    String identifier;
    std::int64_t content = 0;
    const String& id() const { return identifier; }
    friend bool operator==(const Item&, const Item&) = default;
};

// An item list before and after a large sync: identifiers as long as UUIDs, a few percent of the items
// removed, inserted, changed and moved.
std::pair<std::vector<Item>, std::vector<Item>> lists(std::int64_t count)
{
    std::mt19937_64 random(11);
    auto identifier = [](std::int64_t n) {
        auto digits = std::to_string(n);
        return String(std::string(36 - digits.size(), '0') + digits);
    };
    std::vector<Item> old;
    for (std::int64_t n = 0; n < count; ++n)
        old.push_back({identifier(n), 0});
    std::vector<Item> changed;
    for (const auto& item : old) {
        auto dice = random() % 100;
        if (dice < 2)
            continue;
        changed.push_back(item);
        if (dice < 4)
            changed.back().content = 1;
        if (dice < 6)
            changed.push_back({identifier(count + static_cast<std::int64_t>(changed.size())), 0});
    }
    for (std::size_t k = 0; k < changed.size() / 50; ++k)
        std::swap(changed[random() % changed.size()], changed[random() % changed.size()]);
    return {std::move(old), std::move(changed)};
}

int diff(std::int64_t count)
{
    auto [old, changed] = lists(count);
    std::size_t steps = 0;
    double seconds = timed([&] { steps = Basalwork::differences(old, changed).size(); });
    report(seconds, "steps=" + std::to_string(steps));
    return 0;
}

// The same steps, written plainly: a hash map from identifier to a shared record, as the rule reads.
int diffHashMap(std::int64_t count)
{
    auto [old, changed] = lists(count);
    std::size_t steps = 0;
    double seconds = timed([&] {
        struct Symbol {
            int inOld = 0;
            int inNew = 0;
            std::vector<std::int64_t> indicesInOld;
            std::size_t taken = 0;
        };
        using Entry = std::variant<Symbol*, std::int64_t>;
        std::unordered_map<String, Symbol> symbols;
        std::vector<Entry> newEntries;
        std::vector<Entry> oldEntries;
        for (const auto& item : changed) {
            Symbol& symbol = symbols[item.id()];
            symbol.inNew = std::min(symbol.inNew + 1, 2);
            newEntries.emplace_back(&symbol);
        }
        for (std::size_t j = 0; j < old.size(); ++j) {
            Symbol& symbol = symbols[old[j].id()];
            symbol.inOld = std::min(symbol.inOld + 1, 2);
            symbol.indicesInOld.push_back(static_cast<std::int64_t>(j));
            oldEntries.emplace_back(&symbol);
        }
        for (std::size_t i = 0; i < newEntries.size(); ++i) {
            auto* symbol = std::get_if<Symbol*>(&newEntries[i]);
            if (!symbol || (*symbol)->inOld == 0 || (*symbol)->inNew == 0 || (*symbol)->taken == (*symbol)->indicesInOld.size())
                continue;
            std::int64_t j = (*symbol)->indicesInOld[(*symbol)->taken++];
            newEntries[i] = j;
            oldEntries[static_cast<std::size_t>(j)] = static_cast<std::int64_t>(i);
        }
        std::vector<Basalwork::Difference> result;
        std::vector<std::int64_t> deletesBefore(old.size());
        std::int64_t deletes = 0;
        for (std::size_t j = 0; j < old.size(); ++j) {
            deletesBefore[j] = deletes;
            if (std::holds_alternative<Symbol*>(oldEntries[j])) {
                result.push_back(Basalwork::Difference::removed(static_cast<std::int64_t>(j)));
                ++deletes;
            }
        }
        std::int64_t inserts = 0;
        for (std::size_t i = 0; i < newEntries.size(); ++i) {
            const auto n = static_cast<std::int64_t>(i);
            auto* paired = std::get_if<std::int64_t>(&newEntries[i]);
            if (!paired) {
                result.push_back(Basalwork::Difference::inserted(n));
                ++inserts;
                continue;
            }
            if (!(old[static_cast<std::size_t>(*paired)] == changed[i]))
                result.push_back(Basalwork::Difference::updatedInPlace(n));
            if (n != *paired - deletesBefore[static_cast<std::size_t>(*paired)] + inserts)
                result.push_back(Basalwork::Difference::moved(*paired, n));
        }
        steps = result.size();
    });
    report(seconds, "steps=" + std::to_string(steps));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: Throughput TASK ARGUMENT...\n");
        return 2;
    }
    std::string task = argv[1];
    if (task == "csv-read" || task == "csv-read-strings")
        return csvRead(argv[2], task == "csv-read-strings");
    if (task == "csv-named")
        return csvNamed(argv[2]);
    if (task == "csv-write" && argc > 3)
        return csvWrite(argv[2], argv[3]);
    if (task == "gunzip")
        return gunzip(argv[2]);
    if (task == "gzip")
        return gzip(argv[2]);
    if (task == "split")
        return split(argv[2]);
    if (task == "split-icu")
        return splitICU(argv[2]);
    if (task == "diff")
        return diff(std::stoll(argv[2]));
    if (task == "diff-hashmap")
        return diffHashMap(std::stoll(argv[2]));
    std::fprintf(stderr, "unknown task %s\n", task.c_str());
    return 2;
}
