#include "Platform/UIKit/UITextField.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UTF16Length.hpp"
#include "Platform/UIKit/UIPress.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>
#include <functional>
#include <limits>

namespace UIKit {

UITextField::UITextField()
    : m_font(UILabel::defaultFont())
{
}

UITextField::UITextField(const CGRect& frame)
    : UIControl(frame)
    , m_font(UILabel::defaultFont())
{
}

void UITextField::setFont(std::shared_ptr<UIFont> font)
{
    m_font = font ? std::move(font) : UILabel::defaultFont();
    invalidateIntrinsicContentSize();
}

std::shared_ptr<Foundation::NSAttributedString> UITextField::attributedText() const
{
    // Kept only while the plain text has not moved on since.
    if (m_attributedText && m_attributedText->string() == m_text)
        return m_attributedText;
    return Foundation::make<Foundation::NSAttributedString>(m_text);
}

void UITextField::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    m_text = text ? text->string() : Foundation::String();
    m_attributedText = std::move(text);
    invalidateIntrinsicContentSize();
}

std::optional<Foundation::String> UITextField::placeholder() const
{
    if (!m_attributedPlaceholder)
        return std::nullopt;
    return m_attributedPlaceholder->string();
}

void UITextField::setPlaceholder(std::optional<Foundation::String> placeholder)
{
    m_attributedPlaceholder =
        placeholder ? Foundation::make<Foundation::NSAttributedString>(std::move(*placeholder)) : nullptr;
    invalidateIntrinsicContentSize();
}

CGRect UITextField::firstRectOfDocument() const
{
    if (m_text.isEmpty())
        return CGRect::null();
    return {{0, 0}, {static_cast<CGFloat>(TextGrid::columns(m_text)) * TextGrid::columnWidth, TextGrid::lineHeight}};
}

CGSize UITextField::intrinsicContentSize() const
{
    const auto& shown = m_text.isEmpty() && m_attributedPlaceholder ? m_attributedPlaceholder->string() : m_text;
    // While it is edited, the caret after the text has a cell of its own.
    const auto caret = m_isEditing ? 1 : 0;
    // A text of several lines (Return typed where the owner allows it) is as tall as its lines.
    std::int64_t widest = 0;
    const auto lines = shown.components(Foundation::String("\n"));
    for (const auto& line : lines)
        widest = std::max(widest, TextGrid::columns(line));
    return {static_cast<CGFloat>(widest + caret) * TextGrid::columnWidth, static_cast<CGFloat>(std::max<std::size_t>(lines.size(), 1)) * TextGrid::lineHeight};
}

const Foundation::Notification::Name& UITextField::textDidChangeNotification()
{
    static const auto& name = *new Foundation::Notification::Name("UITextFieldTextDidChangeNotification");
    return name;
}

bool UITextField::becomeFirstResponder()
{
    if (isFirstResponder())
        return true;
    auto delegate = this->delegate();
    if (!canBecomeFirstResponder() || (delegate && !delegate->textFieldShouldBeginEditing(*this)))
        return false;
    if (!UIControl::becomeFirstResponder())
        return false;
    if (!m_isEditing) {
        m_isEditing = true;
        invalidateIntrinsicContentSize();
        if (delegate)
            delegate->textFieldDidBeginEditing(*this);
        sendActions(Event::editingDidBegin());
    }
    return true;
}

bool UITextField::resignFirstResponder()
{
    // A field leaving its window cannot refuse: it stops editing all the same.
    auto delegate = this->delegate();
    if (m_isEditing && window() && delegate && !delegate->textFieldShouldEndEditing(*this))
        return false;
    if (!UIControl::resignFirstResponder())
        return false;
    if (m_isEditing) {
        m_isEditing = false;
        invalidateIntrinsicContentSize();
        if (delegate)
            delegate->textFieldDidEndEditing(*this);
        sendActions(Event::editingDidEnd());
    }
    return true;
}

void UITextField::edit(std::int64_t from, const Foundation::String& replacement)
{
    const auto kept = m_text.prefix(from);
    const auto replaced = m_text.dropFirst(from);
    if (replaced.isEmpty() && replacement.isEmpty())
        return;
    if (auto delegate = this->delegate();
        delegate
        && !delegate->textField(*this, {utf16Length(kept.view()), utf16Length(replaced.view())}, replacement))
        return;
    m_text = kept + replacement;
    textDidChange();
}

