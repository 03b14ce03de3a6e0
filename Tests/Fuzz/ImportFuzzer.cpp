// A mutation fuzzer of the import readers and the backup reader. Each reader takes a corpus of small
// files in real layouts (named "<format>.<anything>"), and each run reads one of them changed at random:
// bits flipped, bytes set, inserted, removed or repeated, tokens of the format put in, pieces of other
// samples spliced in. A reader may refuse a file with an error of ours; anything else is a finding: a
// crash or a sanitizer report stops the program (the input is left in the scratch folder as "current"),
// another exception or a run longer than the time limit is saved to the findings folder.
//
// The JSON reader's corpus may hold the item data of a 1PUX archive ("onePassword1PUXData.*").
// The backup reader's corpus holds the items a backup carries ("items.*"); each is read as it is and
// sealed in a backup file under a key of the run, whose header and frames are then changed.
//
//   ImportFuzzer <csv|json|xml|zip|backup> --corpus DIR [--seconds N | --runs N] [--seed N]
//                [--findings DIR] [--replay FILE]

#include "Shared/Transfer/BackupFile.hpp"
#include "Shared/Crypto/Cryptor.KeyDerivation.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"
#include "Shared/Transfer/JSONImportReader.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Error.hpp"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using F = Shared::ImporterFileFormat;

namespace {

struct Sample {
    std::string format;
    std::string bytes;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<F> formatNamed(const std::string& name)
{
    for (auto format : Shared::allImporterFileFormats()) {
        if (Foundation::rawValue(format).utf8() == name)
            return format;
    }
    return std::nullopt;
}

// What each reader's files are made of, for the mutations to put in.
std::vector<std::string> tokens(const std::string& target)
{
    if (target == "csv")
        return {",", "\"", "\"\"", "\n", "\r", "\r\n", "\t", ";", "\xEF\xBB\xBF", "\xE2\x80\xA8", "\xC2\x85", "\f", "\v", "Root/", "Recycle Bin",
                "credit_card", "type", "\xFF", "\xC3", "https://", std::string(1, '\0')};
    if (target == "xml")
        return {"<Entry>", "</Entry>", "<Group>", "</Group>", "<String><Key>Title</Key><Value>", "</Value></String>", "<Binary ID=\"0\" Compressed=\"True\">",
                "<Value Ref=\"0\"/>", "<Times><CreationTime>", "AAAAAAAAAAA=", "&amp;", "&#0;", "<![CDATA[", "]]>", "<!DOCTYPE a [", "<!ENTITY",
                "<?xml version=\"1.0\"?>", "\"", "/>", "<", ">", "H4sIAAAAAAAA", "<entry>", "</entry>"};
    // JSON, the 1PUX data and a backup's items.
    return {"{", "}", "[", "]", "\"", ":", ",", "\\u0000", "\\ud800", "1e999", "-0", "null", "true", "18446744073709551616", "\"items\"", "\"title\"",
            "\"sections\"", "\"fields\"", "\"passwordHistory\"", "\"id\"", "\"../x\"", "[[[[[[[[", "]]]]]]]]", "\"format\":\"Corvendale\"", "\xFF",
            std::string(1, '\0')};
}

class Mutator {
public:
    Mutator(std::uint64_t seed, std::vector<std::string> tokens)
        : m_random(seed)
        , m_tokens(std::move(tokens))
    {
    }

    std::string mutate(std::string bytes, const std::vector<Sample>& samples)
    {
        for (auto count = 1 + below(6); count > 0; --count)
            mutateOnce(bytes, samples);
        // Hostile files are small here: the budgets are tested by the tests, not by sheer size.
        if (bytes.size() > 256 * 1024)
            bytes.resize(256 * 1024);
        return bytes;
    }

    std::size_t below(std::size_t bound) { return bound == 0 ? 0 : static_cast<std::size_t>(m_random() % bound); }

private:
    void mutateOnce(std::string& bytes, const std::vector<Sample>& samples)
    {
        auto at = below(bytes.size() + 1);
        switch (below(9)) {
        case 0:
            if (!bytes.empty())
                bytes[below(bytes.size())] ^= static_cast<char>(1 << below(8));
            break;
        case 1:
            if (!bytes.empty())
                bytes[below(bytes.size())] = static_cast<char>(below(256));
            break;
        case 2:
            bytes.insert(at, 1 + below(4), static_cast<char>(below(256)));
            break;
        case 3:
            if (!bytes.empty())
                bytes.erase(below(bytes.size()), 1 + below(16));
            break;
        case 4: {
            if (bytes.empty())
                break;
            auto from = below(bytes.size());
            auto piece = bytes.substr(from, 1 + below(64));
            for (auto times = 1 + below(below(2) ? 4 : 64); times > 0; --times)
                bytes.insert(at, piece);
            break;
        }
        case 5:
        case 6:
            bytes.insert(at, m_tokens[below(m_tokens.size())]);
            break;
        case 7: {
            const auto& other = samples[below(samples.size())].bytes;
            if (other.empty())
                break;
            auto from = below(other.size());
            bytes.insert(at, other.substr(from, 1 + below(256)));
            break;
        }
        default:
            if (!bytes.empty())
                bytes.resize(below(bytes.size()));
            break;
        }
    }

