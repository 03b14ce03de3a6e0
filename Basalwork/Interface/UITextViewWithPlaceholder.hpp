#pragma once

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextView.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIColor;
}

namespace Basalwork {

// A text view that shows a placeholder while it is empty, set exactly where typed text starts.
class UITextViewWithPlaceholder : public UIKit::UITextView {
public:
    std::optional<Foundation::String> placeholderText() const { return m_placeholderText; }
    virtual void setPlaceholderText(std::optional<Foundation::String> text);
    std::shared_ptr<UIKit::UIColor> placeholderColor() const { return m_placeholderColor; }
    virtual void setPlaceholderColor(std::shared_ptr<UIKit::UIColor> color);

    const std::shared_ptr<UIKit::UILabel>& placeholderLabel() const { return m_placeholderLabel; }

    // The label follows every change that moves or restyles the text.
    void setFont(std::shared_ptr<UIKit::UIFont> font) override;
    void setTextAlignment(UIKit::NSTextAlignment alignment) override;
    void setText(Foundation::String text) override;
    void setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text) override;
    void setTextContainerInset(const UIKit::UIEdgeInsets& inset) override;

    void awakeFromNib() override;

protected:
    friend Foundation::Construct;
    explicit UITextViewWithPlaceholder(const UIKit::CGRect& frame = UIKit::CGRect::zero());
    explicit UITextViewWithPlaceholder(Foundation::NSCoder& coder);
    void initialize() override;

    virtual void setupPlaceholderLabel();
    virtual void observeTextChanges();
    virtual void updatePlaceholderConstraints();
    virtual void updatePlaceholderVisibility();

private:
    void setup();

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<UIKit::UILabel> m_placeholderLabel;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_topPlaceholderConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_bottomPlaceholderConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_leadingPlaceholderConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_trailingPlaceholderConstraint;
    std::optional<Foundation::String> m_placeholderText;
    std::shared_ptr<UIKit::UIColor> m_placeholderColor;
};

} // namespace Basalwork
