#pragma once

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Foundation {

// The process's arguments, the program path first. Tests replace them.
class CommandLine {
public:
    static std::vector<String> arguments();
    static void setArguments(std::vector<String> arguments);
};

} // namespace Foundation
