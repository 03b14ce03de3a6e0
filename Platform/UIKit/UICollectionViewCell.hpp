#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <optional>

namespace UIKit {

// An item's view, made by the collection view for the reuse identifier it was registered under.
class UICollectionViewCell : public UIView {
public:
    const std::optional<Foundation::String>& reuseIdentifier() const { return m_reuseIdentifier; }
    // The view the item's content goes into.
    const std::shared_ptr<UIView>& contentView() const { return m_contentView; }

protected:
    friend Foundation::Construct;
    friend class UICollectionView;
    UICollectionViewCell() = default;
    explicit UICollectionViewCell(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }
    void initialize() override
    {
        UIView::initialize();
        // It fills the cell and follows its size, so constraints inside it size a self-sizing item.
        m_contentView = Foundation::make<UIView>(CGRect {{0, 0}, bounds().size});
        m_contentView->setAutoresizingMask(AutoresizingMask::flexibleWidth() | AutoresizingMask::flexibleHeight());
        addSubview(m_contentView);
    }

private:
    std::optional<Foundation::String> m_reuseIdentifier;
    std::shared_ptr<UIView> m_contentView;
};

} // namespace UIKit