    std::mt19937_64 m_random;
    std::vector<std::string> m_tokens;
};

// A backup of `items` (this program's JSON) under a fixed key, as the backup store writes one.
const Shared::Cryptor::Key& backupKey()
{
    static const auto& key = *new Shared::Cryptor::Key(Shared::Cryptor::Key::random());
    return key;
}

std::string backupOf(const std::string& items, const fs::path& scratch)
{
    Shared::BackupFile::Header header;
    header.keyDerivation = Shared::Cryptor::KeyDerivation::makeDefault();
    header.wrappedVaultKey = Foundation::Data::fromString(std::string(72, 'k'));
    auto file = scratch / "seed.corvendalebackup";
    fs::remove(file);
    Shared::BackupFile::Writer writer(Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false), header, backupKey());
    // An items frame (kind 1, eight bytes of length) and the end (kind 0).
    std::string frames(1, '\1');
    for (int i = 0; i < 8; ++i)
        frames.push_back(static_cast<char>(static_cast<std::uint64_t>(items.size()) >> (8 * i)));
    frames += items;
    frames.push_back('\0');
    writer.append(frames.data(), frames.size());
    writer.commit();
    return readFile(file);
}

// Reads a backup as a restore does before anything changes: the header, then every frame of the content.
// Answers the number of items.
std::size_t readBackup(const fs::path& file)
{
    auto url = Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false);
    Shared::BackupFile::readHeader(url);
    Shared::BackupFile::Reader reader(url, backupKey());
    std::string items;
    while (true) {
        std::uint8_t kind = 0;
        reader.read(&kind, 1);
        if (kind == 0)
            break;
        std::uint8_t lengthBytes[8];
        reader.read(lengthBytes, 8);
        std::uint64_t length = 0;
        for (int i = 0; i < 8; ++i)
            length |= static_cast<std::uint64_t>(lengthBytes[i]) << (8 * i);
        if (length > fs::file_size(file))
            return 0;
        items.resize(static_cast<std::size_t>(length));
        reader.read(items.data(), items.size());
    }
    reader.finish();
    std::vector<Shared::Attachment> attachments;
    return Shared::VaultDocument::entries(items, &attachments).size();
}

// The item data of a 1PUX archive on its own, which changed archives rarely reach whole.
constexpr const char* onePUXData = "onePassword1PUXData";

struct Outcome {
    bool isFinding = false;
    std::string what;
    // How far the reading came: refused with an error of ours, or items read (items and failure texts).
    bool wasRefused = false;
    std::size_t itemCount = 0;
};

Outcome runOnce(const std::string& target, const Sample& sample, const std::string& bytes, const fs::path& scratch)
{
    auto input = scratch / ("input." + target);
    writeFile(input, bytes);
    auto work = scratch / "work";
    fs::remove_all(work);
    fs::create_directories(work);
    Outcome outcome;
    try {
        if (sample.format == "sealed") {
            outcome.itemCount = readBackup(input);
        } else if (sample.format == onePUXData) {
            Shared::JSONImportReader::read1PUXData(Foundation::URL::fileURLWithPath(Foundation::String(input.string()), false), nullptr, [](double) {},
                                                   [&](Shared::ImportReadResult& part) { outcome.itemCount += part.items.size() + part.failures.size(); });
        } else if (sample.format == "items") {
            std::vector<Shared::Attachment> attachments;
            outcome.itemCount = Shared::VaultDocument::entries(bytes, &attachments).size();
        } else {
            auto format = formatNamed(sample.format).value();
            Shared::ImportReader::read(format, Foundation::URL::fileURLWithPath(Foundation::String(input.string()), false), std::nullopt,
                                       Foundation::URL::fileURLWithPath(Foundation::String(work.string()), true), [](double) {},
                                       [&](Shared::ImportReadResult& part) { outcome.itemCount += part.items.size() + part.failures.size(); });
        }
    } catch (const Foundation::Error&) {
        outcome.wasRefused = true;
    } catch (const std::exception& error) {
        outcome.isFinding = true;
        outcome.what = std::string("an exception that is not one of ours: ") + error.what();
    }
    return outcome;
}