void UITextField::insertText(const Foundation::String& text)
{
    if (text.isEmpty())
        return;
    edit(m_text.count(), text);
}

void UITextField::deleteBackward()
{
    if (m_text.isEmpty())
        return;
    edit(m_text.count() - 1, "");
}

void UITextField::clear()
{
    if (auto delegate = this->delegate(); delegate && !delegate->textFieldShouldClear(*this))
        return;
    if (m_text.isEmpty())
        return;
    m_text = "";
    textDidChange();
}

void UITextField::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    if (isTouchInside() && !isFirstResponder())
        becomeFirstResponder();
}

void UITextField::pressReturn()
{
    if (auto delegate = this->delegate(); delegate && !delegate->textFieldShouldReturn(*this))
        return;
    sendActions(Event::primaryActionTriggered());
    if (hasActions(Event::editingDidEndOnExit())) {
        sendActions(Event::editingDidEndOnExit());
        resignFirstResponder();
    }
}

std::shared_ptr<UITextField> UITextField::nextKeyView(bool forward) const
{
    // The focus moves among the fields of the screen the field is on (its controller's view), else of its
    // window.
    std::shared_ptr<UIView> scope = window();
    for (auto view = superview(); view; view = view->superview())
        if (std::dynamic_pointer_cast<UIViewController>(view->next())) {
            scope = view;
            break;
        }
    if (!scope)
        return nullptr;
    std::vector<std::pair<CGPoint, std::shared_ptr<UITextField>>> fields;
    std::function<void(const std::shared_ptr<UIView>&)> collect = [&](const std::shared_ptr<UIView>& view) {
        if (view->isHidden() || !view->isUserInteractionEnabled())
            return;
        if (auto field = std::dynamic_pointer_cast<UITextField>(view); field && field->canBecomeFirstResponder())
            fields.emplace_back(field->convertTo(CGPoint {}, nullptr), field);
        for (const auto& subview : view->subviews())
            collect(subview);
    };
    collect(scope);
    std::ranges::stable_sort(fields, [](const auto& lhs, const auto& rhs) {
        return lhs.first.y != rhs.first.y ? lhs.first.y < rhs.first.y : lhs.first.x < rhs.first.x;
    });
    auto here = std::ranges::find_if(fields, [this](const auto& entry) { return entry.second.get() == this; });
    if (here == fields.end() || fields.size() < 2)
        return nullptr;
    const auto index = static_cast<std::size_t>(here - fields.begin());
    const auto next = forward ? (index + 1) % fields.size() : (index + fields.size() - 1) % fields.size();
    return fields[next].second;
}

void UITextField::pressesBegan(const std::vector<std::shared_ptr<UIPress>>& presses, const std::shared_ptr<UIEvent>& event)
{
    std::vector<std::shared_ptr<UIPress>> others;
    for (const auto& press : presses) {
        const auto& key = press->key();
        const bool shortcut = !key || key->modifierFlags().contains(UIKeyModifierFlags::command())
            || key->modifierFlags().contains(UIKeyModifierFlags::control());
        if (!shortcut && key->keyCode() == UIKeyboardHIDUsage::keyboardReturnOrEnter) {
            pressReturn();
        } else if (!shortcut && key->charactersIgnoringModifiers() == "\t") {
            if (auto next = nextKeyView(!key->modifierFlags().contains(UIKeyModifierFlags::shift())))
                next->becomeFirstResponder();
        } else {
            others.push_back(press);
        }
    }
    if (!others.empty() && !typePresses(others, /*multiline*/ false))
        UIControl::pressesBegan(others, event);
}

std::optional<Foundation::String> UITextField::accessibilityLabel() const
{
    if (auto label = UIControl::accessibilityLabel())
        return label;
    return placeholder();
}

std::optional<Foundation::String> UITextField::accessibilityValue() const
{
    if (auto value = UIControl::accessibilityValue())
        return value;
    if (!m_isSecureTextEntry)
        return m_text;
    Foundation::String bullets;
    for (std::int64_t i = 0; i < m_text.count(); ++i)
        bullets.append("•");
    return bullets;
}

void UITextField::textDidChange()
{
    invalidateIntrinsicContentSize();
    sendActions(Event::editingChanged());
    Foundation::NotificationCenter::defaultCenter()->post(textDidChangeNotification(), sharedSelf(this));
}

} // namespace UIKit
