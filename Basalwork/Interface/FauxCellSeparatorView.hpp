#pragma once

#include "Basalwork/Interface/SeparatorView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

// A one-pixel line in the colour of a table's cell separators, for layouts that imitate a table.
class FauxCellSeparatorView : public UIKit::UIView {
public:
    UIKit::CGSize intrinsicContentSize() const override { return SeparatorView::onePixelHigh(); }
    // An interface file may have set another colour; the separator colour wins.
    void awakeFromNib() override
    {
        UIView::awakeFromNib();
        setBackgroundColor(UIKit::UIColor::separator());
    }
    void prepareForInterfaceBuilder() override
    {
        UIView::prepareForInterfaceBuilder();
        setBackgroundColor(UIKit::UIColor::separator());
    }

protected:
    friend Foundation::Construct;
    explicit FauxCellSeparatorView(const UIKit::CGRect& frame = UIKit::CGRect::zero())
        : UIView(frame)
    {
        setBackgroundColor(UIKit::UIColor::separator());
    }
    explicit FauxCellSeparatorView(Foundation::NSCoder& coder)
        : UIView(coder)
    {
        setBackgroundColor(UIKit::UIColor::separator());
    }
};

} // namespace Basalwork
