// A table screen diffs its whole content on every change; these show what that costs for a vault of a
// few thousand items.
#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/ChangeSet.hpp"

#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Row {
    Foundation::String identifier;
    std::int64_t content = 0;
    const Foundation::String& id() const { return identifier; }
    friend bool operator==(const Row&, const Row&) = default;
};

struct Section {
    using Item = Row;
    Foundation::String identifier;
    std::vector<Row> rows;
    const Foundation::String& id() const { return identifier; }
    const std::vector<Row>& items() const { return rows; }
};

// Identifiers as long as the UUIDs that items carry, so that none fits the short-string buffer.
Foundation::String identifier(std::int64_t n)
{
    auto digits = std::to_string(n);
    return Foundation::String(std::string(36 - digits.size(), '0') + digits);
}

std::vector<Row> rows(std::int64_t count, std::int64_t offset = 0)
{
    std::vector<Row> result;
    for (std::int64_t n = 0; n < count; ++n)
        result.push_back({identifier(offset + n), 0});
    return result;
}

// `rowCount` rows in 20 sections, as an item list grouped by first letter.
std::vector<Section> vault(std::int64_t rowCount)
{
    std::vector<Section> sections;
    const std::int64_t perSection = rowCount / 20;
    for (std::int64_t s = 0; s < 20; ++s)
        sections.push_back({std::string(1, static_cast<char>('A' + s)), rows(perSection, s * perSection)});
    return sections;
}

// One edit of each kind in a few sections, one section gone and one new: a sync that touched a handful of
// items.
void changeSetAfterASync(benchmark::State& state)
{
    const auto old = vault(state.range(0));
    auto changed = old;
    std::mt19937_64 random(7);
    for (int edit = 0; edit < 10; ++edit) {
        auto& section = changed[random() % changed.size()].rows;
        section[random() % section.size()].content += 1;
        std::rotate(section.begin(), section.begin() + 1, section.begin() + 3);
        section.erase(section.begin() + static_cast<std::ptrdiff_t>(random() % section.size()));
        section.push_back({identifier(1'000'000 + edit), 0});
    }
    changed.erase(changed.begin() + 3);
    changed.push_back({"new", rows(5, 2'000'000)});
    for (auto _ : state)
        benchmark::DoNotOptimize(Basalwork::ChangeSet(old, changed));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(changeSetAfterASync)->Arg(1000)->Arg(5000);

// The worst order change: every row moves.
void differencesOfAReversedList(benchmark::State& state)
{
    const auto old = rows(state.range(0));
    auto reversed = old;
    std::ranges::reverse(reversed);
    for (auto _ : state)
        benchmark::DoNotOptimize(Basalwork::differences(old, reversed));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(differencesOfAReversedList)->Arg(1000)->Arg(5000);

// One identifier throughout: pairing its occurrences must stay linear.
void differencesOfRepeatedIdentifiers(benchmark::State& state)
{
    const std::vector<Row> old(static_cast<std::size_t>(state.range(0)), Row {identifier(0), 0});
    const std::vector<Row> fewer(old.begin() + 1, old.end());
    for (auto _ : state)
        benchmark::DoNotOptimize(Basalwork::differences(old, fewer));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(differencesOfRepeatedIdentifiers)->Arg(1000)->Arg(5000);

} // namespace
