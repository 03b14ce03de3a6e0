#pragma once

#include "Basalwork/Interface/ChangeSet.hpp"
#include "Basalwork/Interface/DiffableSection.hpp"
#include "Basalwork/Interface/NibLoadable.hpp"
#include "Basalwork/Interface/ReuseIdentifiable.hpp"

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/UIKit/UITableView.hpp"

#include <concepts>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

namespace Basalwork {

// register(reuseIdentifiableClass:): under the type's reuse identifier.
template <class T>
    requires std::derived_from<T, UIKit::UITableViewCell>
void registerReuseIdentifiableClass(UIKit::UITableView& tableView)
{
    tableView.registerCell<T>(reuseIdentifier<T>());
}
template <class T>
    requires std::derived_from<T, UIKit::UITableViewHeaderFooterView>
void registerReuseIdentifiableClass(UIKit::UITableView& tableView)
{
    tableView.registerHeaderFooterView<T>(reuseIdentifier<T>());
}

// registerNib(forReuseIdentifiableCellClass:bundle:) and (forReuseIdentifiableHeaderFooterClass:bundle:):
// views of the type made from its interface file, under its reuse identifier.
template <class T>
    requires std::derived_from<T, UIKit::UITableViewCell>
void registerNib(UIKit::UITableView& tableView, const std::shared_ptr<Foundation::Bundle>& bundle)
{
    tableView.registerCell(nib<T>(bundle), reuseIdentifier<T>());
}
template <class T>
    requires std::derived_from<T, UIKit::UITableViewHeaderFooterView>
void registerNib(UIKit::UITableView& tableView, const std::shared_ptr<Foundation::Bundle>& bundle)
{
    tableView.registerHeaderFooterView(nib<T>(bundle), reuseIdentifier<T>());
}

// A cell of type T, dequeued under its reuse identifier. Nothing registered under it, or something of
// another type, is the caller's programming error and stops the program, reported at the caller.
template <class T>
    requires std::derived_from<T, UIKit::UITableViewCell>
std::shared_ptr<T> dequeueReusableCell(UIKit::UITableView& tableView, const Foundation::IndexPath& for_,
                                       const std::source_location& location = std::source_location::current())
{
    const auto identifier = reuseIdentifier<T>();
    auto cell = std::dynamic_pointer_cast<T>(tableView.dequeueReusableCell(identifier, for_));
    if (!cell)
        detail::couldNotDequeue(identifier, location);
    return cell;
}

template <class T>
    requires std::derived_from<T, UIKit::UITableViewHeaderFooterView>
std::shared_ptr<T> dequeueReusableHeaderFooterView(UIKit::UITableView& tableView,
                                                   const std::source_location& location = std::source_location::current())
{
    const auto identifier = reuseIdentifier<T>();
    auto view = std::dynamic_pointer_cast<T>(tableView.dequeueReusableHeaderFooterView(identifier));
    if (!view)
        detail::couldNotDequeue(identifier, location);
    return view;
}

// The width rows are laid out and their heights cached under: the bounds less the safe area's sides.
UIKit::CGFloat adjustedContentWidth(const UIKit::UITableView& tableView);

// Applies a change set: a reload reloads everything; otherwise the data source is updated and the
// rows and sections changed in one batch, then every row on screen is reconfigured in a second batch,
// which carries the completion. Sections always fade, whatever the row animations.
void performBatchUpdates(UIKit::UITableView& tableView, const ChangeSet& for_, const std::function<void()>& updateDatasource,
                         UIKit::UITableView::RowAnimation removeAnimation, UIKit::UITableView::RowAnimation insertAnimation,
                         const std::function<void(const Foundation::IndexPath&)>& updateCell,
                         std::function<void(bool)> completion);

template <DiffableSection Section>
void performBatchUpdates(UIKit::UITableView& tableView, const std::vector<Section>& from, const std::vector<Section>& to,
                         const std::function<void()>& updateDatasource, UIKit::UITableView::RowAnimation removeAnimation,
                         UIKit::UITableView::RowAnimation insertAnimation,
                         const std::function<void(const Foundation::IndexPath&)>& updateCell,
                         std::function<void(bool)> completion)
{
    performBatchUpdates(tableView, ChangeSet(from, to), updateDatasource, removeAnimation, insertAnimation, updateCell,
                        std::move(completion));
}

// Reloads the rows on screen; a table that has no list of visible rows yet reloads everything.
void reloadVisibleCells(UIKit::UITableView& tableView, UIKit::UITableView::RowAnimation animation);
// Asks again for row heights without reloading any cell.
void resizeVisibleCells(UIKit::UITableView& tableView);

} // namespace Basalwork
