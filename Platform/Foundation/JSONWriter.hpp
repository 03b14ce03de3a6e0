#pragma once

#include "Platform/Foundation/Encoder.hpp"

#include <string>
#include <string_view>

namespace Foundation {

// Writes an encoded tree as the platform's encoder prints it: numbers in their shortest form without a
// trailing ".0", "/" escaped unless asked not to, pretty output indented by two spaces with " : "
// between key and value. A node that was never written is an empty object.
class JSONWriter {
public:
    struct Options {
        bool prettyPrinted = false;
        bool sortedKeys = false;
        bool withoutEscapingSlashes = false;
    };

    static std::string write(const Encoder::Node& root, Options options);
    // A number's text as written; "1.5", "42", "1e+100".
    static std::string numberText(double number);
    static void appendNumber(std::string& out, double number);
    // Appends text as a quoted, escaped string, as `write` writes one.
    static void appendString(std::string& out, std::string_view text, bool escapingSlashes = true);
};

} // namespace Foundation
