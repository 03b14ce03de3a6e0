#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Terminal/CellColor.hpp"
#include "Platform/Terminal/CellRect.hpp"
#include "Platform/Terminal/CellStyle.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Terminal {

// The picture of one frame of the display: a grid of character cells, each one character (a grapheme
// cluster, so accents stay with their letters), its style and colours. A wide character fills its cell
// and the next, which holds nothing. Drawing is always clipped: to the canvas and to the rectangle given.
// A cell's background stays when characters are written over it; clearing sets it.
class Canvas {
public:
    struct Cell {
        std::string text = " ";
        CellStyle style = CellStyle::plain;
        std::optional<CellColor> foreground;
        std::optional<CellColor> background;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    Canvas(std::int64_t columns, std::int64_t rows);

    std::int64_t columns() const { return m_columns; }
    std::int64_t rows() const { return m_rows; }
    CellRect bounds() const { return {0, 0, m_columns, m_rows}; }
    const Cell& at(std::int64_t column, std::int64_t row) const { return m_cells[index(column, row)]; }

    // Blanks the cells, with the style and background.
    void clear(const CellRect& rect, CellStyle style = CellStyle::plain, std::optional<CellColor> background = std::nullopt);
    // Adds the style to the cells as they are.
    void addStyle(const CellRect& rect, CellStyle style);
    // Writes one line of text from the cell on, as far as the clip allows; answers the columns it took.
    std::int64_t write(std::int64_t column, std::int64_t row, const Foundation::String& text, CellStyle style, const CellRect& clip,
                       std::optional<CellColor> foreground = std::nullopt);
    // A line drawn around the rectangle's edge cells.
    void frame(const CellRect& rect, CellStyle style, const CellRect& clip);

    // Where the terminal's cursor stands (a text field being typed into), if anywhere.
    const std::optional<std::pair<std::int64_t, std::int64_t>>& cursor() const { return m_cursor; }
    void setCursor(std::optional<std::pair<std::int64_t, std::int64_t>> cursor) { m_cursor = cursor; }

    // The characters only, one line a row without trailing spaces: what a person reads.
    std::string text() const;
    std::string line(std::int64_t row) const;

    friend bool operator==(const Canvas&, const Canvas&) = default;

private:
    std::size_t index(std::int64_t column, std::int64_t row) const
    {
        return static_cast<std::size_t>(row * m_columns + column);
    }
    void put(std::int64_t column, std::int64_t row, std::string text, CellStyle style, std::optional<CellColor> foreground);

    std::int64_t m_columns;
    std::int64_t m_rows;
    std::vector<Cell> m_cells;
    std::optional<std::pair<std::int64_t, std::int64_t>> m_cursor;
};

} // namespace Terminal
