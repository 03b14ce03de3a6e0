#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <optional>
#include <ranges>
#include <vector>

namespace Basalwork {

// One row of a CSV file: a value per field, nothing for a field left empty.
using CSVRow = std::vector<std::optional<Foundation::String>>;

// A value of a data row with the header label at its position.
struct CSVNamedValue {
    std::optional<Foundation::String> columnLabel;
    std::optional<Foundation::String> value;

    friend bool operator==(const CSVNamedValue&, const CSVNamedValue&) = default;
};

using CSVNamedRow = std::vector<CSVNamedValue>;

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

// firstValue(withColumnLabel:): that pair's value; nothing without such a pair.
template <class Pairs, class Label>
    requires CSVNamedValuesWithLabel<Pairs, Label>
std::optional<Foundation::String> firstValueWithColumnLabel(const Pairs& pairs, const Label& columnLabel)
{
    auto pair = firstWithColumnLabel(pairs, columnLabel);
    return pair ? pair->value : std::nullopt;
}

} // namespace Basalwork
