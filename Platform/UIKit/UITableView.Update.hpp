#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace UIKit {

// One change a table applied to its rows, with the animation it was asked for (moves have none).
struct UITableView::Update {
    enum class Kind : std::int64_t {
        insertRows,
        deleteRows,
        reloadRows,
        moveRow,
        insertSections,
        deleteSections,
        reloadSections,
        moveSection,
    };

    Kind kind;
    std::vector<Foundation::IndexPath> rows;
    std::vector<std::int64_t> sections;
    std::optional<RowAnimation> animation;
};

} // namespace UIKit
