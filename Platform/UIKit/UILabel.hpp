#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLineBreakMode.hpp"
#include "Platform/UIKit/NSTextAlignment.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <cstdint>
#include <memory>
#include <optional>

namespace UIKit {

class UIColor;
class UIFont;

// A read-only text. Setting no font or no colour gives the label its default back, as the platform does.
// It is as large as its text on the character grid (`TextGrid`): one line, or with several lines the
// text wrapped at the width the label is laid out at (or at `preferredMaxLayoutWidth` when set).
class UILabel : public UIView {
public:
    const std::optional<Foundation::String>& text() const { return m_text; }
    // The text unless a label is set; static text.
    std::optional<Foundation::String> accessibilityLabel() const override
    {
        if (auto label = UIView::accessibilityLabel())
            return label;
        return m_text;
    }
    UIAccessibilityTraits accessibilityTraits() const override
    {
        return explicitAccessibilityTraits().value_or(UIAccessibilityTraits::staticText());
    }
    void setText(std::optional<Foundation::String> text);
    std::shared_ptr<UIFont> font() const { return m_font; }
    void setFont(std::shared_ptr<UIFont> font);
    std::shared_ptr<UIColor> textColor() const { return m_textColor; }
    void setTextColor(std::shared_ptr<UIColor> color);
    NSTextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { m_textAlignment = alignment; }
    // 0: as many lines as the text needs.
    std::int64_t numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(std::int64_t lines);
    NSLineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(NSLineBreakMode mode);
    // The width a text of several lines wraps at for its intrinsic size; 0 for the width it is given.
    CGFloat preferredMaxLayoutWidth() const { return m_preferredMaxLayoutWidth; }
    void setPreferredMaxLayoutWidth(CGFloat width);

    CGSize intrinsicContentSize() const override;
    std::optional<CGSize> intrinsicContentSizeAtWidth(CGFloat width) const override;
    // The text's size within the width given (when positive), up to the number of lines.
    CGSize sizeThatFits(CGSize size) const override;
    bool adjustsFontForContentSizeCategory() const { return m_adjustsFontForContentSizeCategory; }
    void setAdjustsFontForContentSizeCategory(bool adjusts) { m_adjustsFontForContentSizeCategory = adjusts; }

    // The font used when none is set: the system font at 17 points.
    static std::shared_ptr<UIFont> defaultFont();

protected:
    friend Foundation::Construct;
    UILabel();
    explicit UILabel(const CGRect& frame);

private:
    std::optional<Foundation::String> m_text;
    std::shared_ptr<UIFont> m_font;
    std::shared_ptr<UIColor> m_textColor;
    NSTextAlignment m_textAlignment = NSTextAlignment::natural;
    std::int64_t m_numberOfLines = 1;
    NSLineBreakMode m_lineBreakMode = NSLineBreakMode::byTruncatingTail;
    CGFloat m_preferredMaxLayoutWidth = 0;
    bool m_adjustsFontForContentSizeCategory = false;
};

} // namespace UIKit
