#pragma once

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIScrollView.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace UIKit {

class UINib;
class UIMenu;
class UISwipeActionsConfiguration;
class UITableViewCell;
class UITableViewDataSource;
class UITableViewDelegate;
class UITableViewHeaderFooterView;

// Rows in sections, asked of a data source and laid out top to bottom; only the rows inside the bounds
// have cells, which are handed out again by reuse identifier once they scroll away. Changes to the rows go
// through batch updates that are checked against the data source as the platform checks them: an update
// whose counts do not add up stops the program.
class UITableView : public UIScrollView {
public:
    enum class Style : std::int64_t;
    enum class RowAnimation : std::int64_t;
    enum class ScrollPosition : std::int64_t;
    struct Update;

    // "Let the table decide": a row measures its cell, a header or footer takes no room.
    static constexpr CGFloat automaticDimension = -1;

    Style style() const { return m_style; }

    std::shared_ptr<UITableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) { m_dataSource = dataSource; }
    std::shared_ptr<UITableViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) { m_delegate = delegate; }

    // register(_:forCellReuseIdentifier:) and register(_:forHeaderFooterViewReuseIdentifier:). Registering
    // an identifier again replaces the type.
    template <class Cell>
    void registerCell(const Foundation::String& forCellReuseIdentifier)
    {
        m_cellFactories[forCellReuseIdentifier] = [] { return std::shared_ptr<UITableViewCell>(Foundation::make<Cell>()); };
    }
    template <class View>
    void registerHeaderFooterView(const Foundation::String& forHeaderFooterViewReuseIdentifier)
    {
        m_headerFooterFactories[forHeaderFooterViewReuseIdentifier] = [] {
            return std::shared_ptr<UITableViewHeaderFooterView>(Foundation::make<View>());
        };
    }
    // register(_:forCellReuseIdentifier:) and register(_:forHeaderFooterViewReuseIdentifier:) with a nib:
    // a new view is the nib's first top-level object; nothing is handed out when that is of another kind.
    void registerCell(const std::shared_ptr<UINib>& nib, const Foundation::String& forCellReuseIdentifier);
    void registerHeaderFooterView(const std::shared_ptr<UINib>& nib,
                                  const Foundation::String& forHeaderFooterViewReuseIdentifier);
    // A cell handed back, or a new one of the registered type; nothing for an identifier never registered.
    std::shared_ptr<UITableViewCell> dequeueReusableCell(const Foundation::String& withIdentifier,
                                                         const Foundation::IndexPath& for_);
    std::shared_ptr<UITableViewHeaderFooterView> dequeueReusableHeaderFooterView(const Foundation::String& withIdentifier);

    // The counts as the table last loaded them; the first question loads them.
    std::int64_t numberOfSections();
    std::int64_t numberOfRows(std::int64_t inSection);

    // Throws away every cell, header and footer and asks the data source for everything again.
    void reloadData();

    // The rows that have cells, top to bottom; nothing before the table has loaded.
    std::optional<std::vector<Foundation::IndexPath>> indexPathsForVisibleRows() const;
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    // The cell of a visible row; nothing for a row off screen.
    std::shared_ptr<UITableViewCell> cellForRow(const Foundation::IndexPath& at) const;
    std::optional<Foundation::IndexPath> indexPath(const UITableViewCell& for_) const;
    std::shared_ptr<UITableViewHeaderFooterView> headerView(std::int64_t forSection) const;
    std::shared_ptr<UITableViewHeaderFooterView> footerView(std::int64_t forSection) const;

    // Batch updates: row paths of deletions count in the old rows, of insertions in the new ones. The
    // changes and the data source's new counts are checked and applied when the outermost batch ends.
    // The completion runs once the animations are over, on a later turn of the main loop.
    void performBatchUpdates(const std::function<void()>& updates, std::function<void(bool)> completion = nullptr);
    void beginUpdates();
    void endUpdates();
    void insertRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with);
    void deleteRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with);
    void reloadRows(const std::vector<Foundation::IndexPath>& at, RowAnimation with);
    void moveRow(const Foundation::IndexPath& at, const Foundation::IndexPath& to);
    void insertSections(const std::vector<std::int64_t>& sections, RowAnimation with);
    void deleteSections(const std::vector<std::int64_t>& sections, RowAnimation with);
    void reloadSections(const std::vector<std::int64_t>& sections, RowAnimation with);
    void moveSection(std::int64_t section, std::int64_t toSection);
    // The changes applied to the rows, oldest first, as the table received them: every one, unless
    // together they name more than `maximumAppliedRowCount` rows, when the oldest are let go.
    static constexpr std::size_t maximumAppliedRowCount = 65'536;
    const std::vector<Update>& appliedUpdates() const { return m_appliedUpdates; }

    // Selection: one row at a time, or several where multiple selection is allowed (while editing, where
    // it is allowed during editing). Selecting in code tells the delegate nothing; a tap on a row
    // highlights it while the finger is down and selects it (or, with multiple selection, deselects a
    // selected one) through the delegate's will- and did- calls. Selected rows follow their rows through
    // batch updates; reloading the data clears the selection.
    std::optional<Foundation::IndexPath> indexPathForSelectedRow() const;
    std::optional<std::vector<Foundation::IndexPath>> indexPathsForSelectedRows() const;
    void selectRow(const std::optional<Foundation::IndexPath>& at, bool animated, ScrollPosition scrollPosition);
    void deselectRow(const Foundation::IndexPath& at, bool animated);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }
    void setAllowsMultipleSelection(bool allows) { m_allowsMultipleSelection = allows; }
    bool allowsSelectionDuringEditing() const { return m_allowsSelectionDuringEditing; }
    void setAllowsSelectionDuringEditing(bool allows) { m_allowsSelectionDuringEditing = allows; }
    bool allowsMultipleSelectionDuringEditing() const { return m_allowsMultipleSelectionDuringEditing; }
    void setAllowsMultipleSelectionDuringEditing(bool allows) { m_allowsMultipleSelectionDuringEditing = allows; }
    // Whether moving the keyboard's row selects it through the delegate, as a tap does (the default). A
    // table whose tap chooses something clears it: the arrows then only point at a row, and Return
    // confirms it.
    bool selectionFollowsFocus() const { return m_selectionFollowsFocus; }
    void setSelectionFollowsFocus(bool follows) { m_selectionFollowsFocus = follows; }
    bool isEditing() const { return m_isEditing; }
    virtual void setEditing(bool editing, bool animated);
    // The row at a point in the table's bounds; none between rows or below them.
    std::optional<Foundation::IndexPath> indexPathForRow(CGPoint at);

    // What a secondary click on the row offers: the delegate's context menu, made from its configuration;
    // none when the delegate offers none.
    std::shared_ptr<UIMenu> contextMenu(const Foundation::IndexPath& forRowAt, CGPoint point);
    // The actions a swipe from the leading or trailing edge reveals; none when the delegate offers none.
    std::shared_ptr<UISwipeActionsConfiguration> swipeActionsConfiguration(const Foundation::IndexPath& forRowAt, bool leading);

    void touchesBegan(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesMoved(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesEnded(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesCancelled(const std::vector<std::shared_ptr<UITouch>>& touches, const std::shared_ptr<UIEvent>& event) override;

    // The row's rectangle in content coordinates, as last laid out.
    CGRect rectForRow(const Foundation::IndexPath& at);
    void scrollToRow(const Foundation::IndexPath& at, ScrollPosition position, bool animated);
    using UIScrollView::setContentOffset;
    void setContentOffset(CGPoint offset, bool animated) override;
    void layoutSubviews() override;

    // Sizes: the defaults the delegate's answers fall back on.
    CGFloat rowHeight() const { return m_rowHeight; }
    void setRowHeight(CGFloat height) { m_rowHeight = height; }
    CGFloat estimatedRowHeight() const { return m_estimatedRowHeight; }
    void setEstimatedRowHeight(CGFloat height) { m_estimatedRowHeight = height; }
    CGFloat sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(CGFloat height) { m_sectionHeaderHeight = height; }
    CGFloat sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(CGFloat height) { m_sectionFooterHeight = height; }
    CGFloat estimatedSectionHeaderHeight() const { return m_estimatedSectionHeaderHeight; }
    void setEstimatedSectionHeaderHeight(CGFloat height) { m_estimatedSectionHeaderHeight = height; }
    CGFloat estimatedSectionFooterHeight() const { return m_estimatedSectionFooterHeight; }
    void setEstimatedSectionFooterHeight(CGFloat height) { m_estimatedSectionFooterHeight = height; }

    // The lines between rows; recorded, the display draws none.
    const std::shared_ptr<UIColor>& separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(std::shared_ptr<UIColor> color) { m_separatorColor = std::move(color); }

    // Shown behind the rows, filling the table.
    const std::shared_ptr<UIView>& backgroundView() const { return m_backgroundView; }
    void setBackgroundView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(std::shared_ptr<UIView> view) { m_tableFooterView = std::move(view); }

protected:
    friend Foundation::Construct;
    // init(frame:style:)
    UITableView(const CGRect& frame, Style style);
    // init(coder:): the style is the description's "style" (plain when it names none).
    explicit UITableView(Foundation::NSCoder& coder);

private:
    struct PendingUpdates;

    std::vector<std::int64_t> fetchRowCounts();
    // What a tap on the row does, through the delegate.
    void selectByUser(const Foundation::IndexPath& indexPath);
    void deselectByUser(const Foundation::IndexPath& indexPath);
    void setHighlightedRow(const std::optional<Foundation::IndexPath>& row);
    bool selectsMultiple() const { return m_isEditing ? m_allowsMultipleSelectionDuringEditing : m_allowsMultipleSelection; }
    void loadIfNeeded();
    void applyPendingUpdates();
    void recordUpdate(Update update);
    void recycle(const std::shared_ptr<UITableViewCell>& cell);
    void recycle(const std::shared_ptr<UITableViewHeaderFooterView>& view);
    void recycleHeadersAndFooters();
    // Places the rows top to bottom and gives a cell to every row inside the bounds.
    void layoutRows();

    Style m_style;
    std::weak_ptr<UITableViewDataSource> m_dataSource;
    std::weak_ptr<UITableViewDelegate> m_delegate;
    std::unordered_map<Foundation::String, std::function<std::shared_ptr<UITableViewCell>()>> m_cellFactories;
    std::unordered_map<Foundation::String, std::function<std::shared_ptr<UITableViewHeaderFooterView>()>>
        m_headerFooterFactories;
    std::unordered_map<Foundation::String, std::vector<std::shared_ptr<UITableViewCell>>> m_reusableCells;
    std::unordered_map<Foundation::String, std::vector<std::shared_ptr<UITableViewHeaderFooterView>>>
        m_reusableHeaderFooterViews;

    bool m_hasLoaded = false;
    std::vector<std::int64_t> m_rowCounts;
    // Per section, the top of each row as last laid out and the bottom of the last: a row's height is the
    // distance to the next top.
    std::vector<std::vector<CGFloat>> m_rowTops;
    // Heights of self-sizing rows as last measured, until the rows change.
    std::map<Foundation::IndexPath, CGFloat> m_measuredHeights;
    std::map<Foundation::IndexPath, std::shared_ptr<UITableViewCell>> m_visibleCells;
    std::map<std::int64_t, std::shared_ptr<UITableViewHeaderFooterView>> m_headerViews;
    std::map<std::int64_t, std::shared_ptr<UITableViewHeaderFooterView>> m_footerViews;
    bool m_isLayingOut = false;

    int m_batchDepth = 0;
    std::shared_ptr<PendingUpdates> m_pending;
    std::vector<Update> m_appliedUpdates;
    std::size_t m_appliedRowCount = 0;

    std::set<Foundation::IndexPath> m_selectedRows;
    std::optional<Foundation::IndexPath> m_highlightedRow;
    bool m_allowsSelection = true;
    bool m_allowsMultipleSelection = false;
    bool m_allowsSelectionDuringEditing = false;
    bool m_allowsMultipleSelectionDuringEditing = false;
    bool m_isEditing = false;
    bool m_selectionFollowsFocus = true;
    CGFloat m_rowHeight = automaticDimension;
    CGFloat m_estimatedRowHeight = automaticDimension;
    CGFloat m_sectionHeaderHeight = automaticDimension;
    CGFloat m_sectionFooterHeight = automaticDimension;
    CGFloat m_estimatedSectionHeaderHeight = automaticDimension;
    CGFloat m_estimatedSectionFooterHeight = automaticDimension;
    std::shared_ptr<UIView> m_backgroundView;
    std::shared_ptr<UIColor> m_separatorColor;
    std::shared_ptr<UIView> m_tableFooterView;
};

} // namespace UIKit

#include "Platform/UIKit/UITableView.RowAnimation.hpp"
#include "Platform/UIKit/UITableView.ScrollPosition.hpp"
#include "Platform/UIKit/UITableView.Style.hpp"
#include "Platform/UIKit/UITableView.Update.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITableViewHeaderFooterView.hpp"
