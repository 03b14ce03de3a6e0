#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

namespace UIKit {

// Shows its columns side by side, or collapsed into one when space is short. Nothing decides the space
// here, so whether it is collapsed is set by the program's driver and by tests.
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

    bool isCollapsed() const { return m_isCollapsed; }
    void setIsCollapsed(bool collapsed) { m_isCollapsed = collapsed; }

    Style style() const { return m_style; }
    // Each column's controller is a child; setting another replaces the column's earlier one.
    std::shared_ptr<UIViewController> viewController(Column forColumn) const;
    void setViewController(const std::shared_ptr<UIViewController>& viewController, Column forColumn);

    // Recorded only: no layout decides column widths here.
    std::optional<CGFloat> preferredPrimaryColumnWidth() const { return m_preferredPrimaryColumnWidth; }
    void setPreferredPrimaryColumnWidth(std::optional<CGFloat> width) { m_preferredPrimaryColumnWidth = width; }
    std::optional<CGFloat> preferredSupplementaryColumnWidth() const { return m_preferredSupplementaryColumnWidth; }
    void setPreferredSupplementaryColumnWidth(std::optional<CGFloat> width)
    {
        m_preferredSupplementaryColumnWidth = width;
    }

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

private:
    bool m_isCollapsed = false;
    Style m_style = Style::unspecified;
    std::map<Column, std::shared_ptr<UIViewController>> m_columns;
    std::optional<CGFloat> m_preferredPrimaryColumnWidth;
    std::optional<CGFloat> m_preferredSupplementaryColumnWidth;
};

} // namespace UIKit
