#pragma once

#include "Basalwork/Base/CSVNamedValue.hpp"
#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <ranges>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Basalwork {

// A data row's values, each with the header label at its position. Every row of one reading shares the
// header, and the position of each label is looked up once for all of them; the rows of one reading also
// share large blocks holding their values' bytes (see CSVNamedRows), so a row has no storage of its own.
// Reads as a sequence of `CSVNamedValue`s.
class CSVNamedRow {
public:
    using Labels = std::vector<std::optional<Foundation::String>>;

    class Header {
    public:
        explicit Header(Labels labels);
        const Labels& labels() const { return m_labels; }
        // The position of the first label equal to `label`.
        std::optional<std::size_t> firstIndex(const Foundation::String& label) const;

    private:
        Labels m_labels;
        std::unordered_map<Foundation::String, std::size_t> m_firstIndex;
    };

    class Iterator {
    public:
        using iterator_concept = std::forward_iterator_tag;
        using value_type = CSVNamedValue;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        CSVNamedValue operator*() const { return (*m_row)[m_index]; }
        Iterator& operator++() { ++m_index; return *this; }
        Iterator operator++(int) { auto copy = *this; ++m_index; return copy; }
        friend bool operator==(const Iterator&, const Iterator&) = default;

    private:
        friend class CSVNamedRow;
        Iterator(const CSVNamedRow* row, std::size_t index) : m_row(row), m_index(index) { }
        const CSVNamedRow* m_row = nullptr;
        std::size_t m_index = 0;
    };

    CSVNamedRow() = default;
    CSVNamedRow(std::initializer_list<CSVNamedValue> pairs);
    // The row must have a value per label.
    CSVNamedRow(std::shared_ptr<const Header> header, const CSVRow& values);

    // A value per label.
    std::size_t size() const { return m_header ? m_header->labels().size() : 0; }
    bool empty() const { return size() == 0; }
    CSVNamedValue operator[](std::size_t i) const { return {columnLabel(i), value(i)}; }
    const std::optional<Foundation::String>& columnLabel(std::size_t i) const { return m_header->labels()[i]; }
    std::optional<Foundation::String> value(std::size_t i) const
    {
        auto bytes = valueBytes(i);
        return bytes ? std::optional<Foundation::String>(std::in_place, Foundation::String::CheckedUTF8 {}, *bytes) : std::nullopt;
    }
    // The value's UTF-8 bytes where the row keeps them, for a caller that only looks at them.
    std::optional<std::string_view> valueBytes(std::size_t i) const
    {
        // The row's text: the width of its numbers, a number per value, then the values' bytes. Each
        // number is the value's end counted from where the bytes begin, and whether it is there at all in
        // the low bit; numbers are as wide as the row's longest needs.
        const unsigned width = static_cast<unsigned char>(m_text[0]);
        const std::size_t end = endAt(width, i);
        if (!(end & 1))
            return std::nullopt;
        const std::size_t start = i == 0 ? 0 : endAt(width, i - 1) >> 1;
        return std::string_view(m_text + width * (size() + 1) + start, (end >> 1) - start);
    }
    // Also keeps the row's values.
    const std::shared_ptr<const Header>& header() const { return m_header; }

    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    friend bool operator==(const CSVNamedRow& lhs, const CSVNamedRow& rhs);

private:
    friend class CSVNamedRows;
    CSVNamedRow(std::shared_ptr<const Header> header, const char* text)
        : m_header(std::move(header))
        , m_text(text)
    {
    }
    std::size_t endAt(unsigned width, std::size_t i) const
    {
        const char* at = m_text + width * (i + 1);
        if (width == 2)
            return load<std::uint16_t>(at);
        return width == 4 ? load<std::uint32_t>(at) : load<std::uint64_t>(at);
    }
    template <class Number>
    static std::size_t load(const char* at)
    {
        Number number;
        std::memcpy(&number, at, sizeof number);
        return number;
    }

    // Shares ownership of whatever holds the values.
    std::shared_ptr<const Header> m_header;
    // The values, as `valueBytes` reads them.
    const char* m_text = nullptr;
};

// Makes the rows of one reading: they share the header, and blocks that hold their values' bytes and
// live as long as any of the rows. A row then costs no allocation of its own.
class CSVNamedRows {
public:
    explicit CSVNamedRows(std::shared_ptr<const CSVNamedRow::Header> header);
    CSVNamedRows(const CSVNamedRows&) = delete;
    CSVNamedRows& operator=(const CSVNamedRows&) = delete;
    ~CSVNamedRows();

    // A row of these values, one per label, nothing for a missing one; the bytes are copied and must be UTF-8.
    CSVNamedRow make(std::span<const std::optional<std::string_view>> values);

private:
    struct Storage;
    std::shared_ptr<Storage> m_storage;
    // The header, owning the storage too: what every row holds.
    std::shared_ptr<const CSVNamedRow::Header> m_rowHeader;
};

template <class Pairs, class Label>
concept CSVNamedValuesWithLabel =
    std::ranges::input_range<const Pairs&>
    && std::convertible_to<std::ranges::range_reference_t<const Pairs&>, const CSVNamedValue&>
    && Foundation::RawRepresentable<Label>
    && std::same_as<typename Foundation::RawRepresentation<Label>::RawValue, Foundation::String>;

// first(withColumnLabel:): the first pair whose label is the label's raw value; unlabelled pairs never match.
template <class Pairs, class Label>
    requires CSVNamedValuesWithLabel<Pairs, Label>
std::optional<CSVNamedValue> firstWithColumnLabel(const Pairs& pairs, const Label& columnLabel)
{
    const Foundation::String label = Foundation::rawValue(columnLabel);
    for (const CSVNamedValue& pair : pairs) {
        if (pair.columnLabel && *pair.columnLabel == label)
            return pair;
    }
    return std::nullopt;
}

template <class Label>
    requires CSVNamedValuesWithLabel<CSVNamedRow, Label>
std::optional<CSVNamedValue> firstWithColumnLabel(const CSVNamedRow& row, const Label& columnLabel)
{
    if (!row.header())
        return std::nullopt;
    auto index = row.header()->firstIndex(Foundation::rawValue(columnLabel));
    return index ? std::optional(row[*index]) : std::nullopt;
}

// firstValue(withColumnLabel:): that pair's value; nothing without such a pair.
template <class Pairs, class Label>
    requires CSVNamedValuesWithLabel<Pairs, Label>
std::optional<Foundation::String> firstValueWithColumnLabel(const Pairs& pairs, const Label& columnLabel)
{
    if constexpr (std::same_as<Pairs, CSVNamedRow>) {
        if (!pairs.header())
            return std::nullopt;
        auto index = pairs.header()->firstIndex(Foundation::rawValue(columnLabel));
        return index ? pairs.value(*index) : std::nullopt;
    } else {
        auto pair = firstWithColumnLabel(pairs, columnLabel);
        return pair ? pair->value : std::nullopt;
    }
}

} // namespace Basalwork
