#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <any>
#include <cstdint>
#include <memory>
#include <unordered_map>

namespace Foundation {

// Immutable text with attributes. Every attributed text our code builds carries one set of attributes
// over its whole length, so that is all this holds.
class NSAttributedString : public NSObject {
public:
    struct Key;
    using Attributes = std::unordered_map<Key, std::any>;

    const String& string() const { return m_string; }
    // In UTF-16 code units, as the platform counts.
    std::int64_t length() const;
    // attributes(at:effectiveRange:); a location at or past the end stops the program.
    const Attributes& attributes(std::int64_t at) const;

protected:
    friend Construct;
    // init(string:attributes:)
    explicit NSAttributedString(String string);
    NSAttributedString(String string, Attributes attributes);

private:
    String m_string;
    std::shared_ptr<const Attributes> m_attributes; // the key type is complete only after this class
};

} // namespace Foundation

#include "Platform/Foundation/NSAttributedString.Key.hpp"
