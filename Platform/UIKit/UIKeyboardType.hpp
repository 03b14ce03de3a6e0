#pragma once

#include <cstdint>

namespace UIKit {

// Which keyboard a text input asks for; recorded.
enum class UIKeyboardType : std::int64_t {
    default_,
    asciiCapable,
    numbersAndPunctuation,
    URL,
    numberPad,
    phonePad,
    namePhonePad,
    emailAddress,
    decimalPad,
    twitter,
    webSearch,
    asciiCapableNumberPad,
};

} // namespace UIKit
