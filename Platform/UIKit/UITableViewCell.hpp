#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <optional>

namespace UIKit {

// A row's view. The table places it and hands it out again, by its reuse identifier, once it scrolls away.
class UITableViewCell : public UIView {
public:
    // How the cell marks its selection; recorded, the drawing is the display's.
    enum class SelectionStyle : std::int64_t { none = 0, blue = 1, gray = 2, default_ = 3 };

    const std::optional<Foundation::String>& reuseIdentifier() const { return m_reuseIdentifier; }
    // The view the row's content goes into.
    const std::shared_ptr<UIView>& contentView() const { return m_contentView; }
    bool isSelected() const { return m_isSelected; }
    void setIsSelected(bool selected) { setIsSelected(selected, false); }
    // setSelected(_:animated:): a cell that marks its state itself overrides it.
    virtual void setIsSelected(bool selected, bool /*animated*/) { m_isSelected = selected; }
    bool isHighlighted() const { return m_isHighlighted; }
    void setIsHighlighted(bool highlighted) { setIsHighlighted(highlighted, false); }
    // setHighlighted(_:animated:)
    virtual void setIsHighlighted(bool highlighted, bool /*animated*/) { m_isHighlighted = highlighted; }
    SelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(SelectionStyle style) { m_selectionStyle = style; }
    UIAccessibilityTraits accessibilityTraits() const override
    {
        auto traits = UIView::accessibilityTraits();
        return m_isSelected ? traits | UIAccessibilityTraits::selected() : traits;
    }
    // Called before the table hands the cell out again.
    virtual void prepareForReuse() {}

protected:
    friend Foundation::Construct;
    friend class UITableView;
    UITableViewCell() = default;
    explicit UITableViewCell(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }
    void initialize() override
    {
        UIView::initialize();
        // It fills the cell and follows its size, so constraints inside it size a self-sizing row.
        m_contentView = Foundation::make<UIView>(CGRect {{0, 0}, bounds().size});
        m_contentView->setAutoresizingMask(AutoresizingMask::flexibleWidth() | AutoresizingMask::flexibleHeight());
        addSubview(m_contentView);
    }

private:
    std::optional<Foundation::String> m_reuseIdentifier;
    std::shared_ptr<UIView> m_contentView;
    bool m_isSelected = false;
    bool m_isHighlighted = false;
    SelectionStyle m_selectionStyle = SelectionStyle::default_;
};

} // namespace UIKit
