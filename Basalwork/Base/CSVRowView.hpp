#pragma once

#include "Basalwork/Base/CSVRow.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace Basalwork {

// One row as CSVRowReader reads it, each field a view of the reader's own buffers instead of a String of
// its own: valid until the reader reads again. The fields are the CSVRow's, nothing for a field left empty;
// `row()` makes the CSVRow for a caller that keeps it.
class CSVRowView {
public:
    // Where a field's bytes are: in the record being scanned, or in the bytes the reader copied for the row
    // (a field that spans records or had an escape taken out).
    enum class Source : std::uint8_t { none, record, copied };
    struct Field {
        std::size_t start = 0;
        std::size_t size = 0;
        Source source = Source::none;
    };

    CSVRowView(const char* record, const char* copied, const Field* fields, std::size_t count)
        : m_record(record)
        , m_copied(copied)
        , m_fields(fields)
        , m_count(count)
    {
    }

    std::size_t size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    // The field's text, valid UTF-8, quotes kept as in CSVRow; nothing for an empty field.
    std::optional<std::string_view> operator[](std::size_t index) const
    {
        const Field& field = m_fields[index];
        if (field.source == Source::none)
            return std::nullopt;
        return std::string_view((field.source == Source::record ? m_record : m_copied) + field.start, field.size);
    }

    CSVRow row() const
    {
        CSVRow row;
        row.reserve(size());
        for (std::size_t index = 0; index < size(); ++index) {
            if (auto text = (*this)[index])
                row.emplace_back(std::in_place, Foundation::String::CheckedUTF8 {}, *text);
            else
                row.emplace_back();
        }
        return row;
    }

private:
    const char* m_record;
    const char* m_copied;
    const Field* m_fields;
    std::size_t m_count;
};

} // namespace Basalwork
