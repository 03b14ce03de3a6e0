// The JSON coder on what the vault seals: one item's revision encoded and decoded, and a list of them
// as an export writes it. One thread, so that the figures hold on a busy machine.
#include "Shared/Model/Entry.hpp"
#include "Shared/Model/EntryRevision.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"

#include <benchmark/benchmark.h>

using namespace Shared;

namespace {

Entry sampleEntry(int i)
{
    auto now = Foundation::Date(800'000'000 + i);
    auto entry = Entry::make(Entry::Category::login, now);
    entry.setText(Foundation::String("Site " + std::to_string(i) + ", Zürich"), Entry::SystemField::ID::title, now);
    entry.setText(Foundation::String("user" + std::to_string(i) + "@example.com"), Entry::SystemField::ID::username, now);
    entry.setText(Foundation::String("secret/" + std::to_string(i * 7919) + "\"quoted\""), Entry::SystemField::ID::password, now);
    entry.setText(Foundation::String("https://site" + std::to_string(i) + ".example.com/login"), Entry::SystemField::ID::website, now);
    entry.setText(Foundation::String("Notes for item " + std::to_string(i) + "\nsecond line, with a comma"), Entry::SystemField::ID::notes, now);
    entry.setText(Foundation::String("secret-" + std::to_string(i + 1)), Entry::SystemField::ID::password, now);
    return entry;
}

void EncodeRevision(benchmark::State& state)
{
    auto revision = EntryRevision::make(sampleEntry(1));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto data = revision.encoded();
        bytes += data.count();
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(EncodeRevision);

void DecodeRevision(benchmark::State& state)
{
    auto data = EntryRevision::make(sampleEntry(1)).encoded();
    for (auto _ : state)
        benchmark::DoNotOptimize(EntryRevision::decoded(data));
    state.SetBytesProcessed(static_cast<std::int64_t>(data.count() * state.iterations()));
}
BENCHMARK(DecodeRevision);

std::vector<Entry> sampleEntries()
{
    std::vector<Entry> entries;
    for (int i = 0; i < 1000; ++i)
        entries.push_back(sampleEntry(i));
    return entries;
}

void EncodeList(benchmark::State& state)
{
    auto entries = sampleEntries();
    auto encoder = Foundation::make<Foundation::JSONEncoder>();
    encoder->setOutputFormatting(Foundation::JSONEncoder::OutputFormatting::prettyPrinted | Foundation::JSONEncoder::OutputFormatting::sortedKeys);
    for (auto _ : state)
        benchmark::DoNotOptimize(encoder->encode(entries));
    state.SetItemsProcessed(static_cast<std::int64_t>(entries.size() * state.iterations()));
}
BENCHMARK(EncodeList)->Unit(benchmark::kMillisecond);

void DecodeList(benchmark::State& state)
{
    auto data = Foundation::make<Foundation::JSONEncoder>()->encode(sampleEntries());
    auto decoder = Foundation::make<Foundation::JSONDecoder>();
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder->decode<std::vector<Entry>>(data));
    state.SetItemsProcessed(static_cast<std::int64_t>(1000 * state.iterations()));
}
BENCHMARK(DecodeList)->Unit(benchmark::kMillisecond);

} // namespace
