#include "Corvendale/Screens/ImportExport/ReportFailureItemV.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Base/String.hpp"
#include "Basalwork/Interface/BorderShadowableTextView.hpp"
#include "Basalwork/Interface/PreferredContentSizeCategoryFontUpdateable.hpp"
#include "Basalwork/Interface/UIFont.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UITextView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.TextStyle.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UITextView.hpp"

namespace Corvendale {

ReportFailureItemV::ReportFailureItemV(Foundation::String identifier, bool hasClearMessageBackground, bool hidesBlankFailureText)
    : UIView(UIKit::CGRect::zero())
    , m_identifier(std::move(identifier))
    , m_hasClearMessageBackground(hasClearMessageBackground)
    , m_hidesBlankFailureText(hidesBlankFailureText)
{
}

void ReportFailureItemV::initialize()
{
    UIView::initialize();
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_messageTextView = Foundation::make<UIKit::UITextView>();
    m_failureTextView = Foundation::make<Basalwork::BorderShadowableTextView>();
    setAccessibilityIdentifier(m_identifier);
    setBackgroundColor(UIKit::UIColor::clear());
    auto stack = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                   UIKit::UIStackView::Distribution::fill, 12);
    Basalwork::addSubviewWithEdgeContraints(*this, stack);
    m_titleLabel->setTextColor(Shared::UIColors::primaryTint());
    m_titleLabel->setNumberOfLines(0);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_titleLabel);
    stack->addArrangedSubview(m_titleLabel);
    m_messageTextView->setTextColor(Shared::UIColors::primaryTint());
    if (m_hasClearMessageBackground)
        m_messageTextView->setBackgroundColor(UIKit::UIColor::clear());
    m_messageTextView->setIsSelectable(true);
    m_messageTextView->setIsEditable(false);
    m_messageTextView->setIsScrollEnabled(false);
    Basalwork::removeContentInsets(*m_messageTextView);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_messageTextView);
    stack->addArrangedSubview(m_messageTextView);
    m_failureTextView->setAccessibilityIdentifier(Foundation::String("FailureTextView"));
    m_failureTextView->setTextColor(Shared::UIColors::primaryTint());
    m_failureTextView->setBackgroundColor(Shared::UIColors::tertiaryBackground());
    m_failureTextView->setCornerRadius(6);
    m_failureTextView->setIsSelectable(true);
    m_failureTextView->setIsEditable(true);
    m_failureTextView->setIsScrollEnabled(true);
    Basalwork::registerForPreferredContentSizeCategoryChanges(m_failureTextView);
    UIKit::NSLayoutConstraint::activate({m_failureTextView->heightAnchor().constraintEqualToConstant(140)});
    stack->addArrangedSubview(m_failureTextView);
    registerForPreferenceStoreDidUpdateAppearanceNotifications();
}

Foundation::String ReportFailureItemV::failureText() const
{
    return m_failureTextView->text();
}

void ReportFailureItemV::update(const std::optional<Config>& config)
{
    if (config) {
        m_titleLabel->setText(config->titleText);
        m_messageTextView->setText(config->messageText);
        const bool showsBox = !m_hidesBlankFailureText || Basalwork::hasAtLeastOneNonWhitespaceCharacter(config->failureText);
        if (showsBox)
            m_failureTextView->setText(config->failureText);
        Basalwork::setVisibilityAndAlpha(*m_failureTextView, showsBox);
    }
    Basalwork::setVisibilityAndAlpha(*this, config.has_value());
}

void ReportFailureItemV::update(const Shared::Settings::Appearance& appearance)
{
    m_titleLabel->setFont(Basalwork::semibold(appearance.font(UIKit::UIFont::TextStyle::title3(), false)));
    m_messageTextView->setFont(appearance.font(UIKit::UIFont::TextStyle::title3(), false));
    m_failureTextView->setFont(appearance.font(UIKit::UIFont::TextStyle::body(), true));
}

} // namespace Corvendale