std::string hexHash(const std::string& bytes)
{
    std::uint64_t hash = 1469598103934665603ULL;
    for (unsigned char byte : bytes)
        hash = (hash ^ byte) * 1099511628211ULL;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

[[noreturn]] void usage()
{
    std::cerr << "usage: ImportFuzzer <csv|json|xml|zip|backup> --corpus DIR [--seconds N | --runs N] [--seed N] [--findings DIR] [--replay FILE]\n";
    std::exit(2);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        usage();
    std::string target = argv[1];
    if (target != "csv" && target != "json" && target != "xml" && target != "zip" && target != "backup")
        usage();
    fs::path corpus;
    fs::path findings;
    std::optional<fs::path> replay;
    double seconds = 0;
    std::uint64_t runs = 0;
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        std::string value = argv[i + 1];
        if (option == "--corpus")
            corpus = value;
        else if (option == "--findings")
            findings = value;
        else if (option == "--seconds")
            seconds = std::stod(value);
        else if (option == "--runs")
            runs = std::stoull(value);
        else if (option == "--seed")
            seed = std::stoull(value);
        else if (option == "--replay")
            replay = value;
        else
            usage();
    }
    if (corpus.empty() && !replay)
        usage();
    if (seconds <= 0 && runs == 0)
        runs = 1000;

    char scratchTemplate[] = "/tmp/ImportFuzzer.XXXXXX";
    if (!::mkdtemp(scratchTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    fs::path scratch = scratchTemplate;

    std::vector<Sample> samples;
    if (!corpus.empty()) {
        for (const auto& entry : fs::directory_iterator(corpus)) {
            if (!entry.is_regular_file())
                continue;
            auto name = entry.path().filename().string();
            Sample sample {name.substr(0, name.find('.')), readFile(entry.path())};
            if (target != "backup" && !formatNamed(sample.format) && !(target == "json" && sample.format == onePUXData)) {
                std::cerr << "ImportFuzzer: " << name << " does not name a format\n";
                return 2;
            }
            if (target == "backup" && sample.format != "items") {
                std::cerr << "ImportFuzzer: " << name << " is not the items of a backup (items.*)\n";
                return 2;
            }
            // Each backup's items also come sealed in a whole backup file.
            if (target == "backup")
                samples.push_back({"sealed", backupOf(sample.bytes, scratch)});
            samples.push_back(std::move(sample));
        }
    }
    if (replay) {
        auto name = replay->filename().string();
        Sample sample {name.substr(0, name.find('.')), readFile(*replay)};
        auto outcome = runOnce(target, sample, sample.bytes, scratch);
        std::cout << (outcome.isFinding ? outcome.what : "no finding") << "\n";
        fs::remove_all(scratch);
        return outcome.isFinding ? 1 : 0;
    }
    if (samples.empty()) {
        std::cerr << "ImportFuzzer: the corpus is empty\n";
        return 2;
    }
    if (!findings.empty())
        fs::create_directories(findings);

    // A run that takes too long is a finding too: the alarm stops the program with the input in place.
    std::signal(SIGALRM, [](int) {
        static const char text[] = "ImportFuzzer: a run took longer than 20 s (its input is the scratch folder's current input)\n";
        [[maybe_unused]] auto written = ::write(2, text, sizeof text - 1);
        std::_Exit(3);
    });
    std::cerr << "ImportFuzzer " << target << ": " << samples.size() << " samples, seed " << seed << ", scratch " << scratch.string() << "\n";
    Mutator mutator(seed, tokens(target));
    auto start = std::chrono::steady_clock::now();
    std::uint64_t done = 0;
    std::uint64_t found = 0;
    std::uint64_t refused = 0;
    std::uint64_t withItems = 0;
    std::map<std::string, std::uint64_t> kinds;
    while (true) {
        if (runs && done >= runs)
            break;
        if (seconds > 0 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds)
            break;
        const auto& sample = samples[done % samples.size()];
        // The samples themselves first, then changed ones.
        auto bytes = done < samples.size() ? sample.bytes : mutator.mutate(sample.bytes, samples);
        writeFile(scratch / "current", sample.format + "\n");
        writeFile(scratch / ("current." + sample.format), bytes);
        ::alarm(20);
        auto outcome = runOnce(target, sample, bytes, scratch);
        ::alarm(0);
        ++done;
        refused += outcome.wasRefused;
        withItems += outcome.itemCount > 0;
        if (outcome.isFinding) {
            ++found;
            if (kinds[outcome.what]++ == 0)
                std::cerr << "ImportFuzzer: finding: " << outcome.what << "\n";
            if (!findings.empty())
                writeFile(findings / (sample.format + "." + hexHash(bytes)), bytes);
        }
        if (done % 5000 == 0)
            std::cerr << "ImportFuzzer " << target << ": " << done << " runs, " << found << " findings\n";
    }
    std::cerr << "ImportFuzzer " << target << ": " << done << " runs, " << found << " findings, " << withItems << " read items, " << refused
              << " refused, " << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << " s\n";
    fs::remove_all(scratch);
    return found ? 1 : 0;
}
