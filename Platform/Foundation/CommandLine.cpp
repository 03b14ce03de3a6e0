#include "Platform/Foundation/CommandLine.hpp"

#include <fstream>
#include <iterator>
#include <mutex>

namespace Foundation {
namespace {

std::vector<String> readProcessArguments()
{
    // Read from the kernel so that a library sees the arguments without being handed argv.
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<String> arguments;
    std::size_t start = 0;
    while (start < raw.size()) {
        auto end = raw.find('\0', start);
        if (end == std::string::npos)
            end = raw.size();
        arguments.emplace_back(raw.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

struct State {
    std::mutex mutex;
    std::optional<std::vector<String>> arguments;
};

State& state()
{
    static auto* instance = new State;
    return *instance;
}

} // namespace

std::vector<String> CommandLine::arguments()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.arguments)
        s.arguments = readProcessArguments();
    return *s.arguments;
}

void CommandLine::setArguments(std::vector<String> arguments)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.arguments = std::move(arguments);
}

} // namespace Foundation
