#pragma once

#include "Basalwork/Base/CSVNamedValue.hpp"
#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <ranges>
#include <unordered_map>
#include <vector>

namespace Basalwork {

// A data row's values, each with the header label at its position. Every row of one reading shares the
// header, and the position of each label is looked up once for all of them; the row holds only its values.
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
    CSVNamedRow(std::shared_ptr<const Header> header, CSVRow values);

    std::size_t size() const { return m_values.size(); }
    bool empty() const { return m_values.empty(); }
    CSVNamedValue operator[](std::size_t i) const { return {columnLabel(i), m_values[i]}; }
    const std::optional<Foundation::String>& columnLabel(std::size_t i) const { return m_header->labels()[i]; }
    const std::optional<Foundation::String>& value(std::size_t i) const { return m_values[i]; }
    const std::shared_ptr<const Header>& header() const { return m_header; }

    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, m_values.size()}; }

    friend bool operator==(const CSVNamedRow& lhs, const CSVNamedRow& rhs);

private:
    std::shared_ptr<const Header> m_header;
    CSVRow m_values;
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
