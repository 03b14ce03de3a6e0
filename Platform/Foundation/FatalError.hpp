#pragma once

#include <string_view>

namespace Foundation {

// A programming error: writes "Fatal error: <message>" to standard error and aborts the process.
[[noreturn]] void fatalError(std::string_view message = "");

// The precondition form: stops with the message when the condition does not hold.
inline void precondition(bool condition, std::string_view message = "")
{
    if (!condition)
        fatalError(message);
}

} // namespace Foundation
