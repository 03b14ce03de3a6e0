// Text is everywhere in the item list (search, sorting, CSV); these show what the ASCII fast paths buy.
#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/String.hpp"

#include <benchmark/benchmark.h>

using Foundation::CharacterSet;
using Foundation::String;

namespace {

String asciiText() { return String(std::string(1000, 'a') + " ,\n"); }
String unicodeText()
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "e\xCC\x81\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA \xC3\xA9";
    return String(text);
}

void countASCII(benchmark::State& state)
{
    auto text = asciiText();
    for (auto _ : state)
        benchmark::DoNotOptimize(text.count());
}
BENCHMARK(countASCII);

void countUnicode(benchmark::State& state)
{
    auto text = unicodeText();
    for (auto _ : state)
        benchmark::DoNotOptimize(text.count());
}
BENCHMARK(countUnicode);

void equalityUnicode(benchmark::State& state)
{
    auto lhs = unicodeText();
    auto rhs = String(lhs.utf8());
    for (auto _ : state)
        benchmark::DoNotOptimize(lhs == rhs);
}
BENCHMARK(equalityUnicode);

void trimASCII(benchmark::State& state)
{
    auto text = String("   " + asciiText().utf8() + "   ");
    for (auto _ : state)
        benchmark::DoNotOptimize(text.trimmingCharacters(CharacterSet::whitespacesAndNewlines()));
}
BENCHMARK(trimASCII);

void splitASCII(benchmark::State& state)
{
    std::string raw;
    for (int i = 0; i < 200; ++i)
        raw += "field,";
    String text(raw);
    for (auto _ : state)
        benchmark::DoNotOptimize(text.split(Foundation::Character(',')));
}
BENCHMARK(splitASCII);

} // namespace
