#include "Platform/UIKit/UITextView.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/NSTextContainer.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextViewDelegate.hpp"
#include "Platform/UIKit/UTF16Length.hpp"

namespace UIKit {

UITextView::UITextView()
    : m_font(UILabel::defaultFont())
{
}

UITextView::UITextView(const CGRect& frame)
    : UIView(frame)
    , m_font(UILabel::defaultFont())
{
}

UITextView::UITextView(Foundation::NSCoder& coder)
    : UIView(coder)
    , m_font(UILabel::defaultFont())
{
}

void UITextView::setFont(std::shared_ptr<UIFont> font)
{
    m_font = font ? std::move(font) : UILabel::defaultFont();
    invalidateIntrinsicContentSize();
}

void UITextView::setText(Foundation::String text)
{
    m_text = std::move(text);
    invalidateIntrinsicContentSize();
}

void UITextView::setTextContainerInset(const UIEdgeInsets& inset)
{
    m_textContainerInset = inset;
    invalidateIntrinsicContentSize();
}

void UITextView::setIsScrollEnabled(bool enabled)
{
    if (enabled == m_isScrollEnabled)
        return;
    m_isScrollEnabled = enabled;
    invalidateIntrinsicContentSize();
}

CGSize UITextView::intrinsicContentSize() const
{
    if (m_isScrollEnabled)
        return {noIntrinsicMetric, noIntrinsicMetric};
    return *intrinsicContentSizeAtWidth(TextGrid::unlimited);
}

std::optional<CGSize> UITextView::intrinsicContentSizeAtWidth(CGFloat width) const
{
    if (m_isScrollEnabled)
        return std::nullopt;
    const CGFloat padding = 2 * m_textContainer->lineFragmentPadding();
    const CGFloat horizontal = m_textContainerInset.left + m_textContainerInset.right + padding;
    CGSize text = TextGrid::size(m_text, width - horizontal, NSLineBreakMode::byWordWrapping, 0);
    // An empty text still has the line the caret stands on.
    text.height = std::max(text.height, TextGrid::lineHeight);
    return CGSize {text.width + horizontal, text.height + m_textContainerInset.top + m_textContainerInset.bottom};
}

std::shared_ptr<Foundation::NSAttributedString> UITextView::attributedText() const
{
    // Kept only while the plain text has not moved on since.
    if (m_attributedText && m_attributedText->string() == m_text)
        return m_attributedText;
    return Foundation::make<Foundation::NSAttributedString>(m_text);
}

void UITextView::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    m_text = text ? text->string() : Foundation::String();
    m_attributedText = std::move(text);
    invalidateIntrinsicContentSize();
}

const Foundation::Notification::Name& UITextView::textDidChangeNotification()
{
    static const auto& name = *new Foundation::Notification::Name("UITextViewTextDidChangeNotification");
    return name;
}

bool UITextView::becomeFirstResponder()
{
    if (!UIView::becomeFirstResponder())
        return false;
    m_isEditing = true;
    return true;
}

bool UITextView::resignFirstResponder()
{
    if (!UIView::resignFirstResponder())
        return false;
    m_isEditing = false;
    return true;
}

void UITextView::insertText(const Foundation::String& text)
{
    if (text.isEmpty())
        return;
    userEdit(m_text.count(), text);
}

void UITextView::deleteBackward()
{
    if (m_text.isEmpty())
        return;
    userEdit(m_text.count() - 1, Foundation::String());
}

void UITextView::userEdit(std::int64_t from, const Foundation::String& replacement)
{
    const auto kept = m_text.prefix(from);
    const auto replaced = m_text.dropFirst(from);
    auto delegate = this->delegate();
    if (delegate && !delegate->textView(*this, {utf16Length(kept.view()), utf16Length(replaced.view())}, replacement))
        return;
    m_text = kept + replacement;
    textDidChange();
    if (delegate)
        delegate->textViewDidChange(*this);
}

void UITextView::pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses, const std::shared_ptr<UIEvent>& event)
{
    if (!typePresses(presses, /*multiline*/ true))
        UIView::pressesBegan(presses, event);
}

void UITextView::textDidChange()
{
    invalidateIntrinsicContentSize();
    Foundation::NotificationCenter::defaultCenter()->post(textDidChangeNotification(), sharedSelf(this));
}

} // namespace UIKit
