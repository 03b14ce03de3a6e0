#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string>

namespace Foundation {

// A position in a sectioned list: a section, then a row (tables) or an item (collections) within it.
// Row and item are two names for the same second index. Paths order section first.
class IndexPath {
public:
    static constexpr IndexPath withRow(std::int64_t row, std::int64_t section) { return IndexPath(section, row); }
    static constexpr IndexPath withItem(std::int64_t item, std::int64_t section) { return IndexPath(section, item); }

    constexpr std::int64_t section() const { return m_section; }
    constexpr std::int64_t row() const { return m_item; }
    constexpr std::int64_t item() const { return m_item; }

    // "[section, item]"
    std::string description() const { return "[" + std::to_string(m_section) + ", " + std::to_string(m_item) + "]"; }

    friend constexpr bool operator==(const IndexPath&, const IndexPath&) = default;
    friend constexpr std::strong_ordering operator<=>(const IndexPath&, const IndexPath&) = default;

private:
    constexpr IndexPath(std::int64_t section, std::int64_t item)
        : m_section(section)
        , m_item(item)
    {
    }

    // Declared section first, so the defaulted ordering compares sections before items.
    std::int64_t m_section;
    std::int64_t m_item;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::IndexPath> {
    std::size_t operator()(const Foundation::IndexPath& path) const
    {
        std::size_t seed = std::hash<std::int64_t> {}(path.section());
        return seed ^ (std::hash<std::int64_t> {}(path.item()) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
    }
};
