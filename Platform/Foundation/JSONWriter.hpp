#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace Foundation {

// Writes a JSON tree as the platform's encoder prints it: numbers in their shortest form without a
// trailing ".0", "/" escaped unless asked not to, pretty output indented by two spaces with " : "
// between key and value.
class JSONWriter {
public:
    struct Options {
        bool prettyPrinted = false;
        bool sortedKeys = false;
        bool withoutEscapingSlashes = false;
    };

    static std::string write(const nlohmann::ordered_json& value, Options options);
    // A number's text as written; "1.5", "42", "1e+100".
    static std::string numberText(const nlohmann::ordered_json& number);
    static std::string numberText(double number);
};

} // namespace Foundation
