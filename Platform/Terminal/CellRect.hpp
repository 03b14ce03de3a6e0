#pragma once

#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/TextGrid.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Terminal {

// A rectangle of character cells: columns from the left, rows from the top.
struct CellRect {
    std::int64_t column = 0;
    std::int64_t row = 0;
    std::int64_t columns = 0;
    std::int64_t rows = 0;

    std::int64_t right() const { return column + columns; }
    std::int64_t bottom() const { return row + rows; }
    bool isEmpty() const { return columns <= 0 || rows <= 0; }
    bool contains(std::int64_t atColumn, std::int64_t atRow) const
    {
        return atColumn >= column && atColumn < right() && atRow >= row && atRow < bottom();
    }
    CellRect intersection(const CellRect& other) const
    {
        const auto left = std::max(column, other.column);
        const auto top = std::max(row, other.row);
        return {left, top, std::max<std::int64_t>(0, std::min(right(), other.right()) - left),
                std::max<std::int64_t>(0, std::min(bottom(), other.bottom()) - top)};
    }
    // The cells a rectangle of screen points covers on the text grid (`UIKit::TextGrid`). Edges are
    // rounded to the nearest cell line, so a laid-out text lands exactly on its cells.
    static CellRect covering(const UIKit::CGRect& points)
    {
        auto line = [](UIKit::CGFloat value, UIKit::CGFloat cell) { return static_cast<std::int64_t>(std::lround(value / cell)); };
        const auto left = line(points.origin.x, UIKit::TextGrid::columnWidth);
        const auto top = line(points.origin.y, UIKit::TextGrid::lineHeight);
        return {left, top, line(points.origin.x + points.size.width, UIKit::TextGrid::columnWidth) - left, line(points.origin.y + points.size.height, UIKit::TextGrid::lineHeight) - top};
    }

    friend bool operator==(const CellRect&, const CellRect&) = default;
};

} // namespace Terminal
