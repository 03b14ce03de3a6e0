#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/CGFloat.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

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
    virtual void didSelectRowAt(UITableView& /*tableView*/, const Foundation::IndexPath& /*indexPath*/) {}
};

} // namespace UIKit
