#pragma once

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

// A spinner. Nothing turns, so whether it spins is recorded.
class UIActivityIndicatorView : public UIView {
public:
    bool isAnimating() const { return m_isAnimating; }
    virtual void startAnimating() { m_isAnimating = true; }
    virtual void stopAnimating() { m_isAnimating = false; }
    // One cell of the character grid, where a terminal shows a spinner.
    CGSize intrinsicContentSize() const override { return {TextGrid::columnWidth, TextGrid::lineHeight}; }

protected:
    friend Foundation::Construct;
    UIActivityIndicatorView() = default;
    explicit UIActivityIndicatorView(const CGRect& frame)
        : UIView(frame)
    {
    }

private:
    bool m_isAnimating = false;
};

} // namespace UIKit
