#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <utility>

namespace Foundation {

// An attribute's name: two keys are the same attribute when their texts are equal.
struct NSAttributedString::Key {
    explicit Key(String rawValue)
        : m_rawValue(std::move(rawValue))
    {
    }

    // The text attributes the interface kit sets; their values are a UIFont and a UIColor.
    static Key font() { return Key("NSFont"); }
    static Key foregroundColor() { return Key("NSColor"); }

    const String& rawValue() const { return m_rawValue; }

    friend bool operator==(const Key&, const Key&) = default;

private:
    String m_rawValue;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::NSAttributedString::Key> {
    std::size_t operator()(const Foundation::NSAttributedString::Key& key) const { return key.rawValue().hash(); }
};
