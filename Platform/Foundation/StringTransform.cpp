#include "Platform/Foundation/StringTransform.hpp"

#include <map>
#include <memory>

#include <unicode/translit.h>

namespace Foundation {

std::optional<String> String::applyingTransform(const StringTransform& transform, bool reverse) const
{
    // Building a transliterator compiles its rules, so each thread keeps the ones it has used; an
    // instance is not to be shared between threads.
    thread_local std::map<std::pair<std::string, bool>, std::unique_ptr<icu::Transliterator>> cache;
    auto& transliterator = cache[{transform.rawValue, reverse}];
    if (!transliterator) {
        UErrorCode status = U_ZERO_ERROR;
        transliterator.reset(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8(transform.rawValue), reverse ? UTRANS_REVERSE : UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            transliterator.reset();
        if (!transliterator)
            return std::nullopt;
    }
    auto text = icu::UnicodeString::fromUTF8(m_utf8);
    transliterator->transliterate(text);
    std::string result;
    text.toUTF8String(result);
    return String(std::move(result));
}

} // namespace Foundation
