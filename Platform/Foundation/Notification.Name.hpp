#pragma once

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>

namespace Foundation {

// A notification's name: two names are the same notification when their texts are equal.
class Notification::Name {
public:
    explicit Name(String rawValue)
        : m_rawValue(std::move(rawValue))
    {
    }

    const String& rawValue() const { return m_rawValue; }

    friend bool operator==(const Name&, const Name&) = default;

private:
    String m_rawValue;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::Notification::Name> {
    std::size_t operator()(const Foundation::Notification::Name& name) const { return name.rawValue().hash(); }
};
