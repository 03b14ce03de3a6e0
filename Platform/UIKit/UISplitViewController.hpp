#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UISplitViewControllerDelegate;

// Shows its columns side by side, or collapsed into one in a compact width. The classic style keeps a
// primary and a secondary controller (`viewControllers`); the column styles one controller per column,
// and a compact one for the collapsed layout. It collapses and expands as the horizontal size class
// changes, and the program's driver or a test may collapse it directly.
class UISplitViewController : public UIViewController {
public:
    enum class Style : std::int64_t {
        unspecified = 0,
        doubleColumn = 1,
        tripleColumn = 2,
    };
    enum class Column : std::int64_t {
        primary = 0,
        supplementary = 1,
        secondary = 2,
        compact = 3,
    };
    enum class DisplayMode : std::int64_t {
        automatic = 0,
        secondaryOnly = 1,
        oneBesideSecondary = 2,
        oneOverSecondary = 3,
        twoBesideSecondary = 4,
        twoOverSecondary = 5,
        twoDisplaceSecondary = 6,
    };

    bool isCollapsed() const { return m_isCollapsed; }
    // Collapses or expands now, as a change of the horizontal size class does.
    void setIsCollapsed(bool collapsed);

    Style style() const { return m_style; }
    std::shared_ptr<UISplitViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UISplitViewControllerDelegate>& delegate) { m_delegate = delegate; }

    // Each column's controller is a child; setting another replaces the column's earlier one.
    std::shared_ptr<UIViewController> viewController(Column forColumn) const;
    void setViewController(const std::shared_ptr<UIViewController>& viewController, Column forColumn);
    // The classic style's controllers: the primary, then the secondary.
    std::vector<std::shared_ptr<UIViewController>> viewControllers() const;
    void setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& viewControllers);

    DisplayMode preferredDisplayMode() const { return m_preferredDisplayMode; }
    void setPreferredDisplayMode(DisplayMode mode);
    // What shows now: the secondary column alone while collapsed; automatic resolves to one (or two, in
    // the triple-column style) beside the secondary.
    DisplayMode displayMode() const;
    // Brings a column on screen (collapsed: makes it the one shown); hiding the primary shows the
    // secondary alone. The delegate hears of both.
    void show(Column column);
    void hide(Column column);
    // Expanded, the controller becomes the secondary; collapsed, it is pushed onto the primary navigation
    // stack, or presented without one. The delegate may do it itself.
    void showDetailViewController(const std::shared_ptr<UIViewController>& viewController,
                                  const std::shared_ptr<Foundation::NSObject>& sender) override;

    // Widths in points; nothing is automatic: 320 points for the primary column, 0 to 10000 for the
    // limits. The primary column takes the preferred width within the limits and the view.
    std::optional<CGFloat> preferredPrimaryColumnWidth() const { return m_preferredPrimaryColumnWidth; }
    void setPreferredPrimaryColumnWidth(std::optional<CGFloat> width);
    std::optional<CGFloat> minimumPrimaryColumnWidth() const { return m_minimumPrimaryColumnWidth; }
    void setMinimumPrimaryColumnWidth(std::optional<CGFloat> width);
    std::optional<CGFloat> maximumPrimaryColumnWidth() const { return m_maximumPrimaryColumnWidth; }
    void setMaximumPrimaryColumnWidth(std::optional<CGFloat> width);
    CGFloat primaryColumnWidth() const;
    std::optional<CGFloat> preferredSupplementaryColumnWidth() const { return m_preferredSupplementaryColumnWidth; }
    void setPreferredSupplementaryColumnWidth(std::optional<CGFloat> width);

    void willTransition(const UITraitCollection& to, const std::shared_ptr<UIViewControllerTransitionCoordinator>& with) override;

protected:
    friend Foundation::Construct;
    UISplitViewController() = default;
    UISplitViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : UIViewController(std::move(nibName), std::move(bundle))
    {
    }
    explicit UISplitViewController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }
    // init(style:)
    explicit UISplitViewController(Style style)
        : m_style(style)
    {
    }
    void loadView() override;

private:
    void collapse();
    void expand();
    // The controller the collapsed layout shows.
    std::shared_ptr<UIViewController> collapsedController() const;
    // Puts the views of the columns on screen into the view and takes the others out.
    void placeColumns();
    void changeDisplayMode(DisplayMode mode);

    bool m_isCollapsed = false;
    Style m_style = Style::unspecified;
    std::weak_ptr<UISplitViewControllerDelegate> m_delegate;
    std::map<Column, std::shared_ptr<UIViewController>> m_columns;
    DisplayMode m_preferredDisplayMode = DisplayMode::automatic;
    // A display mode chosen by showing or hiding a column, until the preference changes.
    std::optional<DisplayMode> m_shownDisplayMode;
    std::optional<Column> m_collapsedColumn;
    // The classic secondary controller pushed onto the primary navigation stack while collapsed.
    std::shared_ptr<UIViewController> m_mergedSecondary;
    std::optional<CGFloat> m_preferredPrimaryColumnWidth;
    std::optional<CGFloat> m_minimumPrimaryColumnWidth;
    std::optional<CGFloat> m_maximumPrimaryColumnWidth;
    std::optional<CGFloat> m_preferredSupplementaryColumnWidth;
};

} // namespace UIKit

#include "Platform/UIKit/UISplitViewControllerDelegate.hpp"
