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
#include <optional>
#include <random>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <zlib.h>
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

// A field's value as the parser gives it: the reader has taken the escapes out and left the opening and
// closing quotes, which go here as they go in the parser (so both sides hold the same text).
std::string_view value(const Basalwork::CSVRowView& row, std::size_t index)
{
    auto text = row[index].value_or(std::string_view());
    if (!text.empty() && text.front() == '"')
        text.remove_prefix(1);
    if (!text.empty() && text.back() == '"' && row[index]->size() > 1)
        text.remove_suffix(1);
    return text;
}

// What every field holds, in order, as the reference computes it: the CRC-32 of each row's fields joined
// by 0x1F and ended by 0x1E. Taken in a pass of its own after the timed one, so it costs the timing nothing.
class ContentChecksum {
public:
    void add(std::string_view field)
    {
        if (m_fieldsInRow++ > 0)
            put("\x1f");
        put(field);
    }
    void endRow()
    {
        put("\x1e");
        m_fieldsInRow = 0;
    }
    std::string text() const { return std::to_string(m_crc); }

private:
    // zlib answers its initial value for no buffer at all, which an empty view may be.
    void put(std::string_view bytes)
    {
        if (!bytes.empty())
            m_crc = crc32(m_crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    }

    uLong m_crc = crc32(0, nullptr, 0);
    std::size_t m_fieldsInRow = 0;
};

std::string contentChecksum(const char* path)
{
    ContentChecksum checksum;
    auto reader = Foundation::make<Basalwork::CSVRowReader>(fileURL(path), Character(U','), Character(U'"'), nullptr);
    while (auto row = reader->nextRowView()) {
        for (std::size_t index = 0; index < row->size(); ++index)
            checksum.add(value(*row, index));
        checksum.endRow();
    }
    return checksum.text();
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
                bytes += static_cast<std::int64_t>(value(*row, index).size());
        }
    });
    report(seconds, "rows=" + std::to_string(rows) + " fields=" + std::to_string(fields) + " bytes=" + std::to_string(bytes)
                        + " content=" + contentChecksum(path));
    return 0;
}

int csvNamed(const char* path)
{
    std::size_t rows = 0;
    std::size_t fields = 0;
    std::optional<decltype(parser(path)->namedRows())> named;
    double seconds = timed([&] {
        named = parser(path)->namedRows();
        rows = named->size();
        for (const auto& row : *named)
            fields += row.size();
    });
    ContentChecksum checksum;
    for (const auto& row : *named) {
        for (std::size_t index = 0; index < row.size(); ++index)
            checksum.add(row.valueBytes(index).value_or(std::string_view()));
        checksum.endRow();
    }
    // The header is a row and its labels are fields, as the reading side counts them.
    std::size_t labels = rows > 0 ? fields / rows : 0;
    report(seconds, "rows=" + std::to_string(rows + 1) + " fields=" + std::to_string(fields + labels) + " content=" + checksum.text());
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

// The same steps, written plainly with a lean hash map: the identifiers are viewed in place (no key is
// copied), the table is reserved for every identifier at once, and the old positions of one identifier
// are chained through one array rather than a vector each.
int diffHashMap(std::int64_t count)
{
    auto [old, changed] = lists(count);
    std::size_t steps = 0;
    double seconds = timed([&] {
        constexpr std::int64_t none = -1;
        // The first old position of an identifier not yet paired.
        std::unordered_map<std::string_view, std::int64_t> symbols;
        symbols.reserve(old.size() + changed.size());
        std::vector<std::int64_t> nextOld(old.size(), none);
        // The old positions of each identifier, first to last: filled back to front so each new one heads
        // its chain.
        for (std::size_t j = old.size(); j-- > 0;) {
            auto symbol = symbols.try_emplace(old[j].id().view(), none).first;
            nextOld[j] = symbol->second;
            symbol->second = static_cast<std::int64_t>(j);
        }
        std::vector<std::int64_t> newToOld(changed.size(), none);
        std::vector<std::int64_t> oldToNew(old.size(), none);
        for (std::size_t i = 0; i < changed.size(); ++i) {
            auto found = symbols.find(changed[i].id().view());
            if (found == symbols.end() || found->second == none)
                continue;
            const auto j = found->second;
            found->second = nextOld[static_cast<std::size_t>(j)];
            newToOld[i] = j;
            oldToNew[static_cast<std::size_t>(j)] = static_cast<std::int64_t>(i);
        }
        std::vector<Basalwork::Difference> result;
        std::vector<std::int64_t> deletesBefore(old.size());
        std::int64_t deletes = 0;
        for (std::size_t j = 0; j < old.size(); ++j) {
            deletesBefore[j] = deletes;
            if (oldToNew[j] == none) {
                result.push_back(Basalwork::Difference::removed(static_cast<std::int64_t>(j)));
                ++deletes;
            }
        }
        std::int64_t inserts = 0;
        for (std::size_t i = 0; i < changed.size(); ++i) {
            const auto n = static_cast<std::int64_t>(i);
            const auto paired = newToOld[i];
            if (paired == none) {
                result.push_back(Basalwork::Difference::inserted(n));
                ++inserts;
                continue;
            }
            if (!(old[static_cast<std::size_t>(paired)] == changed[i]))
                result.push_back(Basalwork::Difference::updatedInPlace(n));
            if (n != paired - deletesBefore[static_cast<std::size_t>(paired)] + inserts)
                result.push_back(Basalwork::Difference::moved(paired, n));
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
