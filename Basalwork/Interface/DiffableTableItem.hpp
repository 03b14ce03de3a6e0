#pragma once

#include "Basalwork/Interface/Identifiable.hpp"

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/CGFloat.hpp"

#include <concepts>
#include <memory>
#include <optional>

namespace UIKit {
class UITableView;
class UITableViewCell;
} // namespace UIKit

namespace Basalwork {

// A row of a diffable table: registers the cells it dequeues once per table, measures itself when it
// can, and configures a fresh or an already shown cell.
template <class T>
concept DiffableTableItem = Identifiable<T> && std::equality_comparable<T>
    && requires(const T& item, UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath, UIKit::CGFloat width,
                bool animated) {
           T::registerReusableViews(tableView);
           { item.estimatedHeight(width) } -> std::same_as<std::optional<UIKit::CGFloat>>;
           { item.heightRequired(width) } -> std::same_as<std::optional<UIKit::CGFloat>>;
           { item.dequeueUpdatedCell(tableView, indexPath) } -> std::convertible_to<std::shared_ptr<UIKit::UITableViewCell>>;
           item.updateCell(tableView, indexPath, animated);
       };

// What a row answers unless it says otherwise: a row type derives from this and declares only what it
// measures itself. No height means the table lays the row out.
struct DiffableTableItemDefaults {
    std::optional<UIKit::CGFloat> estimatedHeight(UIKit::CGFloat /*givenContentWidth*/) const { return std::nullopt; }
    std::optional<UIKit::CGFloat> heightRequired(UIKit::CGFloat /*givenContentWidth*/) const { return std::nullopt; }

    // So that a row type can default its own equality.
    friend bool operator==(const DiffableTableItemDefaults&, const DiffableTableItemDefaults&) = default;
};

} // namespace Basalwork
