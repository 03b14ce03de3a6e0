#include "Platform/Terminal/Canvas.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/UIKit/TextGrid.hpp"

#include <algorithm>

namespace Terminal {

Canvas::Canvas(std::int64_t columns, std::int64_t rows)
    : m_columns(std::max<std::int64_t>(columns, 0))
    , m_rows(std::max<std::int64_t>(rows, 0))
    , m_cells(static_cast<std::size_t>(m_columns * m_rows))
{
}

void Canvas::put(std::int64_t column, std::int64_t row, std::string text, CellStyle style, std::optional<CellColor> foreground)
{
    // Half a wide character is no character: its other half becomes a blank.
    auto& cell = m_cells[index(column, row)];
    if (cell.text.empty() && column > 0)
        m_cells[index(column - 1, row)].text = " ";
    if (column + 1 < m_columns && m_cells[index(column + 1, row)].text.empty())
        m_cells[index(column + 1, row)].text = " ";
    cell.text = std::move(text);
    cell.style = style;
    cell.foreground = foreground;
}

void Canvas::clear(const CellRect& rect, CellStyle style, std::optional<CellColor> background)
{
    const auto area = rect.intersection(bounds());
    for (auto row = area.row; row < area.bottom(); ++row)
        for (auto column = area.column; column < area.right(); ++column) {
            put(column, row, " ", style, std::nullopt);
            m_cells[index(column, row)].background = background;
        }
}

void Canvas::addStyle(const CellRect& rect, CellStyle style)
{
    const auto area = rect.intersection(bounds());
    for (auto row = area.row; row < area.bottom(); ++row)
        for (auto column = area.column; column < area.right(); ++column) {
            auto& cell = m_cells[index(column, row)];
            cell.style = cell.style | style;
        }
}

std::int64_t Canvas::write(std::int64_t column, std::int64_t row, const Foundation::String& text, CellStyle style, const CellRect& clip,
                           std::optional<CellColor> foreground)
{
    const auto area = clip.intersection(bounds());
    if (row < area.row || row >= area.bottom())
        return 0;
    auto at = column;
    for (const auto& character : text.characters()) {
        const auto width = UIKit::TextGrid::columns(character);
        if (width == 0)
            continue;
        if (at + width > area.right())
            break;
        if (at >= area.column) {
            put(at, row, character.utf8(), style, foreground);
            if (width == 2)
                put(at + 1, row, "", style, foreground);
        }
        at += width;
    }
    return at - column;
}

void Canvas::frame(const CellRect& rect, CellStyle style, const CellRect& clip)
{
    if (rect.columns < 2 || rect.rows < 2)
        return;
    const Foundation::String horizontal("─");
    const Foundation::String vertical("│");
    for (auto column = rect.column + 1; column < rect.right() - 1; ++column) {
        write(column, rect.row, horizontal, style, clip);
        write(column, rect.bottom() - 1, horizontal, style, clip);
    }
    for (auto row = rect.row + 1; row < rect.bottom() - 1; ++row) {
        write(rect.column, row, vertical, style, clip);
        write(rect.right() - 1, row, vertical, style, clip);
    }
    write(rect.column, rect.row, Foundation::String("┌"), style, clip);
    write(rect.right() - 1, rect.row, Foundation::String("┐"), style, clip);
    write(rect.column, rect.bottom() - 1, Foundation::String("└"), style, clip);
    write(rect.right() - 1, rect.bottom() - 1, Foundation::String("┘"), style, clip);
}

std::string Canvas::line(std::int64_t row) const
{
    std::string text;
    for (std::int64_t column = 0; column < m_columns; ++column)
        text += at(column, row).text;
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string Canvas::text() const
{
    std::string text;
    for (std::int64_t row = 0; row < m_rows; ++row)
        text += line(row) + '\n';
    return text;
}

} // namespace Terminal
