#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace Foundation {

// The name of a method as messages name it: "handleLockCommand", "handleCopyPasswordCommand:". Names are
// interned, so selectors compare and hash as pointers. Each colon stands for one argument.
class Selector {
public:
    // No selector.
    Selector() = default;
    explicit Selector(std::string_view name);

    const std::string& name() const;
    std::size_t argumentCount() const;
    explicit operator bool() const { return m_name != nullptr; }

    friend bool operator==(Selector, Selector) = default;
    // An order for maps and sets; it follows interning, not the names.
    friend std::strong_ordering operator<=>(Selector lhs, Selector rhs)
    {
        return std::compare_three_way()(lhs.m_name, rhs.m_name);
    }

private:
    friend struct std::hash<Selector>;
    const std::string* m_name = nullptr;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::Selector> {
    std::size_t operator()(Foundation::Selector selector) const noexcept
    {
        return std::hash<const void*>()(selector.m_name);
    }
};
