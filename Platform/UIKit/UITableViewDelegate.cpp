#include "Platform/UIKit/UITableViewDelegate.hpp"

#include "Platform/UIKit/UITableView.hpp"

namespace UIKit {

CGFloat UITableViewDelegate::heightForRowAt(UITableView& tableView, const Foundation::IndexPath& /*indexPath*/)
{
    return tableView.rowHeight();
}

CGFloat UITableViewDelegate::estimatedHeightForRowAt(UITableView& tableView, const Foundation::IndexPath& /*indexPath*/)
{
    return tableView.estimatedRowHeight();
}

CGFloat UITableViewDelegate::heightForHeaderInSection(UITableView& tableView, std::int64_t /*section*/)
{
    return tableView.sectionHeaderHeight();
}

CGFloat UITableViewDelegate::heightForFooterInSection(UITableView& tableView, std::int64_t /*section*/)
{
    return tableView.sectionFooterHeight();
}

} // namespace UIKit
