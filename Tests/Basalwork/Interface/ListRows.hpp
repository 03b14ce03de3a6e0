#pragma once

#include "Basalwork/Interface/Difference.hpp"

#include "Platform/Foundation/String.hpp"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Rows and sections as a table screen builds them, for the list tests.
namespace ListRows {

struct Row {
    Foundation::String identifier;
    int content = 0;

    const Foundation::String& id() const { return identifier; }
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.identifier.utf8() << ":" << row.content; }
};

struct Section {
    using Item = Row;
    Foundation::String identifier;
    std::vector<Row> rows;

    const Foundation::String& id() const { return identifier; }
    const std::vector<Row>& items() const { return rows; }
    friend bool operator==(const Section&, const Section&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Section& section)
    {
        out << section.identifier.utf8() << "[";
        for (const auto& row : section.rows)
            out << row << " ";
        return out << "]";
    }
};

// Rows named by one letter each, all with the same content.
inline std::vector<Row> rows(const std::string& letters)
{
    std::vector<Row> result;
    for (char letter : letters)
        result.push_back({std::string(1, letter), 0});
    return result;
}

} // namespace ListRows

namespace Basalwork {
inline void PrintTo(const Difference& difference, std::ostream* out)
{
    *out << difference.description();
}
} // namespace Basalwork
