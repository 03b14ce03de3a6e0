#pragma once

#include "Basalwork/Interface/DiffableSection.hpp"
#include "Basalwork/Interface/DiffableTableItem.hpp"

#include "Platform/UIKit/CGFloat.hpp"

#include <concepts>
#include <memory>
#include <optional>

namespace UIKit {
class UITableView;
class UITableViewHeaderFooterView;
} // namespace UIKit

namespace Basalwork {

// A section of a diffable table: its rows are table rows, and it may show a header and a footer view.
template <class S>
concept DiffableTableSection = DiffableSection<S> && DiffableTableItem<typename S::Item>
    && requires(const S& section, UIKit::UITableView& tableView, UIKit::UITableViewHeaderFooterView& view, UIKit::CGFloat width) {
           S::registerReusableViews(tableView);
           { section.heightForHeader(width) } -> std::same_as<std::optional<UIKit::CGFloat>>;
           { section.dequeueUpdatedHeaderView(tableView) } -> std::convertible_to<std::shared_ptr<UIKit::UITableViewHeaderFooterView>>;
           section.updateHeaderView(view);
           { section.heightForFooter(width) } -> std::same_as<std::optional<UIKit::CGFloat>>;
           { section.dequeueUpdatedFooterView(tableView) } -> std::convertible_to<std::shared_ptr<UIKit::UITableViewHeaderFooterView>>;
           section.updateFooterView(view);
       };

// What a section answers unless it says otherwise: no header and no footer. A section type derives from
// this and declares only what it shows.
struct DiffableTableSectionDefaults {
    std::optional<UIKit::CGFloat> heightForHeader(UIKit::CGFloat /*givenContentWidth*/) const { return std::nullopt; }
    std::shared_ptr<UIKit::UITableViewHeaderFooterView> dequeueUpdatedHeaderView(UIKit::UITableView& /*tableView*/) const
    {
        return nullptr;
    }
    void updateHeaderView(UIKit::UITableViewHeaderFooterView& /*headerView*/) const {}
    std::optional<UIKit::CGFloat> heightForFooter(UIKit::CGFloat /*givenContentWidth*/) const { return std::nullopt; }
    std::shared_ptr<UIKit::UITableViewHeaderFooterView> dequeueUpdatedFooterView(UIKit::UITableView& /*tableView*/) const
    {
        return nullptr;
    }
    void updateFooterView(UIKit::UITableViewHeaderFooterView& /*footerView*/) const {}

    friend bool operator==(const DiffableTableSectionDefaults&, const DiffableTableSectionDefaults&) = default;
};

} // namespace Basalwork
