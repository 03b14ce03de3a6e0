#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace UIKit {

class UIContextMenuConfiguration;
class UISwipeActionsConfiguration;
class UITableView;
class UITableViewCell;
class UITableViewHeaderFooterView;
class UIView;

// How a table lays its rows out and what it tells about them. Every answer defaults to the table's own
// setting. The table holds its delegate weakly.
class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;

    virtual CGFloat heightForRowAt(UITableView& tableView, const Foundation::IndexPath& indexPath);
    virtual CGFloat estimatedHeightForRowAt(UITableView& tableView, const Foundation::IndexPath& indexPath);
    virtual CGFloat heightForHeaderInSection(UITableView& tableView, std::int64_t section);
    virtual CGFloat heightForFooterInSection(UITableView& tableView, std::int64_t section);
    virtual std::shared_ptr<UIView> viewForHeaderInSection(UITableView& /*tableView*/, std::int64_t /*section*/)
    {
        return nullptr;
    }
    virtual std::shared_ptr<UIView> viewForFooterInSection(UITableView& /*tableView*/, std::int64_t /*section*/)
    {
        return nullptr;
    }
    virtual void willDisplay(UITableView& /*tableView*/, UITableViewCell& /*cell*/,
                             const Foundation::IndexPath& /*forRowAt*/)
    {
    }
    virtual bool shouldHighlightRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) { return true; }
    virtual void didHighlightRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) {}
    virtual void didUnhighlightRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) {}
    // The row to select instead, or none to select nothing.
    virtual std::optional<Foundation::IndexPath> willSelectRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& indexPath)
    {
        return indexPath;
    }
    virtual void didSelectRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) {}
    virtual std::optional<Foundation::IndexPath> willDeselectRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& indexPath)
    {
        return indexPath;
    }
    virtual void didDeselectRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) {}
    // contextMenuConfigurationForRowAt(_:point:) in the table's coordinates; none offers no menu.
    virtual std::shared_ptr<UIContextMenuConfiguration> contextMenuConfigurationForRowAt(UITableView& /*tableView*/,
                                                                                         const Foundation::IndexPath& /*indexPath*/,
                                                                                         CGPoint /*point*/)
    {
        return nullptr;
    }
    virtual std::shared_ptr<UISwipeActionsConfiguration> leadingSwipeActionsConfigurationForRowAt(
        UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/)
    {
        return nullptr;
    }
    virtual std::shared_ptr<UISwipeActionsConfiguration> trailingSwipeActionsConfigurationForRowAt(
        UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/)
    {
        return nullptr;
    }
};

} // namespace UIKit
