#include "Basalwork/Interface/UITextViewWithPlaceholder.hpp"

#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIColor.hpp"

namespace Basalwork {

UITextViewWithPlaceholder::UITextViewWithPlaceholder(const UIKit::CGRect& frame)
    : UITextView(frame)
    , m_notificationCenter(Foundation::NotificationCenter::defaultCenter())
    , m_placeholderLabel(Foundation::make<UIKit::UILabel>())
    , m_placeholderColor(UIKit::UIColor::placeholderText())
{
}

UITextViewWithPlaceholder::UITextViewWithPlaceholder(Foundation::NSCoder& coder)
    : UITextView(coder)
    , m_notificationCenter(Foundation::NotificationCenter::defaultCenter())
    , m_placeholderLabel(Foundation::make<UIKit::UILabel>())
    , m_placeholderColor(UIKit::UIColor::placeholderText())
{
}

void UITextViewWithPlaceholder::initialize()
{
    UITextView::initialize();
    setup();
}

void UITextViewWithPlaceholder::awakeFromNib()
{
    UITextView::awakeFromNib();
    setup();
}

void UITextViewWithPlaceholder::setup()
{
    setupPlaceholderLabel();
    UITextView::setTextContainerInset(UIKit::UIEdgeInsets::zero());
    textContainer()->setLineFragmentPadding(0);
    updatePlaceholderConstraints();
    observeTextChanges();
}

void UITextViewWithPlaceholder::setPlaceholderText(std::optional<Foundation::String> text)
{
    m_placeholderText = std::move(text);
    m_placeholderLabel->setText(m_placeholderText);
}

void UITextViewWithPlaceholder::setPlaceholderColor(std::shared_ptr<UIKit::UIColor> color)
{
    m_placeholderColor = std::move(color);
    m_placeholderLabel->setTextColor(m_placeholderColor);
}

void UITextViewWithPlaceholder::setFont(std::shared_ptr<UIKit::UIFont> font)
{
    UITextView::setFont(std::move(font));
    m_placeholderLabel->setFont(this->font());
}

void UITextViewWithPlaceholder::setTextAlignment(UIKit::NSTextAlignment alignment)
{
    UITextView::setTextAlignment(alignment);
    m_placeholderLabel->setTextAlignment(textAlignment());
}

void UITextViewWithPlaceholder::setText(Foundation::String text)
{
    UITextView::setText(std::move(text));
    updatePlaceholderVisibility();
}

void UITextViewWithPlaceholder::setAttributedText(std::shared_ptr<Foundation::NSAttributedString> text)
{
    UITextView::setAttributedText(std::move(text));
    updatePlaceholderVisibility();
}

void UITextViewWithPlaceholder::setTextContainerInset(const UIKit::UIEdgeInsets& inset)
{
    UITextView::setTextContainerInset(inset);
    updatePlaceholderConstraints();
}

void UITextViewWithPlaceholder::setupPlaceholderLabel()
{
    m_placeholderLabel->setFont(font());
    m_placeholderLabel->setTextColor(m_placeholderColor);
    m_placeholderLabel->setTextAlignment(textAlignment());
    m_placeholderLabel->setText(m_placeholderText);
    m_placeholderLabel->setBackgroundColor(UIKit::UIColor::clear());
    registerForPreferredContentSizeCategoryChanges(m_placeholderLabel);
    addSubviewWithEdgeContraints(*this, m_placeholderLabel, LayoutInsets::zero(), [this](const EdgeConstraints& edges) {
        m_topPlaceholderConstraint = edges.top();
        m_bottomPlaceholderConstraint = edges.bottom();
        m_leadingPlaceholderConstraint = edges.leading();
        m_trailingPlaceholderConstraint = edges.trailing();
    });
}

void UITextViewWithPlaceholder::observeTextChanges()
{
    std::weak_ptr<UITextViewWithPlaceholder> weak = sharedSelf(this);
    m_notificationCenter->addObserver(UITextView::textDidChangeNotification(), sharedSelf(this),
                                      Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
                                          if (auto self = weak.lock())
                                              self->updatePlaceholderVisibility();
                                      });
}

void UITextViewWithPlaceholder::updatePlaceholderConstraints()
{
    const auto inset = textContainerInset();
    const auto padding = textContainer()->lineFragmentPadding();
    m_leadingPlaceholderConstraint->setConstant(inset.left + padding);
    m_trailingPlaceholderConstraint->setConstant(inset.right + padding);
    m_topPlaceholderConstraint->setConstant(inset.top);
    m_bottomPlaceholderConstraint->setConstant(inset.bottom);
}

void UITextViewWithPlaceholder::updatePlaceholderVisibility()
{
    m_placeholderLabel->setIsHidden(!text().isEmpty());
}

} // namespace Basalwork
